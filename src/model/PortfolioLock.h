#pragma once

#include <string>

// One writer per portfolio file: a lock file beside the portfolio names the process and
// host that has it open. A lock whose process is gone (on this host) is taken over.
class PortfolioLock {
public:
    enum class State {
        kHeld,         // this process holds the lock
        kHeldByOther,  // another running program has the file open
        kUnavailable,  // no lock could be made (e.g. a read-only folder)
    };

    // The lock file of a portfolio: hidden, in the same folder.
    static std::string LockPathFor(const std::string& portfolioPath);

    PortfolioLock() = default;
    explicit PortfolioLock(const std::string& portfolioPath);
    ~PortfolioLock();
    PortfolioLock(const PortfolioLock&) = delete;
    PortfolioLock& operator=(const PortfolioLock&) = delete;
    PortfolioLock(PortfolioLock&& other) noexcept;
    PortfolioLock& operator=(PortfolioLock&& other) noexcept;

    State GetState() const { return m_state; }
    bool IsHeld() const { return m_state == State::kHeld; }
    // Who holds it, when another program does: process id and host.
    int OwnerPid() const { return m_ownerPid; }
    const std::string& OwnerHost() const { return m_ownerHost; }

    // Removes the lock file if this process holds it.
    void Release();

private:
    void Acquire();

    std::string m_lockPath;
    State m_state = State::kUnavailable;
    int m_ownerPid = 0;
    std::string m_ownerHost;
};
