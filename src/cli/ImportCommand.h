#pragma once

#include <string>
#include <vector>

// "import FILE IN [--mapping NAME] [--matching fifo|lifo|file] [--day-first]
// (--in-place | --output OUT) [--dry-run] [--force]": records the transactions of IN (CSV
// through a named mapping, or QIF) in the portfolio FILE, saved over it or as OUT through a
// temporary file. The preview goes to stdout; rows skipped are told with their reasons.
// Returns the exit status: 0 done, 1 nothing could be recorded or a file could not be read
// or written, 2 bad arguments.
int RunImportCommand(std::vector<std::string> arguments);
