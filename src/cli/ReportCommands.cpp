#include "ReportCommands.h"

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <limits>
#include <optional>
#include <string_view>

#include "OpenPortfolio.h"
#include "core/model/Clock.h"
#include "core/model/Kx7Doc.h"
#include "core/model/LocalTime.h"
#include "core/reports/AvailableReport.h"
#include "core/reports/DetailsReport.h"
#include "core/reports/GainsReport.h"
#include "core/reports/HistoryReport.h"
#include "core/reports/MoneyFormat.h"
#include "core/reports/OverviewReport.h"
#include "core/reports/ReportText.h"
#include "core/reports/SummaryReport.h"
#include "core/reports/TaxReport.h"
#include "core/reports/ValueSummary.h"
#include "core/settings/Settings.h"

namespace {

constexpr int kDone = 0;
constexpr int kUnreadable = 1;
constexpr int kBadArguments = 2;

struct ReportOptions {
    Settings settings;
    bool crlf = false;
    std::optional<std::int64_t> now;
};

// A bad argument: one line on stderr, exit status 2.
int Refuse(const std::string& message) {
    std::fprintf(stderr, "velmora-cli: %s\n", message.c_str());
    return kBadArguments;
}

// The arguments of one command: positional values and the flags it allows.
class CommandArguments {
public:
    CommandArguments(const std::vector<std::string>& arguments,
                     const std::vector<std::string_view>& flags) {
        for (const std::string& argument : arguments) {
            if (!argument.starts_with("--")) {
                m_positional.push_back(argument);
                continue;
            }
            bool known = false;
            for (const std::string_view flag : flags) {
                known = known || argument == flag;
            }
            if (!known && m_error.empty()) {
                m_error = "unknown option '" + argument + "'";
            }
            m_flags.push_back(argument);
        }
    }

    const std::string& Error() const { return m_error; }
    const std::vector<std::string>& Positional() const { return m_positional; }
    bool Has(std::string_view flag) const {
        for (const std::string& given : m_flags) {
            if (given == flag) {
                return true;
            }
        }
        return false;
    }

private:
    std::vector<std::string> m_positional;
    std::vector<std::string> m_flags;
    std::string m_error;
};

std::optional<long long> WholeNumber(std::string_view text) {
    long long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size() || text.empty()) {
        return std::nullopt;
    }
    return value;
}

// "YYYY-MM-DD HH:MM:SS" in local time; nothing for a text or a time that does not exist.
std::optional<std::int64_t> LocalTimeFromText(std::string_view text) {
    if (text.size() != 19 || text[4] != '-' || text[7] != '-' || text[10] != ' ' ||
        text[13] != ':' || text[16] != ':') {
        return std::nullopt;
    }
    const auto field = [&](std::size_t at, std::size_t length) {
        return WholeNumber(text.substr(at, length));
    };
    const auto year = field(0, 4), month = field(5, 2), day = field(8, 2);
    const auto hour = field(11, 2), minute = field(14, 2), second = field(17, 2);
    if (!year || !month || !day || !hour || !minute || !second) {
        return std::nullopt;
    }
    const std::int64_t time =
        LocalTimeOf(static_cast<int>(*year), static_cast<int>(*month), static_cast<int>(*day),
                    static_cast<int>(*hour), static_cast<int>(*minute), static_cast<int>(*second));
    // A date such as 02-30, or a time skipped by a clock change, comes back different.
    const std::tm tm = ToLocalTm(time);
    if (tm.tm_year + 1900 != *year || tm.tm_mon + 1 != *month || tm.tm_mday != *day ||
        tm.tm_hour != *hour || tm.tm_min != *minute || tm.tm_sec != *second) {
        return std::nullopt;
    }
    return time;
}

void PrintText(const std::string& text, const ReportOptions& options) {
    if (options.crlf) {
        std::fwrite(text.data(), 1, text.size(), stdout);
        return;
    }
    std::string_view rest(text);
    for (std::size_t end = rest.find("\r\n"); end != std::string_view::npos;
         end = rest.find("\r\n")) {
        std::fwrite(rest.data(), 1, end, stdout);
        std::fputc('\n', stdout);
        rest.remove_prefix(end + 2);
    }
    std::fwrite(rest.data(), 1, rest.size(), stdout);
}

