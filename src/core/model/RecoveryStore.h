#pragma once

#include <string>
#include <vector>

class CKx7Doc;

// Copies of unsaved portfolios, kept in a per-user folder while changes are not saved,
// so that a crash loses nothing. Each running program writes one copy, named after its
// host and process, with a note of the portfolio file it belongs to.
class RecoveryStore {
public:
    // A copy left by a program that is no longer running.
    struct Orphan {
        std::string copyPath;      // the .kx7 recovery copy
        std::string originalPath;  // the portfolio it belongs to; empty for "Untitled"
        int pid = 0;
    };

    explicit RecoveryStore(std::string folder);

    // Replaces this program's copy with the document; an error text when it failed.
    std::string Write(const CKx7Doc& doc) const;
    // Removes this program's copy (after a save, a close or a discard).
    void Remove() const;
    bool HasCopy() const;

    // Copies whose programs on this host have ended, oldest process id first.
    std::vector<Orphan> FindOrphans() const;

    // A copy that could not be read is kept under another name for the user to look at;
    // returns its new path, or an empty text when it could not be moved.
    static std::string SetAside(const Orphan& orphan);
    static void Discard(const Orphan& orphan);

private:
    std::string CopyPath(int pid) const;

    std::string m_folder;
};
