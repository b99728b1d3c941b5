#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/model/FileIdentity.h"

class CKx7Doc;

// The portfolio file (.kx7): a version string, a header, tagged groups of records and a
// closing "ENDOFDATA". The writer writes the current layout; the reader also reads the
// layouts of older versions, chosen by the generation derived from the version string.

inline constexpr std::string_view kUnexpectedFileFormat = "Unexpected file format.";

// Files larger than this are refused before they are read into memory.
inline constexpr std::uint64_t kKx7SizeLimit = std::uint64_t{1} << 30;

struct Kx7ReadResult {
    std::string error;    // the open failed: kUnexpectedFileFormat or why the file was not read
    std::string warning;  // the open succeeded, but part of the file could not be read
    std::string version;  // the file's first string
    std::int32_t generation = 0;
    FileStamp stamp;  // the file as it was read (OpenKx7File only)

    bool Ok() const { return error.empty(); }
    // Opened, but not whole: the document is marked incomplete.
    bool Incomplete() const { return Ok() && !warning.empty(); }
};

// 1000 times the major number of "Version <n>...", 9999 for any other first string.
std::int32_t FileGeneration(std::string_view versionText);

std::vector<std::uint8_t> StoreKx7(const CKx7Doc& doc);

// Clears the document and rebuilds it from `bytes`; the result is unmodified. A file that
// ends inside a value leaves the document cleared with its header as it was before. A file
// whose reading stops early leaves the document with what was read, marked incomplete.
Kx7ReadResult LoadKx7(CKx7Doc& doc, std::span<const std::uint8_t> bytes);

// Reads the file and loads it; a file that cannot be read leaves the document untouched.
Kx7ReadResult OpenKx7File(CKx7Doc& doc, const std::string& path);

// Stores the document and replaces the file safely (see WriteFileSafely); the error text,
// or empty. An incomplete document is never written over the file it was read from (its
// path name): that would lose what could not be read. `written`, when given, receives the
// stamp of the file written.
std::string WriteKx7File(const CKx7Doc& doc, const std::string& path, FileStamp* written = nullptr);

// WriteKx7File, and on success the document is unmodified and, saved whole, no longer
// incomplete; on failure it stays modified and the error text is returned.
std::string SaveKx7File(CKx7Doc& doc, const std::string& path, FileStamp* written = nullptr);
