#include "core/model/FileBytes.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <random>
#include <string_view>
#include <system_error>
#include <utility>

#include "core/model/Clock.h"
#include "core/model/FileDescriptor.h"

namespace {

namespace fs = std::filesystem;

std::string Reason(int error) {
    return std::generic_category().message(error);
}

std::string OpenError(const std::string& path, const std::string& reason) {
    return "Could not open \"" + path + "\": " + reason + ".";
}

std::string SaveError(const std::string& path, const std::string& reason) {
    return "Could not save \"" + path + "\": " + reason + ".";
}

// Creates a file of a fresh name beside `target`, open for writing. The mode 0666 lets the
// user's umask decide the permissions of a file that did not exist before.
int CreateBeside(const fs::path& target, std::string& tempPath) {
    std::mt19937_64 random{std::random_device{}()};
    const fs::path folder = target.parent_path().empty() ? fs::path(".") : target.parent_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        // Built by appending: GCC 12 at -O3 warns falsely on "." + std::string.
        std::string name(".");
        name += target.filename().string();
        name += '.';
        name += std::to_string(random() % 1000000000);
        name += ".tmp";
        tempPath = (folder / name).string();
        const int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    errno = EEXIST;
    return -1;
}

// Whether `name` is one CreateBeside gives a temporary file beside a file named `target`.
bool IsTemporaryNameOf(std::string_view name, const std::string& target) {
    constexpr std::string_view kSuffix = ".tmp";
    const std::string prefix = "." + target + ".";
    if (name.size() <= prefix.size() + kSuffix.size() || !name.starts_with(prefix) ||
        !name.ends_with(kSuffix)) {
        return false;
    }
    const std::string_view number =
        name.substr(prefix.size(), name.size() - prefix.size() - kSuffix.size());
    return std::all_of(number.begin(), number.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// A save killed half-way leaves its temporary file behind, as large as the portfolio.
// The next save beside it removes those of its own naming that no live process holds: a
// writer flocks its temporary file from just after creating it until it is closed, and a
// file changed in the last minute may be one whose writer has not flocked it yet.
void RemoveStaleTemporaries(const fs::path& target) {
    constexpr std::int64_t kFreshSeconds = 60;
    const fs::path folder = target.parent_path().empty() ? fs::path(".") : target.parent_path();
    const std::string name = target.filename().string();
    std::error_code error;
    for (fs::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        const fs::path& path = entry->path();
        if (!IsTemporaryNameOf(path.filename().string(), name)) {
            continue;
        }
        const FileDescriptor file(
            ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW));
        struct stat status {};
        if (file.Get() < 0 || ::fstat(file.Get(), &status) != 0 || !S_ISREG(status.st_mode) ||
            Clock::Now() - status.st_mtime < kFreshSeconds ||
            ::flock(file.Get(), LOCK_EX | LOCK_NB) != 0) {
            continue;
        }
        ::unlink(path.c_str());
    }
}

// Writes `bytes` into a new temporary file beside `target` and flushes it to disk.
std::string WriteTemporary(const fs::path& target, std::span<const std::uint8_t> bytes,
                           const struct stat* previous, std::string& tempPath) {
    FileDescriptor file(CreateBeside(target, tempPath));
    if (file.Get() < 0) {
        tempPath.clear();
        return Reason(errno);
    }
    // Held while it is written, so that another save's clean-up leaves it alone.
    static_cast<void>(::flock(file.Get(), LOCK_EX));
    if (previous != nullptr) {
        // The replacement keeps the permissions the user gave the file; failing to is no
        // reason to refuse the save.
        static_cast<void>(::fchmod(file.Get(), previous->st_mode & 07777));
    }
    int error = WriteAll(file.Get(), bytes);
    if (error == 0 && ::fsync(file.Get()) != 0) {
        error = errno;
    }
    const int closeError = file.Close();
    if (error == 0) {
        error = closeError;
    }
    return error == 0 ? std::string() : Reason(error);
}

// Keeps the file now at `target` as "<target>.bak": a second name for it where the folder
// allows one, a copy otherwise.
std::string KeepBackup(const fs::path& target) {
    const std::string backup = target.string() + ".bak";
    if (::unlink(backup.c_str()) != 0 && errno != ENOENT) {
        return "the previous version could not be kept as \"" + backup + "\": " + Reason(errno);
    }
    if (::link(target.c_str(), backup.c_str()) == 0) {
        return {};
    }
    std::error_code error;
    if (!fs::copy_file(target, backup, fs::copy_options::overwrite_existing, error)) {
        return "the previous version could not be kept as \"" + backup + "\": " + error.message();
    }
    return {};
}

void SyncFolder(const fs::path& target) {
    const fs::path folder = target.parent_path().empty() ? fs::path(".") : target.parent_path();
    FileDescriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.Get() >= 0) {
        // The rename is done; a folder that cannot be flushed leaves it to the system.
        static_cast<void>(::fsync(dir.Get()));
    }
}

// Opens a regular file of at most `limit` bytes for reading; -1 with the error otherwise.
// Opened without waiting: a FIFO would otherwise hold the open until a writer comes. Only
// a regular file is then read, and reading it no longer needs the flag.
int OpenRegularFile(const std::string& path, std::uint64_t limit, struct stat& status,
                    std::string& error) {
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (file.Get() < 0 || ::fstat(file.Get(), &status) != 0) {
        error = OpenError(path, Reason(errno));
        return -1;
    }
    if (!S_ISREG(status.st_mode)) {
        error = OpenError(path, "it is not a regular file");
        return -1;
    }
    if (static_cast<std::uint64_t>(status.st_size) > limit) {
        error = OpenError(path, "the file is too large");
        return -1;
    }
    static_cast<void>(::fcntl(file.Get(), F_SETFL, ::fcntl(file.Get(), F_GETFL) & ~O_NONBLOCK));
    return file.Release();
}

}  // namespace

