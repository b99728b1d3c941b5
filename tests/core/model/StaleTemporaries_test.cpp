// A save killed half-way leaves a temporary file as large as the portfolio; the next save
// beside it removes those of its own naming that no live process holds.

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/model/FileBytes.h"
#include "support/TempFolder.h"

namespace {

namespace fs = std::filesystem;

TEST(StaleTemporariesTest, ASaveRemovesOnlyItsOwnLeftoversThatNobodyHolds) {
    const TempFolder temp("velmora-leftovers");
    const fs::path& folder = temp.Path();
    const auto put = [&folder](const std::string& name, std::chrono::hours age) {
        std::ofstream(folder / name) << std::string(1000, 'x');
        fs::last_write_time(folder / name, fs::file_time_type::clock::now() - age);
    };
    const std::chrono::hours old(2);
    const std::chrono::hours fresh(0);
    put(".p.kx7.123.tmp", old);    // left by a killed save: removed
    put(".p.kx7.456.tmp", old);    // being written by a live save: kept
    put(".p.kx7.789.tmp", fresh);  // created a moment ago: kept
    put(".q.kx7.123.tmp", old);    // another file's: kept
    put(".p.kx7.12x.tmp", old);    // not of this naming: kept
    put("p.kx7.123.tmp", old);     // not hidden: kept
    put("notes.txt", old);
    const int held = ::open((folder / ".p.kx7.456.tmp").c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(held, 0);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);

    const std::vector<std::uint8_t> bytes{'n', 'e', 'w'};
    ASSERT_EQ(WriteFileSafely((folder / "p.kx7").string(), bytes), "");
    ::close(held);

    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names,
              (std::vector<std::string>{".p.kx7.12x.tmp", ".p.kx7.456.tmp", ".p.kx7.789.tmp",
                                        ".q.kx7.123.tmp", "notes.txt", "p.kx7", "p.kx7.123.tmp"}));
}

}  // namespace
