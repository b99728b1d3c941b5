// Feeds arbitrary files to the import readers (QIF, and CSV through each shipped mapping)
// and plans the rows against an empty portfolio: each must read rows or name problems,
// never crash, hang or take memory without bound.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/exchange/CsvImport.h"
#include "core/exchange/ImportPlan.h"
#include "core/exchange/QifReader.h"
#include "core/model/Kx7Doc.h"
#include "core/settings/Settings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    const Settings settings;
    CKx7Doc doc(settings);
    const std::vector<CsvMapping> mappings = ShippedCsvMappings();
    const ImportRows read = data[0] % 2 == 0
                                ? ReadQif(text, data[0] % 4 == 0)
                                : ReadCsvImport(text, mappings[data[0] % mappings.size()]);
    const auto matching = static_cast<ImportMatching>(data[0] % 3);
    ApplyImport(doc, PlanImport(doc, read, matching), matching);
    return 0;
}
