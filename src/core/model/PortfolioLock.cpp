#include "core/model/PortfolioLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <filesystem>
#include <sstream>
#include <utility>

#include "core/model/Clock.h"
#include "core/model/ProcessInfo.h"

namespace {

struct Owner {
    int pid = 0;
    std::string host;
    std::uint64_t startTime = 0;  // 0: not recorded (a lock of an older version)
    std::string name;
};

std::string ReadContent(int fd) {
    std::array<char, 4096> buffer{};
    const ssize_t got = ::pread(fd, buffer.data(), buffer.size(), 0);
    return got > 0 ? std::string(buffer.data(), static_cast<std::size_t>(got)) : std::string();
}

// A lock file holds "<pid>\n<host>\n<start time>\n<name>\n"; the last two lines may be
// missing. Anything without a process id and a host names no owner.
bool ParseOwner(const std::string& content, Owner& owner) {
    std::istringstream in(content);
    std::string pidLine;
    std::string startLine;
    if (!std::getline(in, pidLine) || !std::getline(in, owner.host) || owner.host.empty()) {
        return false;
    }
    if (std::getline(in, startLine)) {
        std::istringstream(startLine) >> owner.startTime;
        std::getline(in, owner.name);
    }
    std::istringstream pidText(pidLine);
    return static_cast<bool>(pidText >> owner.pid) && owner.pid > 0;
}

bool IsSelf(const Owner& owner) {
    return owner.pid == CurrentPid() && owner.host == HostName();
}

}  // namespace

std::string PortfolioLock::LockPathFor(const std::string& portfolioPath) {
    namespace fs = std::filesystem;
    std::error_code error;
    fs::path path = fs::absolute(portfolioPath, error);
    // A link to the portfolio locks the file it leads to, so that two names of one file
    // cannot both be written.
    const fs::path resolved = fs::weakly_canonical(path, error);
    if (!error) {
        path = resolved;
    }
    return (path.parent_path() / (".~" + path.filename().string() + ".lock")).string();
}

PortfolioLock::PortfolioLock(const std::string& portfolioPath)
    : m_lockPath(LockPathFor(portfolioPath)) {
    Acquire();
}

PortfolioLock::~PortfolioLock() {
    Release();
}

PortfolioLock::PortfolioLock(PortfolioLock&& other) noexcept {
    *this = std::move(other);
}

PortfolioLock& PortfolioLock::operator=(PortfolioLock&& other) noexcept {
    if (this != &other) {
        Release();
        m_lockPath = std::move(other.m_lockPath);
        m_fd = std::exchange(other.m_fd, -1);
        m_state = std::exchange(other.m_state, State::kUnavailable);
        m_staleness = std::exchange(other.m_staleness, Staleness::kNone);
        m_ownerPid = other.m_ownerPid;
        m_ownerHost = std::move(other.m_ownerHost);
        m_ageSeconds = other.m_ageSeconds;
    }
    return *this;
}

std::string PortfolioLock::StaleReason() const {
    switch (m_staleness) {
        case Staleness::kOwnerGone:
            return "no longer runs";
        case Staleness::kOwnerZombie:
            return "has ended";
        case Staleness::kOwnerReplaced:
            return "has ended (its number now belongs to another program)";
        case Staleness::kForeignExpired:
            return "has not renewed the lock for " + std::to_string(m_ageSeconds / 3600) + " hours";
        case Staleness::kNone:
            break;
    }
    return {};
}

