// Feeds arbitrary bytes to the portfolio file reader: it must fail as data, never crash,
// hang or allocate beyond the input.

#include <cstddef>
#include <cstdint>
#include <span>

#include "core/model/Kx7Doc.h"
#include "core/model/Kx7File.h"
#include "core/settings/Settings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Settings settings;
    CKx7Doc doc(settings);
    const Kx7ReadResult read = LoadKx7(doc, std::span<const std::uint8_t>(data, size));
    if (read.Ok()) {
        // Whatever was read must store and load again.
        const auto stored = StoreKx7(doc);
        CKx7Doc again(settings);
        if (!LoadKx7(again, stored).Ok()) {
            __builtin_trap();
        }
    }
    return 0;
}
