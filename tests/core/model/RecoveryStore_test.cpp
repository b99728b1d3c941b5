#include "core/model/RecoveryStore.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "core/model/DemoPortfolio.h"
#include "core/model/FileBytes.h"
#include "core/model/Kx7Doc.h"
#include "core/model/Kx7File.h"
#include "core/model/ProcessInfo.h"
#include "core/settings/Settings.h"
#include "support/Processes.h"

namespace {

namespace fs = std::filesystem;

class RecoveryStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() / ("velmora-recovery-" + std::to_string(getpid()));
        fs::remove_all(folder);
    }
    void TearDown() override { fs::remove_all(folder); }

    // A copy as another program would have left it.
    std::string PlantCopy(const std::string& host, int pid, const std::string& original) const {
        fs::create_directories(folder);
        const fs::path copy = folder / (host + "-" + std::to_string(pid) + ".kx7");
        const std::vector<std::uint8_t> bytes = StoreKx7(doc);
        std::ofstream(copy, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        std::ofstream(fs::path(copy).replace_extension(".origin")) << original;
        return copy.string();
    }

    fs::path folder;
    Settings settings;
    CKx7Doc doc{settings};
};

TEST_F(RecoveryStoreTest, WritesAndRemovesThisProgramsCopy) {
    BuildDemoPortfolio(doc);
    doc.SetPathName("/home/pat/retire.kx7");
    const RecoveryStore store(folder.string());
    EXPECT_FALSE(store.HasCopy());
    ASSERT_EQ(store.Write(doc), "");
    EXPECT_TRUE(store.HasCopy());
    ASSERT_EQ(store.Write(doc), "") << "a second write replaces the first";
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 2)
        << "the copy and its note, no backups";

    const fs::path copy = folder / (HostName() + "-" + std::to_string(getpid()) + ".kx7");
    const FileBytes bytes = ReadFileBytes(copy.string(), 1 << 20);
    EXPECT_EQ(bytes.bytes, StoreKx7(doc));

    EXPECT_TRUE(store.FindOrphans().empty()) << "this program's own copy is no orphan";
    store.Remove();
    EXPECT_FALSE(store.HasCopy());
    EXPECT_TRUE(fs::is_empty(folder));
}

TEST_F(RecoveryStoreTest, FindsOnlyCopiesOfProgramsThatEnded) {
    BuildDemoPortfolio(doc);
    const int dead = DeadPid();
    const std::string orphan = PlantCopy(HostName(), dead, "/home/pat/retire.kx7");
    PlantCopy(HostName(), static_cast<int>(getppid()), "/running.kx7");
    PlantCopy("elsewhere", DeadPid(), "/other-host.kx7");
    std::ofstream(folder / "notes.txt") << "not a copy";
    std::ofstream(folder / (HostName() + "-x1.kx7")) << "not ours";

    const std::vector<RecoveryStore::Orphan> orphans = RecoveryStore(folder.string()).FindOrphans();
    ASSERT_EQ(orphans.size(), 1u);
    EXPECT_EQ(orphans[0].copyPath, orphan);
    EXPECT_EQ(orphans[0].originalPath, "/home/pat/retire.kx7");
    EXPECT_EQ(orphans[0].pid, dead);

    CKx7Doc recovered(settings);
    EXPECT_TRUE(OpenKx7File(recovered, orphans[0].copyPath).Ok());
    EXPECT_EQ(StoreKx7(recovered), StoreKx7(doc));
}

TEST_F(RecoveryStoreTest, UntitledCopiesHaveNoOriginal) {
    PlantCopy(HostName(), DeadPid(), "");
    const auto orphans = RecoveryStore(folder.string()).FindOrphans();
    ASSERT_EQ(orphans.size(), 1u);
    EXPECT_EQ(orphans[0].originalPath, "");
}

TEST_F(RecoveryStoreTest, UnreadableCopyIsSetAsideNotDeleted) {
    const std::string copy = PlantCopy(HostName(), DeadPid(), "/x.kx7");
    const auto orphans = RecoveryStore(folder.string()).FindOrphans();
    ASSERT_EQ(orphans.size(), 1u);
    const std::string kept = RecoveryStore::SetAside(orphans[0]);
    EXPECT_EQ(kept, copy + ".unreadable");
    EXPECT_TRUE(fs::exists(kept));
    EXPECT_FALSE(fs::exists(copy));
    EXPECT_TRUE(RecoveryStore(folder.string()).FindOrphans().empty());
}

TEST_F(RecoveryStoreTest, DiscardRemovesCopyAndNote) {
    PlantCopy(HostName(), DeadPid(), "/x.kx7");
    const auto orphans = RecoveryStore(folder.string()).FindOrphans();
    ASSERT_EQ(orphans.size(), 1u);
    RecoveryStore::Discard(orphans[0]);
    EXPECT_TRUE(fs::is_empty(folder));
}

TEST_F(RecoveryStoreTest, NoFolderMeansNoOrphans) {
    EXPECT_TRUE(RecoveryStore((folder / "missing").string()).FindOrphans().empty());
}

}  // namespace
