#include "OpenPortfolio.h"

#include <algorithm>
#include <cstdio>

#include "core/model/FileIdentity.h"
#include "core/model/Kx7Doc.h"
#include "core/model/PortfolioLock.h"

bool OpenPortfolio(CKx7Doc& doc, const std::string& path, Kx7ReadResult& read) {
    read = OpenKx7File(doc, path);
    if (!read.Ok()) {
        std::fprintf(stderr, "velmora-cli: %s: %s\n", path.c_str(), read.error.c_str());
        return false;
    }
    if (!read.warning.empty()) {
        std::fprintf(stderr, "velmora-cli: %s: %s\n", path.c_str(), read.warning.c_str());
    }
    return true;
}

bool LockForWriting(const std::string& path, bool force, PortfolioLock& lock) {
    lock = PortfolioLock(path);
    switch (lock.GetState()) {
        case PortfolioLock::State::kHeld:
        case PortfolioLock::State::kUnavailable:  // the write itself will say what is wrong
            return true;
        case PortfolioLock::State::kHeldByOther:
            std::fprintf(stderr, "velmora-cli: %s is open in another program (process %d on %s)\n",
                         path.c_str(), lock.OwnerPid(), lock.OwnerHost().c_str());
            return false;
        case PortfolioLock::State::kStale:
            break;
    }
    const bool foreign = lock.GetStaleness() == PortfolioLock::Staleness::kForeignExpired;
    if (foreign && !force) {
        std::fprintf(stderr,
                     "velmora-cli: %s is marked as open by process %d on %s, which %s; if no "
                     "program there has it open, run again with --force\n",
                     path.c_str(), lock.OwnerPid(), lock.OwnerHost().c_str(),
                     lock.StaleReason().c_str());
        return false;
    }
    std::fprintf(stderr, "velmora-cli: taking over the lock of %s: process %d on %s %s\n",
                 path.c_str(), lock.OwnerPid(), lock.OwnerHost().c_str(),
                 lock.StaleReason().c_str());
    if (!lock.TakeOver()) {
        std::fprintf(stderr, "velmora-cli: the lock of %s could not be taken over\n", path.c_str());
        return false;
    }
    return true;
}

bool OpenForWriting(CKx7Doc& doc, const std::string& input, const std::string& output, bool force,
                    PortfolioLock& lock, std::string& written) {
    written = output;
    Kx7ReadResult read;
    if (!LockForWriting(output, force, lock) || !OpenPortfolio(doc, input, read)) {
        return false;
    }
    // The document knows its file, so that nothing writes an incomplete read over it.
    doc.SetPathName(input);
    if (!read.Incomplete()) {
        return true;
    }
    if (!force) {
        std::fprintf(stderr,
                     "velmora-cli: %s was read only in part, so it is not written: that would "
                     "lose what could not be read. Run again with --force to write what was "
                     "read to a new file; %s stays as it is.\n",
                     input.c_str(), input.c_str());
        return false;
    }
    if (!SameFile(output, input)) {
        return true;
    }
    written = UnusedSiblingPath(input, "recovered");
    std::fprintf(stderr, "velmora-cli: writing what was read to %s; %s stays as it is\n",
                 written.c_str(), input.c_str());
    return LockForWriting(written, force, lock);
}

bool TakeValue(std::vector<std::string>& arguments, std::string_view name,
               std::optional<std::string>& value) {
    const auto found = std::find(arguments.begin(), arguments.end(), name);
    if (found == arguments.end()) {
        return true;
    }
    if (found + 1 == arguments.end()) {
        return false;
    }
    value = *(found + 1);
    arguments.erase(found, found + 2);
    return true;
}

bool TakeFlag(std::vector<std::string>& arguments, std::string_view flag) {
    const auto found = std::find(arguments.begin(), arguments.end(), flag);
    if (found == arguments.end()) {
        return false;
    }
    arguments.erase(found);
    return true;
}
