#include "core/model/FileIdentity.h"

#include <sys/stat.h>

#include <cstring>
#include <filesystem>

#include "core/model/FileBytes.h"

namespace fs = std::filesystem;

std::uint64_t ContentHash(std::span<const std::uint8_t> bytes) {
    // FNV-1a over eight bytes at a time: enough to tell another program's version of a
    // file from ours, at a fraction of a byte-wise walk over a large portfolio.
    constexpr std::uint64_t kPrime = 1099511628211ULL;
    std::uint64_t hash = 14695981039346656037ULL;
    std::size_t at = 0;
    for (; at + sizeof(std::uint64_t) <= bytes.size(); at += sizeof(std::uint64_t)) {
        std::uint64_t word = 0;
        std::memcpy(&word, bytes.data() + at, sizeof word);
        hash = (hash ^ word) * kPrime;
    }
    for (; at < bytes.size(); ++at) {
        hash = (hash ^ bytes[at]) * kPrime;
    }
    return hash;
}

FileStamp StatStamp(const std::string& path) {
    FileStamp stamp;
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        return stamp;
    }
    stamp.known = true;
    stamp.size = static_cast<std::uint64_t>(status.st_size);
    stamp.modifiedNs =
        static_cast<std::int64_t>(status.st_mtim.tv_sec) * 1'000'000'000 + status.st_mtim.tv_nsec;
    return stamp;
}

FileStamp ReadFileStamp(const std::string& path) {
    FileStamp stamp = StatStamp(path);
    if (!stamp.known) {
        return stamp;
    }
    const FileBytes file = ReadFileBytes(path, stamp.size);
    if (!file.error.empty()) {
        return {};
    }
    stamp.hash = ContentHash(file.bytes);
    return stamp;
}

bool FileUnchanged(const std::string& path, const FileStamp& stamp) {
    if (!stamp.known) {
        return true;
    }
    const FileStamp now = StatStamp(path);
    if (!now.known || (now.size == stamp.size && now.modifiedNs == stamp.modifiedNs)) {
        return true;
    }
    if (now.size != stamp.size) {
        return false;
    }
    // Touched, or rewritten with bytes of the same length: the bytes decide.
    const FileStamp read = ReadFileStamp(path);
    return read.known && read.size == stamp.size && read.hash == stamp.hash;
}

bool SameFile(const std::string& first, const std::string& second) {
    struct stat a {};
    struct stat b {};
    if (::stat(first.c_str(), &a) == 0 && ::stat(second.c_str(), &b) == 0) {
        return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
    }
    std::error_code error;
    const fs::path one = fs::weakly_canonical(fs::absolute(first, error), error);
    const fs::path two = fs::weakly_canonical(fs::absolute(second, error), error);
    return !error && one == two;
}

std::string UnusedSiblingPath(const std::string& path, std::string_view tag) {
    const fs::path original(path);
    const std::string stem = original.stem().string() + "-" + std::string(tag);
    const std::string extension = original.extension().string();
    std::error_code error;
    for (int number = 1;; ++number) {
        const std::string suffix = number == 1 ? std::string() : "-" + std::to_string(number);
        const fs::path candidate = original.parent_path() / (stem + suffix + extension);
        if (!fs::exists(fs::symlink_status(candidate, error))) {
            return candidate.string();
        }
    }
}
