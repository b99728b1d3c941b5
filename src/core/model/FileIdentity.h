#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

// Telling files apart: whether two paths name one file, and whether a file is still the
// one that was read, so that nothing written by another program is silently overwritten.

// What a file was when it was read or written: its size and modification time, and a
// hash of its bytes, which decides when the time changed but the bytes may not have.
struct FileStamp {
    bool known = false;
    std::uint64_t size = 0;
    std::int64_t modifiedNs = 0;
    std::uint64_t hash = 0;
};

std::uint64_t ContentHash(std::span<const std::uint8_t> bytes);

// The size and modification time of the file at `path` (following links); not known when
// there is no file. The hash is left to the caller, who has the bytes.
FileStamp StatStamp(const std::string& path);

// StatStamp with the hash of the file's bytes; not known when it cannot be read.
FileStamp ReadFileStamp(const std::string& path);

// Whether the file at `path` is still the one stamped. A file that is gone, or a stamp
// that is not known, counts as unchanged: writing then overwrites nothing of anyone's.
bool FileUnchanged(const std::string& path, const FileStamp& stamp);

// Whether two paths lead to one file (through links, "..", or another spelling).
bool SameFile(const std::string& first, const std::string& second);

// A path beside `path` that names no file yet: "NAME-<tag>.kx7", then "NAME-<tag>-2.kx7"
// and so on.
std::string UnusedSiblingPath(const std::string& path, std::string_view tag);