void PortfolioLock::Acquire() {
    // A few tries: the holder may release (and remove) the lock file between our open and
    // our flock, and then the file now at the path is the one to lock.
    for (int attempt = 0; attempt < 3; ++attempt) {
        m_fd = ::open(m_lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
        if (m_fd < 0) {
            m_state = State::kUnavailable;
            return;
        }
        const bool kernelLocked = ::flock(m_fd, LOCK_EX | LOCK_NB) == 0;
        if (!kernelLocked && errno == EWOULDBLOCK) {
            Owner owner;
            ParseOwner(ReadContent(m_fd), owner);
            CloseFile();
            // This process opened the same file again: it still holds the lock once.
            m_state = IsSelf(owner) ? State::kHeld : State::kHeldByOther;
            m_ownerPid = owner.pid;
            m_ownerHost = owner.host;
            return;
        }
        struct stat opened {};
        struct stat named {};
        if (::fstat(m_fd, &opened) == 0 && ::stat(m_lockPath.c_str(), &named) == 0 &&
            opened.st_ino == named.st_ino && opened.st_dev == named.st_dev) {
            Judge(kernelLocked);
            return;
        }
        CloseFile();
    }
    m_state = State::kUnavailable;
}

// The lock file is ours to judge: flock() gave it to us, or the file system has no flock().
// What it names decides whether its owner may still be writing.
void PortfolioLock::Judge(bool kernelLocked) {
    Owner owner;
    const bool valid = ParseOwner(ReadContent(m_fd), owner);
    if (!valid || (IsSelf(owner) && kernelLocked)) {
        m_state = WriteOwnContent() ? State::kHeld : State::kUnavailable;
        return;
    }
    m_ownerPid = owner.pid;
    m_ownerHost = owner.host;
    if (IsSelf(owner)) {
        CloseFile();  // opened again by this process, on a file system without flock()
        m_state = State::kHeld;
        return;
    }
    if (owner.host != HostName()) {
        // Another host's processes cannot be looked at from here: its lock stands until
        // it is old.
        struct stat status {};
        m_ageSeconds = ::fstat(m_fd, &status) == 0 ? Clock::Now() - status.st_mtime : 0;
        if (m_ageSeconds < std::int64_t{kForeignLockHours} * 3600) {
            CloseFile();
            m_state = State::kHeldByOther;
            return;
        }
        m_staleness = Staleness::kForeignExpired;
        m_state = State::kStale;
        return;
    }
    const ProcessFacts facts = ReadProcessFacts(owner.pid);
    const bool otherStart =
        owner.startTime != 0 && facts.startTime != 0 && owner.startTime != facts.startTime;
    const bool otherName = !owner.name.empty() && !facts.name.empty() && owner.name != facts.name;
    if (!facts.exists) {
        m_staleness = Staleness::kOwnerGone;
    } else if (facts.zombie) {
        m_staleness = Staleness::kOwnerZombie;
    } else if (otherStart || otherName) {
        m_staleness = Staleness::kOwnerReplaced;
    } else {
        // The owner runs but does not hold the flock: a program that locks by the file's
        // content alone. Its lock stands.
        CloseFile();
        m_state = State::kHeldByOther;
        return;
    }
    m_state = State::kStale;
}

bool PortfolioLock::WriteOwnContent() {
    const ProcessFacts self = ReadProcessFacts(CurrentPid());
    const std::string content = std::to_string(CurrentPid()) + "\n" + HostName() + "\n" +
                                std::to_string(self.startTime) + "\n" + self.name + "\n";
    const bool written =
        ::ftruncate(m_fd, 0) == 0 &&
        ::pwrite(m_fd, content.data(), content.size(), 0) == static_cast<ssize_t>(content.size());
    if (!written) {
        CloseFile();
        return false;
    }
    m_ownerPid = CurrentPid();
    m_ownerHost = HostName();
    m_staleness = Staleness::kNone;
    return true;
}

bool PortfolioLock::TakeOver() {
    if (m_state != State::kStale || m_fd < 0) {
        return IsHeld();
    }
    m_state = WriteOwnContent() ? State::kHeld : State::kUnavailable;
    return IsHeld();
}

void PortfolioLock::Renew() const {
    if (IsHeld() && m_fd >= 0) {
        static_cast<void>(::futimens(m_fd, nullptr));
    }
}

void PortfolioLock::CloseFile() {
    if (m_fd >= 0) {
        ::close(m_fd);  // also releases the flock
        m_fd = -1;
    }
}

void PortfolioLock::Release() {
    if (m_state == State::kHeld && m_fd >= 0) {
        Owner owner;
        if (ParseOwner(ReadContent(m_fd), owner) && IsSelf(owner)) {
            // Removed while still flocked, so no other process takes a file about to go.
            ::unlink(m_lockPath.c_str());
        }
    }
    CloseFile();
    m_state = State::kUnavailable;
    m_staleness = Staleness::kNone;
}
