#include "core/model/PortfolioLock.h"
#include "core/model/ProcessInfo.h"
#include "support/Processes.h"
#include "support/TestClock.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
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

TEST_F(PortfolioLockTest, AcquireWritesWhoHoldsItAndReleaseRemovesIt) {
    {
        PortfolioLock lock(portfolio);
        EXPECT_TRUE(lock.IsHeld());
        std::ifstream in(lockPath);
        std::string pid, host, start, name;
        std::getline(in, pid);
        std::getline(in, host);
        std::getline(in, start);
        std::getline(in, name);
        EXPECT_EQ(pid, std::to_string(getpid()));
        EXPECT_EQ(host, Host());
        EXPECT_EQ(start, std::to_string(ReadProcessFacts(getpid()).startTime));
        EXPECT_EQ(name, ReadProcessFacts(getpid()).name);
        EXPECT_NE(start, "0");
    }
    EXPECT_FALSE(fs::exists(lockPath));
}

// How the lock file names its owner, and what its owner is now.
enum class Owner { kLive, kDead, kZombie, kReplaced, kGarbled };

struct ExistingLockCase {
    const char* name;
    Owner owner;
    bool sameHost;
    std::int64_t ageHours;  // how long ago the lock file was written
    PortfolioLock::State expected;
    PortfolioLock::Staleness staleness;
};

class ExistingLockTest : public PortfolioLockTest,
                         public ::testing::WithParamInterface<ExistingLockCase> {};

// A lock that nobody holds with flock() is judged by what it names: a process that runs
// keeps it, one that has ended (or whose number another program now has) leaves it to be
// taken over, and another host's lock stands until it is old.
TEST_P(ExistingLockTest, TakesOverOnlyWhatNobodyHolds) {
    const ExistingLockCase& c = GetParam();
    pid_t zombie = 0;
    int ownerPid = static_cast<int>(getppid());
    std::string extra;  // start time and name, as this version writes them
    switch (c.owner) {
        case Owner::kDead:
            ownerPid = DeadPid();
            break;
        case Owner::kZombie:
            zombie = fork();
            if (zombie == 0) {
                _exit(0);
            }
            ownerPid = static_cast<int>(zombie);
            while (!ReadProcessFacts(ownerPid).zombie) {
                usleep(1000);
            }
            break;
        case Owner::kReplaced:
            extra = "12345\nnot-velmora\n";  // the parent runs, but it is not that program
            break;
        case Owner::kLive:
        case Owner::kGarbled:
            break;
    }
    const std::string ownerHost = c.sameHost ? Host() : "far-away-host";
    WriteLock(c.owner == Owner::kGarbled
                  ? "not a lock\n"
                  : std::to_string(ownerPid) + "\n" + ownerHost + "\n" + extra);
    const auto written = fs::last_write_time(lockPath);
    ScopedClock clock(std::chrono::duration_cast<std::chrono::seconds>(
                          std::chrono::file_clock::to_sys(written).time_since_epoch())
                          .count() +
                      c.ageHours * 3600);

    PortfolioLock lock(portfolio);
    EXPECT_EQ(lock.GetState(), c.expected) << c.name;
    EXPECT_EQ(lock.GetStaleness(), c.staleness) << c.name;
    if (c.expected == PortfolioLock::State::kHeld) {
        EXPECT_EQ(lock.OwnerPid(), static_cast<int>(getpid()));
    } else {
        EXPECT_EQ(lock.OwnerPid(), ownerPid);
        EXPECT_EQ(lock.OwnerHost(), ownerHost);
    }
    if (c.expected == PortfolioLock::State::kStale) {
        EXPECT_FALSE(lock.StaleReason().empty());
        EXPECT_TRUE(lock.TakeOver());
        EXPECT_TRUE(lock.IsHeld());
        EXPECT_EQ(lock.OwnerPid(), static_cast<int>(getpid()));
    }
    if (c.expected == PortfolioLock::State::kHeldByOther) {
        EXPECT_FALSE(lock.TakeOver());
        lock.Release();
        EXPECT_TRUE(fs::exists(lockPath)) << "another program's lock is never removed";
    }
    if (zombie != 0) {
        waitpid(zombie, nullptr, 0);
    }
}

using S = PortfolioLock::State;
using Why = PortfolioLock::Staleness;
INSTANTIATE_TEST_SUITE_P(
    Owners, ExistingLockTest,
    ::testing::Values(
        ExistingLockCase{"live", Owner::kLive, true, 0, S::kHeldByOther, Why::kNone},
        ExistingLockCase{"dead", Owner::kDead, true, 0, S::kStale, Why::kOwnerGone},
        ExistingLockCase{"zombie", Owner::kZombie, true, 0, S::kStale, Why::kOwnerZombie},
        ExistingLockCase{"replaced", Owner::kReplaced, true, 0, S::kStale, Why::kOwnerReplaced},
        ExistingLockCase{"other_host", Owner::kDead, false, 1, S::kHeldByOther, Why::kNone},
        ExistingLockCase{"other_host_old", Owner::kLive, false, 25, S::kStale,
                         Why::kForeignExpired},
        ExistingLockCase{"garbled", Owner::kGarbled, true, 0, S::kHeld, Why::kNone}),
    [](const auto& param) { return std::string(param.param.name); });

// Another process that holds the lock keeps it, whatever name leads to the portfolio.
TEST_F(PortfolioLockTest, AnotherHolderIsSeenThroughLinks) {
    std::ofstream(portfolio) << "portfolio";
    fs::create_symlink(portfolio, dir / "link.kx7");
    int ready[2];
    int done[2];
    ASSERT_EQ(pipe(ready), 0);
    ASSERT_EQ(pipe(done), 0);
    const pid_t holder = fork();
    if (holder == 0) {
        PortfolioLock held(portfolio);
        char byte = held.IsHeld() ? 'y' : 'n';
        static_cast<void>(write(ready[1], &byte, 1));
        static_cast<void>(read(done[0], &byte, 1));
        held.Release();
        _exit(0);
    }
    char answer = 0;
    ASSERT_EQ(read(ready[0], &answer, 1), 1);
    ASSERT_EQ(answer, 'y');
    for (const fs::path& name : {fs::path(portfolio), dir / "link.kx7"}) {
        PortfolioLock lock(name.string());
        EXPECT_EQ(lock.GetState(), PortfolioLock::State::kHeldByOther) << name;
        EXPECT_EQ(lock.OwnerPid(), static_cast<int>(holder));
        EXPECT_FALSE(lock.TakeOver());
    }
    EXPECT_EQ(PortfolioLock::LockPathFor((dir / "link.kx7").string()), lockPath);

    static_cast<void>(write(done[1], "x", 1));
    waitpid(holder, nullptr, 0);
    EXPECT_FALSE(fs::exists(lockPath)) << "the holder removes its lock when it is done";
    EXPECT_TRUE(PortfolioLock(portfolio).IsHeld());
    for (const int fd : {ready[0], ready[1], done[0], done[1]}) {
        close(fd);
    }
}

TEST_F(PortfolioLockTest, RenewingMarksTheLockAsInUse) {
    PortfolioLock lock(portfolio);
    const auto old = fs::file_time_type::clock::now() - std::chrono::hours(30);
    fs::last_write_time(lockPath, old);
    lock.Renew();
    EXPECT_GT(fs::last_write_time(lockPath), old + std::chrono::hours(29));
}

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
