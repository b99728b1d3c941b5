#include "core/model/FileIdentity.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "support/CaseName.h"
#include "support/TempFolder.h"

namespace {

namespace fs = std::filesystem;

void Put(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

class FileIdentityTest : public ::testing::Test {
protected:
    TempFolder temp{"velmora-identity"};
    const fs::path& folder = temp.Path();
    const fs::path file = folder / "p.kx7";
};

struct ChangeCase {
    const char* name;
    std::function<void(const fs::path&)> change;
    bool unchanged;
};

// The file's time moves one second on, as a later write's would.
void Later(const fs::path& path) {
    fs::last_write_time(path, fs::last_write_time(path) + std::chrono::seconds(1));
}

class FileChangeTest : public FileIdentityTest, public ::testing::WithParamInterface<ChangeCase> {};

TEST_P(FileChangeTest, OnlyOtherBytesAreAChange) {
    Put(file, "original bytes");
    const FileStamp stamp = ReadFileStamp(file.string());
    ASSERT_TRUE(stamp.known);
    GetParam().change(file);
    EXPECT_EQ(FileUnchanged(file.string(), stamp), GetParam().unchanged);
}

INSTANTIATE_TEST_SUITE_P(
    Changes, FileChangeTest,
    ::testing::Values(ChangeCase{"untouched", [](const fs::path&) {}, true},
                      ChangeCase{"touched", [](const fs::path& p) { Later(p); }, true},
                      ChangeCase{"same_length_other_bytes",
                                 [](const fs::path& p) {
                                     Put(p, "changed! bytes");
                                     Later(p);
                                 },
                                 false},
                      ChangeCase{"last_byte",
                                 [](const fs::path& p) {
                                     Put(p, "original bytez");
                                     Later(p);
                                 },
                                 false},
                      ChangeCase{"other_length", [](const fs::path& p) { Put(p, "short"); }, false},
                      ChangeCase{"replaced_by_a_copy",
                                 [](const fs::path& p) {
                                     Put(fs::path(p) += ".new", "original bytes");
                                     fs::rename(fs::path(p) += ".new", p);
                                     Later(p);
                                 },
                                 true},
                      ChangeCase{"removed", [](const fs::path& p) { fs::remove(p); }, true}),
    CaseName());

TEST_F(FileIdentityTest, AnUnknownStampComparesWithNothing) {
    Put(file, "bytes");
    EXPECT_TRUE(FileUnchanged(file.string(), FileStamp{}));
    EXPECT_FALSE(ReadFileStamp((folder / "missing").string()).known);
}

TEST_F(FileIdentityTest, SameFileSeesThroughLinksAndSpellings) {
    Put(file, "bytes");
    Put(folder / "other.kx7", "bytes");
    fs::create_symlink(file, folder / "link.kx7");
    fs::create_directories(folder / "sub");
    EXPECT_TRUE(SameFile(file.string(), (folder / "link.kx7").string()));
    EXPECT_TRUE(SameFile(file.string(), (folder / "sub" / ".." / "p.kx7").string()));
    EXPECT_FALSE(SameFile(file.string(), (folder / "other.kx7").string()));
    EXPECT_TRUE(SameFile((folder / "new.kx7").string(), (folder / "sub/../new.kx7").string()));
    EXPECT_FALSE(SameFile((folder / "new.kx7").string(), (folder / "new2.kx7").string()));
}

TEST_F(FileIdentityTest, UnusedSiblingNamesTakeTheNextFreeNumber) {
    EXPECT_EQ(UnusedSiblingPath(file.string(), "recovered"), (folder / "p-recovered.kx7").string());
    Put(folder / "p-recovered.kx7", "");
    fs::create_symlink(folder / "nowhere", folder / "p-recovered-2.kx7");  // a dangling link
    EXPECT_EQ(UnusedSiblingPath(file.string(), "recovered"),
              (folder / "p-recovered-3.kx7").string());
}

}  // namespace
