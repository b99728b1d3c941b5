// make_portfolio <lifetime|tenth|extreme> <file.kx7> [seed]: writes a generated portfolio.

#include <cstdio>
#include <cstdlib>
#include <string>

#include "LargePortfolio.h"
#include "core/model/Kx7Doc.h"
#include "core/model/Kx7File.h"
#include "core/settings/Settings.h"

int main(int argc, char** argv) {
    if (argc < 3 || argc > 4) {
        std::fprintf(stderr, "usage: %s <lifetime|tenth|extreme> <file.kx7> [seed]\n", argv[0]);
        return 2;
    }
    const PortfolioSize* size = PortfolioSizeNamed(argv[1]);
    if (size == nullptr) {
        std::fprintf(stderr, "unknown size \"%s\": lifetime, tenth or extreme\n", argv[1]);
        return 2;
    }
    std::uint32_t seed = 12345u;
    if (argc == 4) {
        char* end = nullptr;
        const unsigned long value = std::strtoul(argv[3], &end, 10);
        if (end == argv[3] || *end != '\0' || value > 0xFFFFFFFFul) {
            std::fprintf(stderr, "the seed must be a number below 2^32\n");
            return 2;
        }
        seed = static_cast<std::uint32_t>(value);
    }
    const Settings settings;
    CKx7Doc doc(settings);
    BuildLargePortfolio(doc, *size, seed);
    const std::string error = SaveKx7File(doc, argv[2]);
    if (!error.empty()) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    std::printf("%s: %zu lots, %d records in all\n", argv[2], doc.Purchases().size(),
                doc.RecordCount());
    return 0;
}
