#include <sys/resource.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "core/model/FileBytes.h"
#include "core/model/Kx7Doc.h"
#include "core/model/Kx7File.h"
#include "core/settings/Settings.h"

namespace {

namespace fs = std::filesystem;

std::string Contents(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void Put(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

class Kx7SaveTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() /
                 ("velmora-save-" + std::to_string(::getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
        fs::create_directories(folder);
        target = folder / "p.kx7";
        doc.SetPortfolioInformation("Owner", "");
        doc.AppendPurchase(std::make_unique<CPurchase>("ABC", "ABC Corp", 10.0f, 2.0f, 1000, 0.0f,
                                                       "Direct Purchase", std::string(400, 'c')));
        doc.SetModified(true);
    }
    void TearDown() override {
        std::error_code ignored;
        fs::permissions(folder, fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(folder, ignored);
    }

    std::vector<fs::path> Entries() const {
        std::vector<fs::path> names;
        for (const auto& entry : fs::directory_iterator(folder)) {
            names.push_back(entry.path().filename());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    fs::path folder;
    fs::path target;
    Settings settings;
    CKx7Doc doc{settings};
};

TEST_F(Kx7SaveTest, SaveWritesTheFileAndKeepsThePreviousOneAsBackup) {
    Put(target, "previous");
    doc.SetLastUpdateTime(99);
    ASSERT_EQ(SaveKx7File(doc, target.string()), "");
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(doc.LastUpdateTime(), 0);
    const std::vector<std::uint8_t> stored = StoreKx7(doc);
    EXPECT_EQ(Contents(target), std::string(stored.begin(), stored.end()));
    EXPECT_EQ(Contents(folder / "p.kx7.bak"), "previous");
    EXPECT_EQ(Entries(), (std::vector<fs::path>{"p.kx7", "p.kx7.bak"}));

    CKx7Doc reopened(settings);
    const Kx7ReadResult read = OpenKx7File(reopened, target.string());
    ASSERT_TRUE(read.Ok()) << read.error;
    EXPECT_EQ(reopened.Purchases().size(), 1u);
}

TEST_F(Kx7SaveTest, SaveThroughASymbolicLinkReplacesTheFileItNames) {
    Put(folder / "real.kx7", "previous");
    fs::create_symlink("real.kx7", target);
    ASSERT_EQ(SaveKx7File(doc, target.string()), "");
    EXPECT_TRUE(fs::is_symlink(target));
    EXPECT_EQ(Contents(folder / "real.kx7.bak"), "previous");
    EXPECT_NE(Contents(folder / "real.kx7"), "previous");
}

TEST_F(Kx7SaveTest, SaveIntoAReadOnlyFolderFailsAndKeepsTheOldFile) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "permissions do not bind the superuser";
    }
    Put(target, "previous");
    fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
    const std::string error = SaveKx7File(doc, target.string());
    EXPECT_EQ(error, "Could not save \"" + target.string() + "\": Permission denied.");
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(Contents(target), "previous");
}

TEST_F(Kx7SaveTest, SaveIntoAFolderThatDisappearedFailsAndKeepsTheOldFile) {
    Put(target, "previous");
    const fs::path moved = folder.string() + "-moved";
    fs::remove_all(moved);
    fs::rename(folder, moved);
    const std::string error = SaveKx7File(doc, target.string());
    fs::rename(moved, folder);
    EXPECT_EQ(error, "Could not save \"" + target.string() + "\": No such file or directory.");
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(Entries(), (std::vector<fs::path>{"p.kx7"}));
    EXPECT_EQ(Contents(target), "previous");
}

// A disk that fills half-way through the write, simulated with the file size limit.
TEST_F(Kx7SaveTest, SaveThatFailsHalfWayKeepsTheOldFileAndLeavesNoTemporary) {
    Put(target, "previous");
    rlimit old{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 100;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const std::string error = SaveKx7File(doc, target.string());
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_EQ(error, "Could not save \"" + target.string() + "\": File too large.");
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(Contents(target), "previous");
    EXPECT_EQ(Entries(), (std::vector<fs::path>{"p.kx7"}));
}

TEST_F(Kx7SaveTest, OpenOfAMissingFileNamesItAndLeavesTheDocument) {
    const Kx7ReadResult read = OpenKx7File(doc, (folder / "none.kx7").string());
    EXPECT_EQ(read.error, "Could not open \"" + (folder / "none.kx7").string() +
                              "\": No such file or directory.");
    EXPECT_EQ(doc.Purchases().size(), 1u);
}

TEST_F(Kx7SaveTest, OpenRefusesWhatIsNotAFileOrTooLarge) {
    EXPECT_NE(OpenKx7File(doc, folder.string()).error.find("not a regular file"),
              std::string::npos);
    Put(target, "0123456789");
    EXPECT_NE(ReadFileBytes(target.string(), 9).error.find("too large"), std::string::npos);
    EXPECT_EQ(ReadFileBytes(target.string(), 10).bytes.size(), 10u);
}

}  // namespace
