#include "model/PortfolioLock.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <utility>

namespace {

std::string HostName() {
    std::array<char, 256> name{};
    if (gethostname(name.data(), name.size() - 1) != 0) {
        return "unknown";
    }
    return name.data();
}

struct Owner {
    int pid = 0;
    std::string host;
};

// A lock file holds "<pid>\n<host>\n"; anything else is no valid owner.
bool ReadOwner(const std::string& lockPath, Owner& owner) {
    std::ifstream in(lockPath);
    if (!in) {
        return false;
    }
    std::string pidLine;
    if (!std::getline(in, pidLine) || !std::getline(in, owner.host)) {
        return false;
    }
    std::istringstream pidText(pidLine);
    return static_cast<bool>(pidText >> owner.pid) && owner.pid > 0;
}

bool ProcessAlive(int pid) {
    return kill(pid, 0) == 0 || errno == EPERM;
}

// Creates the lock file only if none exists, so two starts cannot both win.
bool CreateExclusively(const std::string& lockPath, const std::string& content) {
    const int fd = open(lockPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) {
        return false;
    }
    const bool written =
        write(fd, content.data(), content.size()) == static_cast<ssize_t>(content.size());
    close(fd);
    if (!written) {
        unlink(lockPath.c_str());
    }
    return written;
}

}  // namespace

std::string PortfolioLock::LockPathFor(const std::string& portfolioPath) {
    const std::filesystem::path path(portfolioPath);
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
        m_state = std::exchange(other.m_state, State::kUnavailable);
        m_ownerPid = other.m_ownerPid;
        m_ownerHost = std::move(other.m_ownerHost);
    }
    return *this;
}

void PortfolioLock::Acquire() {
    const int pid = static_cast<int>(getpid());
    const std::string host = HostName();
    const std::string content = std::to_string(pid) + "\n" + host + "\n";

    // Two tries: the second after taking over a lock whose owner is gone.
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (CreateExclusively(m_lockPath, content)) {
            m_state = State::kHeld;
            m_ownerPid = pid;
            m_ownerHost = host;
            return;
        }
        if (errno != EEXIST) {
            m_state = State::kUnavailable;
            return;
        }
        Owner owner;
        const bool valid = ReadOwner(m_lockPath, owner);
        if (valid && owner.host == host && owner.pid == pid) {
            m_state = State::kHeld;  // this process opened the same file again
            m_ownerPid = pid;
            m_ownerHost = host;
            return;
        }
        // Another host's process cannot be checked from here: its lock stands.
        const bool stale = !valid || (owner.host == host && !ProcessAlive(owner.pid));
        if (!stale) {
            m_state = State::kHeldByOther;
            m_ownerPid = owner.pid;
            m_ownerHost = owner.host;
            return;
        }
        unlink(m_lockPath.c_str());
    }
    m_state = State::kUnavailable;
}

void PortfolioLock::Release() {
    if (m_state != State::kHeld) {
        return;
    }
    Owner owner;
    if (ReadOwner(m_lockPath, owner) && owner.pid == m_ownerPid && owner.host == m_ownerHost) {
        unlink(m_lockPath.c_str());
    }
    m_state = State::kUnavailable;
}
