#include "core/model/FileBytes.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "support/CaseName.h"
#include "support/TempFolder.h"

namespace {

struct ReadCase {
    const char* name;
    std::size_t size;
    std::uint64_t limit;
    bool read;
};

class FileBytesTest : public ::testing::TestWithParam<ReadCase> {
protected:
    TempFolder temp{"velmora-bytes"};
};

// Sizes around the reading's chunks and the limit: every byte comes back in order, or the
// file is refused whole.
TEST_P(FileBytesTest, ReadsEveryByteOrRefuses) {
    const ReadCase& c = GetParam();
    std::vector<std::uint8_t> bytes(c.size);
    for (std::size_t at = 0; at < bytes.size(); ++at) {
        bytes[at] = static_cast<std::uint8_t>(at * 7 + at / 251);
    }
    const std::string path = (temp.Path() / "p.kx7").string();
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(c.size));

    const FileBytes file = ReadFileBytes(path, c.limit);
    if (c.read) {
        EXPECT_EQ(file.error, "");
        EXPECT_EQ(file.bytes, bytes);
    } else {
        EXPECT_NE(file.error.find("the file is too large"), std::string::npos) << file.error;
        EXPECT_TRUE(file.bytes.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, FileBytesTest,
                         ::testing::Values(ReadCase{"empty", 0, 100, true},
                                           ReadCase{"one_chunk", 65536, 1 << 20, true},
                                           ReadCase{"chunks_and_a_part", 200'001, 1 << 20, true},
                                           ReadCase{"at_the_limit", 70'000, 70'000, true},
                                           ReadCase{"over_the_limit", 70'001, 70'000, false}),
                         CaseName());

}  // namespace