// What a report command does once its arguments are checked: the report text, or an
// exit status when the arguments turn out bad against the portfolio.
struct ReportResult {
    std::string text;
    int status = kDone;
};

struct ReportCommand {
    ReportCommandInfo info;
    std::vector<std::string_view> flags;
    std::size_t minPositional;  // FILE included
    std::size_t maxPositional;
    // Checks the arguments that need no portfolio; an empty text when they are good.
    std::string (*check)(const CommandArguments&);
    ReportResult (*build)(CKx7Doc&, const CommandArguments&);
};

std::string NoCheck(const CommandArguments&) {
    return {};
}

std::string CheckTax(const CommandArguments& arguments) {
    const std::string& year = arguments.Positional()[1];
    if (year == "all") {
        return {};
    }
    const auto number = WholeNumber(year);
    if (!number || *number < 0 || *number > std::numeric_limits<int>::max()) {
        return "tax: YEAR must be a year or 'all', not '" + year + "'";
    }
    return {};
}

std::string CheckGains(const CommandArguments& arguments) {
    const std::string& view = arguments.Positional()[1];
    if (view == "realized" || view == "potential" || view == "combination") {
        return {};
    }
    return "gains: the view must be realized, potential or combination, not '" + view + "'";
}

std::string CheckHistory(const CommandArguments& arguments) {
    const std::string& days = arguments.Positional()[1];
    if (days == "all") {
        return {};
    }
    const auto number = WholeNumber(days);
    // Beyond a million days every transaction is listed anyway.
    if (!number || *number < 0 || *number > 1000000) {
        return "history: DAYS must be a number of days from 0 to 1000000 or 'all', not '" + days +
               "'";
    }
    return {};
}

std::string CheckDetails(const CommandArguments& arguments) {
    if (arguments.Positional().size() < 2) {
        return {};
    }
    const std::string& position = arguments.Positional()[1];
    const auto number = WholeNumber(position);
    if (!number || *number < 0) {
        return "details: POSITION must be a number from 0, not '" + position + "'";
    }
    return {};
}

std::string CheckSymbols(const CommandArguments& arguments) {
    if (arguments.Positional().size() < 2) {
        return {};
    }
    const std::string& filter = arguments.Positional()[1];
    if (filter == "held" || filter == "grants") {
        return {};
    }
    return "symbols: the filter must be held or grants, not '" + filter + "'";
}

ReportResult Summary(CKx7Doc& doc, const CommandArguments& arguments) {
    const bool byPurchase = arguments.Has("--by-purchase");
    return {BuildSummaryReport(doc, arguments.Positional()[1], !byPurchase,
                               arguments.Has("--sell-balance"),
                               !arguments.Has("--no-group-sales"))};
}

ReportResult Tax(CKx7Doc& doc, const CommandArguments& arguments) {
    const std::string& year = arguments.Positional()[1];
    return {BuildTaxReport(doc, year == "all" ? std::string(kTaxAllYears) : year,
                           !arguments.Has("--no-group-sales"), !arguments.Has("--no-commission"),
                           arguments.Has("--csv"))};
}

ReportResult Gains(CKx7Doc& doc, const CommandArguments& arguments) {
    const std::string& view = arguments.Positional()[1];
    const GainsReport report = BuildGainsReport(doc, view == "realized"    ? "Realized"
                                                     : view == "potential" ? "Potential"
                                                                           : "Combination");
    std::string text = report.text;
    AppendFormat(text, "Total Gain: %.4f\r\n", static_cast<double>(report.total));
    return {text};
}

ReportResult History(CKx7Doc& doc, const CommandArguments& arguments) {
    const std::string& days = arguments.Positional()[1];
    std::optional<int> frame;
    if (days != "all") {
        frame = static_cast<int>(*WholeNumber(days));
    }
    return {BuildHistoryReport(doc, frame)};
}

