#include "core/model/RecoveryStore.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "core/model/FileBytes.h"
#include "core/model/Kx7Doc.h"
#include "core/model/Kx7File.h"
#include "core/model/ProcessInfo.h"

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kCopyExtension = ".kx7";
constexpr std::string_view kOriginExtension = ".origin";
// A note longer than this is no path this program wrote.
constexpr std::uint64_t kOriginLimit = std::uint64_t{64} * 1024;

std::string OriginPath(const std::string& copyPath) {
    return fs::path(copyPath).replace_extension(kOriginExtension).string();
}

// "<host>-<pid>.kx7": the process id after the last '-'; 0 when the name is not ours.
int PidOf(const std::string& stem, const std::string& host) {
    const std::string prefix = host + "-";
    if (stem.size() <= prefix.size() || stem.compare(0, prefix.size(), prefix) != 0) {
        return 0;
    }
    int pid = 0;
    for (std::size_t i = prefix.size(); i < stem.size(); ++i) {
        if (stem[i] < '0' || stem[i] > '9' || pid > 99999999) {
            return 0;
        }
        pid = pid * 10 + (stem[i] - '0');
    }
    return pid;
}

}  // namespace

RecoveryStore::RecoveryStore(std::string folder) : m_folder(std::move(folder)) {}

std::string RecoveryStore::CopyPath(int pid) const {
    return (fs::path(m_folder) /
            (HostName() + "-" + std::to_string(pid) + std::string(kCopyExtension)))
        .string();
}

std::string RecoveryStore::Write(const CKx7Doc& doc) const {
    std::error_code error;
    fs::create_directories(m_folder, error);
    if (error) {
        return "Could not make the recovery folder \"" + m_folder + "\": " + error.message() + ".";
    }
    const std::string copy = CopyPath(CurrentPid());
    // The note first: a copy is only ever found with its note beside it.
    // A portfolio read only in part is recovered as a new one: restored under its file's
    // name, a save would write it over the part that could not be read.
    const std::string original = doc.IsIncomplete() ? std::string() : doc.PathName();
    const std::vector<std::uint8_t> note(original.begin(), original.end());
    if (std::string failed = WriteFileSafely(OriginPath(copy), note, Backup::kNone);
        !failed.empty()) {
        return failed;
    }
    return WriteFileSafely(copy, StoreKx7(doc), Backup::kNone);
}

void RecoveryStore::Remove() const {
    const std::string copy = CopyPath(CurrentPid());
    std::error_code error;
    fs::remove(copy, error);
    fs::remove(OriginPath(copy), error);
}

bool RecoveryStore::HasCopy() const {
    std::error_code error;
    return fs::exists(CopyPath(CurrentPid()), error);
}

std::vector<RecoveryStore::Orphan> RecoveryStore::FindOrphans() const {
    std::vector<Orphan> orphans;
    std::error_code error;
    const std::string host = HostName();
    for (fs::directory_iterator it(m_folder, error), end; !error && it != end;
         it.increment(error)) {
        const fs::path& path = it->path();
        if (path.extension() != kCopyExtension || !it->is_regular_file(error)) {
            continue;
        }
        const int pid = PidOf(path.stem().string(), host);
        if (pid == 0 || pid == CurrentPid() || ProcessAlive(pid)) {
            continue;
        }
        Orphan orphan{path.string(), {}, pid};
        const FileBytes note = ReadFileBytes(OriginPath(orphan.copyPath), kOriginLimit);
        orphan.originalPath.assign(note.bytes.begin(), note.bytes.end());
        orphans.push_back(std::move(orphan));
    }
    std::sort(orphans.begin(), orphans.end(),
              [](const Orphan& a, const Orphan& b) { return a.pid < b.pid; });
    return orphans;
}

std::string RecoveryStore::SetAside(const Orphan& orphan) {
    std::string kept = orphan.copyPath + ".unreadable";
    std::error_code error;
    fs::rename(orphan.copyPath, kept, error);
    if (error) {
        return {};
    }
    fs::rename(OriginPath(orphan.copyPath), kept + std::string(kOriginExtension), error);
    return kept;
}

void RecoveryStore::Discard(const Orphan& orphan) {
    std::error_code error;
    fs::remove(orphan.copyPath, error);
    fs::remove(OriginPath(orphan.copyPath), error);
}
