#pragma once

#include <string>
#include <string_view>
#include <vector>

// The report commands of velmora-cli: each prints one report of a portfolio file.

struct ReportCommandInfo {
    std::string_view name;
    std::string_view arguments;
    std::string_view summary;
};

const std::vector<ReportCommandInfo>& ReportCommandList();

// The options every report command takes before its name.
inline constexpr std::string_view kReportOptionsUsage =
    "[--date-order mdy|dmy] [--ungroup on|off] [--now \"YYYY-MM-DD HH:MM:SS\"] [--crlf]";

// Whether `argument` is one of the report options.
bool IsReportOption(std::string_view argument);

// Runs "[report options] COMMAND ARGUMENTS...". Returns the exit status: 0 done, 1 the
// file could not be read, 2 bad arguments.
int RunReportCommandLine(const std::vector<std::string>& arguments);

// Runs the report command `name` with the default options.
int RunReportCommand(std::string_view name, const std::vector<std::string>& arguments);
