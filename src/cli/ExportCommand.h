#pragma once

#include <string>
#include <vector>

// "export FILE transactions|holdings|gains [--date YYYY-MM-DD] [--year YYYY] [--output OUT]":
// the portfolio as CSV on stdout, or written to OUT through a temporary file. Returns the
// exit status: 0 done, 1 a file could not be read or written, 2 bad arguments.
int RunExportCommand(std::vector<std::string> arguments);
