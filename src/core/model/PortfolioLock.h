#pragma once

#include <cstdint>
#include <string>

// One writer per portfolio file: a lock file beside the portfolio (beside the file itself,
// whatever link names it) names the process and host that has it open. On this host the
// lock file is also held with flock(), so the system itself says whether its owner still
// runs; what the file names tells the user who it is, and decides for a lock written by
// another host, or on a file system without flock().
class PortfolioLock {
public:
    enum class State {
        kHeld,         // this process holds the lock
        kHeldByOther,  // another running program has the file open
        kStale,        // the owner named in the lock is gone: TakeOver() may take it
        kUnavailable,  // no lock could be made (e.g. a read-only folder)
    };

    // Why a lock is stale.
    enum class Staleness {
        kNone,
        kOwnerGone,      // no process of that id runs on this host
        kOwnerZombie,    // the process has ended and waits for its parent
        kOwnerReplaced,  // the id now belongs to another program (name or start time differ)
        kForeignExpired  // written by another host and not renewed for kForeignLockHours
    };

    // A lock from another host stands this long after it was last written.
    static constexpr int kForeignLockHours = 24;

    // The lock file of a portfolio: hidden, in the folder of the file the path leads to.
    static std::string LockPathFor(const std::string& portfolioPath);

    PortfolioLock() = default;
    explicit PortfolioLock(const std::string& portfolioPath);
    ~PortfolioLock();
    PortfolioLock(const PortfolioLock&) = delete;
    PortfolioLock& operator=(const PortfolioLock&) = delete;
    PortfolioLock(PortfolioLock&& other) noexcept;
    PortfolioLock& operator=(PortfolioLock&& other) noexcept;

    const std::string& LockPath() const { return m_lockPath; }
    State GetState() const { return m_state; }
    bool IsHeld() const { return m_state == State::kHeld; }
    // Who holds it, when another program does or did: process id and host.
    int OwnerPid() const { return m_ownerPid; }
    const std::string& OwnerHost() const { return m_ownerHost; }
    Staleness GetStaleness() const { return m_staleness; }
    // Why the lock is stale, as the end of a sentence about its owner ("no longer runs").
    std::string StaleReason() const;

    // Takes over a stale lock; true when this process now holds it.
    bool TakeOver();
    // Marks a held lock as still in use, for other hosts that judge it by its age.
    void Renew() const;
    // Removes the lock file if this process holds it.
    void Release();

private:
    void Acquire();
    void Judge(bool kernelLocked);
    bool WriteOwnContent();
    void CloseFile();

    std::string m_lockPath;
    int m_fd = -1;  // the open lock file while this process holds it or may take it over
    State m_state = State::kUnavailable;
    Staleness m_staleness = Staleness::kNone;
    int m_ownerPid = 0;
    std::string m_ownerHost;
    std::int64_t m_ageSeconds = 0;
};