ReportResult Available(CKx7Doc& doc, const CommandArguments& arguments) {
    if (arguments.Positional().size() < 2) {
        return {BuildAvailableReport(doc)};
    }
    return {BuildAvailableReportForSymbol(doc, arguments.Positional()[1])};
}

ReportResult Overview(CKx7Doc& doc, const CommandArguments&) {
    return {BuildOverviewOfSymbols(doc, doc.SymbolNames())};
}

ReportResult Details(CKx7Doc& doc, const CommandArguments& arguments) {
    if (arguments.Positional().size() < 2) {
        return {BuildDetailsList(doc)};
    }
    const auto position = static_cast<std::size_t>(*WholeNumber(arguments.Positional()[1]));
    std::optional<std::string> details = BuildPurchaseDetails(doc, position);
    if (!details) {
        return {{},
                Refuse("details: no purchase at position " + std::to_string(position) +
                       " (the file holds " + std::to_string(doc.Purchases().size()) + ")")};
    }
    // The detail text has no final line end of its own.
    return {*details + "\r\n"};
}

ReportResult Value(CKx7Doc& doc, const CommandArguments&) {
    const ValueSummary summary = ComputeValueSummary(doc);
    return {"Value : " + FormatMoney(summary.totalValue) +
            "\r\nRealized Gain : " + FormatMoney(summary.realizedGain) +
            "\r\nPotential Gain : " + FormatMoney(summary.potentialGain) + "\r\n"};
}

ReportResult Symbols(CKx7Doc& doc, const CommandArguments& arguments) {
    std::optional<SymbolFilter> filter;
    if (arguments.Positional().size() >= 2) {
        filter =
            arguments.Positional()[1] == "held" ? SymbolFilter::kHeldLots : SymbolFilter::kGrants;
    }
    std::string text;
    for (const std::string& symbol : doc.SymbolNames(filter)) {
        text += symbol + "\r\n";
    }
    return {text};
}

const std::vector<ReportCommand>& Commands() {
    static const std::vector<ReportCommand> commands{
        {{"summary", "FILE SYMBOL [--by-purchase] [--sell-balance] [--no-group-sales]",
          "summary report of one symbol (tab-separated)"},
         {"--by-purchase", "--sell-balance", "--no-group-sales"},
         2,
         2,
         NoCheck,
         Summary},
        {{"tax", "FILE YEAR|all [--csv] [--no-group-sales] [--no-commission]",
          "tax report of the sales of a year"},
         {"--csv", "--no-group-sales", "--no-commission"},
         2,
         2,
         CheckTax,
         Tax},
        {{"gains", "FILE realized|potential|combination", "gains report and its total"},
         {},
         2,
         2,
         CheckGains,
         Gains},
        {{"history", "FILE DAYS|all", "purchases and sales of the last DAYS days"},
         {},
         2,
         2,
         CheckHistory,
         History},
        {{"available", "FILE [SYMBOL]", "lots that still hold shares"},
         {},
         1,
         2,
         NoCheck,
         Available},
        {{"overview", "FILE", "every symbol's purchases and sales"}, {}, 1, 1, NoCheck, Overview},
        {{"details", "FILE [POSITION]", "one line per purchase, or the purchase at POSITION"},
         {},
         1,
         2,
         CheckDetails,
         Details},
        {{"value", "FILE", "value, realized gain and potential gain"}, {}, 1, 1, NoCheck, Value},
        {{"symbols", "FILE [held|grants]", "the symbol list"}, {}, 1, 2, CheckSymbols, Symbols},
    };
    return commands;
}

const ReportCommand* FindCommand(std::string_view name) {
    for (const ReportCommand& command : Commands()) {
        if (command.info.name == name) {
            return &command;
        }
    }
    return nullptr;
}

