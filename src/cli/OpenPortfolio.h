#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/model/Kx7File.h"

class CKx7Doc;
class PortfolioLock;

// Opens the portfolio file for a command, or says on stderr why it cannot; a partial read
// is told too, and the command goes on with what was read.
bool OpenPortfolio(CKx7Doc& doc, const std::string& path, Kx7ReadResult& read);

// Takes the lock of a file a command is about to write; false, with the reason on stderr,
// when another program has it open. A lock left by an ended process of this host is taken
// over (the command has no one to ask, and that owner cannot write any more); a lock of
// another host only with `force`.
bool LockForWriting(const std::string& path, bool force, PortfolioLock& lock);

// Opens `input` for a command that writes the portfolio to `output`, holding the lock of
// the file it will write. A file read only in part is refused (false, reason on stderr)
// unless `force`; even then it is never written over itself: `written` becomes a new file
// beside it. Otherwise `written` is `output`.
bool OpenForWriting(CKx7Doc& doc, const std::string& input, const std::string& output, bool force,
                    PortfolioLock& lock, std::string& written);

// Removes "NAME VALUE" from the arguments, giving the value when it is there; false when
// the name is there without a value.
bool TakeValue(std::vector<std::string>& arguments, std::string_view name,
               std::optional<std::string>& value);

// Removes `flag` from the arguments; whether it was there.
bool TakeFlag(std::vector<std::string>& arguments, std::string_view flag);
