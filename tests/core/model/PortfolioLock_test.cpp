#include "model/PortfolioLock.h"
#include "support/Processes.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;

std::string Host() {
    char name[256] = {};
    gethostname(name, sizeof name - 1);
    return name;
}

class PortfolioLockTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("velmora-lock-" + std::to_string(getpid()));
        fs::create_directories(dir);
        portfolio = (dir / "retire.kx7").string();
        lockPath = PortfolioLock::LockPathFor(portfolio);
    }
    void TearDown() override { fs::remove_all(dir); }

    void WriteLock(const std::string& content) const { std::ofstream(lockPath) << content; }

    fs::path dir;
    std::string portfolio;
    std::string lockPath;
};

TEST_F(PortfolioLockTest, LockFileSitsHiddenBesideThePortfolio) {
    EXPECT_EQ(lockPath, (dir / ".~retire.kx7.lock").string());
}

TEST_F(PortfolioLockTest, AcquireWritesPidAndHostAndReleaseRemovesIt) {
    {
        PortfolioLock lock(portfolio);
        EXPECT_TRUE(lock.IsHeld());
        std::ifstream in(lockPath);
        std::string pid, host;
        std::getline(in, pid);
        std::getline(in, host);
        EXPECT_EQ(pid, std::to_string(getpid()));
        EXPECT_EQ(host, Host());
    }
    EXPECT_FALSE(fs::exists(lockPath));
}

struct ExistingLockCase {
    const char* name;
    bool liveOwner;  // the lock names a running process (our parent) or an exited one
    bool sameHost;
    bool garbled;
    PortfolioLock::State expected;
};

class ExistingLockTest : public PortfolioLockTest,
                         public ::testing::WithParamInterface<ExistingLockCase> {};

TEST_P(ExistingLockTest, TakesOverOnlyWhatNobodyHolds) {
    const ExistingLockCase& c = GetParam();
    const int ownerPid = c.liveOwner ? static_cast<int>(getppid()) : DeadPid();
    const std::string ownerHost = c.sameHost ? Host() : "far-away-host";
    WriteLock(c.garbled ? "not a lock\n" : std::to_string(ownerPid) + "\n" + ownerHost + "\n");

    PortfolioLock lock(portfolio);
    EXPECT_EQ(lock.GetState(), c.expected) << c.name;
    if (c.expected == PortfolioLock::State::kHeldByOther) {
        EXPECT_EQ(lock.OwnerPid(), ownerPid);
        EXPECT_EQ(lock.OwnerHost(), ownerHost);
        lock.Release();
        EXPECT_TRUE(fs::exists(lockPath)) << "another program's lock is never removed";
    } else {
        EXPECT_EQ(lock.OwnerPid(), static_cast<int>(getpid()));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Owners, ExistingLockTest,
    ::testing::Values(
        ExistingLockCase{"live", true, true, false, PortfolioLock::State::kHeldByOther},
        ExistingLockCase{"dead", false, true, false, PortfolioLock::State::kHeld},
        ExistingLockCase{"other_host", false, false, false, PortfolioLock::State::kHeldByOther},
        ExistingLockCase{"garbled", true, true, true, PortfolioLock::State::kHeld}),
    [](const auto& param) { return std::string(param.param.name); });

TEST_F(PortfolioLockTest, TheSameProcessMayOpenTheFileAgain) {
    PortfolioLock first(portfolio);
    PortfolioLock second(portfolio);
    EXPECT_TRUE(second.IsHeld());
}

TEST_F(PortfolioLockTest, NoLockInAFolderThatDoesNotExist) {
    PortfolioLock lock((dir / "gone" / "x.kx7").string());
    EXPECT_EQ(lock.GetState(), PortfolioLock::State::kUnavailable);
}

TEST_F(PortfolioLockTest, MovedLockReleasesOnce) {
    PortfolioLock lock(portfolio);
    PortfolioLock moved(std::move(lock));
    EXPECT_TRUE(moved.IsHeld());
    EXPECT_FALSE(lock.IsHeld());  // NOLINT(bugprone-use-after-move): the moved-from state
    lock.Release();
    EXPECT_TRUE(fs::exists(lockPath));
    moved.Release();
    EXPECT_FALSE(fs::exists(lockPath));
}

}  // namespace