std::string FileRefusal(const std::string& path, std::uint64_t limit) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0 && errno == ENOENT) {
        return {};
    }
    std::string error;
    const FileDescriptor file(OpenRegularFile(path, limit, status, error));
    return error;
}

FileBytes ReadFileBytes(const std::string& path, std::uint64_t limit) {
    FileBytes result;
    struct stat status {};
    FileDescriptor file(OpenRegularFile(path, limit, status, result.error));
    if (file.Get() < 0) {
        return result;
    }
    // Read in chunks appended to a buffer reserved at the file's size, so that its bytes
    // are written once, not zeroed first; a file that grew meanwhile is read on.
    result.bytes.reserve(static_cast<std::size_t>(status.st_size));
    std::array<std::uint8_t, 65536> chunk{};
    for (;;) {
        const ssize_t got = ::read(file.Get(), chunk.data(), chunk.size());
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            result.error = OpenError(path, Reason(errno));
            result.bytes.clear();
            return result;
        }
        if (got == 0) {
            return result;
        }
        result.bytes.insert(result.bytes.end(), chunk.data(), chunk.data() + got);
        if (result.bytes.size() > limit) {
            result.error = OpenError(path, "the file is too large");
            result.bytes.clear();
            return result;
        }
    }
}

std::string WriteFileSafely(const std::string& path, std::span<const std::uint8_t> bytes,
                            Backup backup) {
    fs::path target(path);
    std::error_code error;
    if (fs::is_symlink(target, error)) {
        const fs::path resolved = fs::canonical(target, error);
        if (!error) {
            target = resolved;
        }
    }
    struct stat previous {};
    const bool existed = ::stat(target.c_str(), &previous) == 0 && S_ISREG(previous.st_mode);

    RemoveStaleTemporaries(target);
    std::string tempPath;
    if (std::string reason = WriteTemporary(target, bytes, existed ? &previous : nullptr, tempPath);
        !reason.empty()) {
        if (!tempPath.empty()) {
            ::unlink(tempPath.c_str());
        }
        return SaveError(path, reason);
    }
    if (existed && backup == Backup::kKeep) {
        if (std::string reason = KeepBackup(target); !reason.empty()) {
            ::unlink(tempPath.c_str());
            return SaveError(path, reason);
        }
    }
    if (::rename(tempPath.c_str(), target.c_str()) != 0) {
        const int renameError = errno;
        ::unlink(tempPath.c_str());
        return SaveError(path, Reason(renameError));
    }
    SyncFolder(target);
    return {};
}
