#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// Whole-file reading and crash-safe replacement of a file. Failures come back as texts that
// name the file and the reason, ready to show.

struct FileBytes {
    std::vector<std::uint8_t> bytes;
    std::string error;  // empty when the file was read
};

// Reads a regular file of at most `limit` bytes; anything else is refused with an error.
FileBytes ReadFileBytes(const std::string& path, std::uint64_t limit);

// Why the file at `path` would not be read: it is no regular file (a FIFO, a device, a
// folder), or larger than `limit`; empty when it may be read, or when there is none.
std::string FileRefusal(const std::string& path, std::uint64_t limit);

// Replaces `path` with `bytes` so that a failure at any point leaves the previous file
// whole: the bytes go to a new file in the same folder, which is flushed to disk and then
// renamed over the target. The previous file, if any, is kept as "<path>.bak". A symbolic
// link is followed, so the file it names is replaced and the link stays. Returns an empty
// text on success, the error otherwise. Files the program rewrites on its own (the
// recovery copies) keep no previous version. Temporary files of this naming that a save
// killed half-way left beside the file, and that no live process holds, are removed.
enum class Backup { kKeep, kNone };
std::string WriteFileSafely(const std::string& path, std::span<const std::uint8_t> bytes,
                            Backup backup = Backup::kKeep);