void PrintCommandUsage(const ReportCommand& command) {
    std::printf("Usage: velmora-cli %s %s %s\n\n%s.\n", std::string(kReportOptionsUsage).c_str(),
                std::string(command.info.name).c_str(), std::string(command.info.arguments).c_str(),
                std::string(command.info.summary).c_str());
    std::printf(
        "\nReport options:\n"
        "  --date-order mdy|dmy  dates month first (default) or day first\n"
        "  --ungroup on|off      list option grants apart as SYMBOL-O (default on)\n"
        "  --now TIME            the local time taken as now, \"YYYY-MM-DD HH:MM:SS\"\n"
        "  --crlf                end lines with CR LF as the program does (default LF)\n");
}

int Run(const ReportCommand& command, const ReportOptions& options,
        const std::vector<std::string>& arguments) {
    for (const std::string& argument : arguments) {
        if (argument == "--help") {
            PrintCommandUsage(command);
            return kDone;
        }
    }
    const CommandArguments parsed(arguments, command.flags);
    const std::string name(command.info.name);
    if (!parsed.Error().empty()) {
        return Refuse(name + ": " + parsed.Error());
    }
    const std::size_t count = parsed.Positional().size();
    if (count < command.minPositional || count > command.maxPositional) {
        return Refuse("usage: velmora-cli " + name + " " + std::string(command.info.arguments));
    }
    if (const std::string problem = command.check(parsed); !problem.empty()) {
        return Refuse(problem);
    }

    if (options.now) {
        Clock::SetFixed(*options.now);
    }
    CKx7Doc doc(options.settings);
    Kx7ReadResult read;
    if (!OpenPortfolio(doc, parsed.Positional()[0], read)) {
        return kUnreadable;
    }
    const ReportResult result = command.build(doc, parsed);
    if (result.status != kDone) {
        return result.status;
    }
    PrintText(result.text, options);
    return kDone;
}

}  // namespace

const std::vector<ReportCommandInfo>& ReportCommandList() {
    static const std::vector<ReportCommandInfo> list = [] {
        std::vector<ReportCommandInfo> infos;
        for (const ReportCommand& command : Commands()) {
            infos.push_back(command.info);
        }
        return infos;
    }();
    return list;
}

bool IsReportOption(std::string_view argument) {
    return argument == "--date-order" || argument == "--ungroup" || argument == "--now" ||
           argument == "--crlf";
}

int RunReportCommandLine(const std::vector<std::string>& arguments) {
    ReportOptions options;
    std::size_t at = 0;
    for (; at < arguments.size() && IsReportOption(arguments[at]); ++at) {
        const std::string& option = arguments[at];
        if (option == "--crlf") {
            options.crlf = true;
            continue;
        }
        if (at + 1 >= arguments.size()) {
            return Refuse(option + " needs a value");
        }
        const std::string& value = arguments[++at];
        if (option == "--date-order") {
            if (value != "mdy" && value != "dmy") {
                return Refuse("--date-order must be mdy or dmy, not '" + value + "'");
            }
            options.settings.dateMonthFirst = value == "mdy";
        } else if (option == "--ungroup") {
            if (value != "on" && value != "off") {
                return Refuse("--ungroup must be on or off, not '" + value + "'");
            }
            options.settings.ungroupOptions = value == "on";
        } else {
            options.now = LocalTimeFromText(value);
            if (!options.now) {
                return Refuse("--now must be a local time \"YYYY-MM-DD HH:MM:SS\", not '" + value +
                              "'");
            }
        }
    }
    if (at >= arguments.size()) {
        return Refuse("a report command must follow the report options");
    }
    const ReportCommand* command = FindCommand(arguments[at]);
    if (command == nullptr) {
        return Refuse("unknown report command '" + arguments[at] + "'");
    }
    return Run(*command, options,
               {arguments.begin() + static_cast<std::ptrdiff_t>(at) + 1, arguments.end()});
}

int RunReportCommand(std::string_view name, const std::vector<std::string>& arguments) {
    const ReportCommand* command = FindCommand(name);
    if (command == nullptr) {
        return Refuse("unknown report command '" + std::string(name) + "'");
    }
    return Run(*command, ReportOptions{}, arguments);
}
