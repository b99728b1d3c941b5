// velmora-cli: the portfolio tools without a window.

#include <QString>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ExportCommand.h"
#include "ImportCommand.h"
#include "OpenPortfolio.h"
#include "PortfolioJson.h"
#include "ReportCommands.h"
#include "core/model/Clock.h"
#include "core/model/DemoPortfolio.h"
#include "core/model/Kx7Doc.h"
#include "core/model/Kx7File.h"
#include "core/model/PortfolioLock.h"
#include "core/quotes/FetchNotifier.h"
#include "core/quotes/HostPacer.h"
#include "core/quotes/PriceHistoryKeeper.h"
#include "core/quotes/QuoteSource.h"
#include "core/quotes/QuoteSourcesFile.h"
#include "core/quotes/QuoteUpdate.h"
#include "core/quotes/SourceChain.h"
#include "core/quotes/SourceTest.h"
#include "core/quotes/Web.h"
#include "core/settings/Settings.h"
#include "core/settings/SettingsText.h"
#include "core/settings/Version.h"
#include "desktop/app/SettingsFile.h"

namespace {

struct Command {
    std::string_view name;
    std::string_view arguments;
    std::string_view summary;
    std::function<int(const std::vector<std::string>&)> run;
};

// The settings file's values; a file that is refused is said on stderr, and the defaults
// are used.
Settings LoadSettingsOrSay() {
    const QString path = SettingsFilePath();
    if (const std::string refusal = SettingsFileRefusal(path); !refusal.empty()) {
        std::fprintf(stderr, "velmora-cli: %s The default settings are used.\n", refusal.c_str());
    }
    std::vector<std::string> problems;
    Settings settings = LoadSettingsFile(path, &problems);
    for (const std::string& problem : problems) {
        std::fprintf(stderr, "velmora-cli: %s\n", problem.c_str());
    }
    return settings;
}

int ShowSettings(const std::vector<std::string>& /*arguments*/) {
    const Settings settings = LoadSettingsOrSay();
    std::printf("file: %s\n", SettingsFilePath().toStdString().c_str());
    for (const SettingsEntry& entry : SettingsEntries(settings)) {
        std::printf("[%s] %s=%s\n", entry.section.c_str(), entry.key.c_str(), entry.value.c_str());
    }
    return 0;
}

// Saves the portfolio; the exit status, with the reason on stderr when it failed.
int SaveOrSay(CKx7Doc& doc, const std::string& path) {
    if (const std::string error = SaveKx7File(doc, path); !error.empty()) {
        std::fprintf(stderr, "velmora-cli: %s\n", error.c_str());
        return 1;
    }
    return 0;
}

int Dump(const std::vector<std::string>& arguments) {
    if (arguments.size() != 1) {
        std::fprintf(stderr, "Usage: velmora-cli dump FILE\n");
        return 2;
    }
    const Settings settings;
    CKx7Doc doc(settings);
    Kx7ReadResult read;
    if (!OpenPortfolio(doc, arguments[0], read)) {
        return 1;
    }
    // A full disk or a closed pipe must not pass for a complete dump.
    if (!WritePortfolioJson(stdout, doc, read)) {
        std::fprintf(stderr, "velmora-cli: the dump could not be written in full.\n");
        return 1;
    }
    return 0;
}

int Convert(std::vector<std::string> arguments) {
    const bool force = TakeFlag(arguments, "--force");
    if (arguments.size() != 2) {
        std::fprintf(stderr, "Usage: velmora-cli convert IN OUT [--force]\n");
        return 2;
    }
    const Settings settings;
    CKx7Doc doc(settings);
    PortfolioLock lock;
    std::string output;
    if (!OpenForWriting(doc, arguments[0], arguments[1], force, lock, output)) {
        return 1;
    }
    return SaveOrSay(doc, output);
}

int Demo(const std::vector<std::string>& arguments) {
    if (arguments.size() != 1) {
        std::fprintf(stderr, "Usage: velmora-cli demo FILE\n");
        return 2;
    }
    PortfolioLock lock;
    if (!LockForWriting(arguments[0], false, lock)) {
        return 1;
    }
    const Settings settings;
    CKx7Doc doc(settings);
    BuildDemoPortfolio(doc);
    return SaveOrSay(doc, arguments[0]);
}

std::vector<Command> WithReportCommands(std::vector<Command> commands) {
    for (const ReportCommandInfo& report : ReportCommandList()) {
        commands.push_back({report.name, report.arguments, report.summary,
                            [name = report.name](const std::vector<std::string>& arguments) {
                                return RunReportCommand(name, arguments);
                            }});
    }
    return commands;
}

// Fetch warnings go to stderr, in the words and captions the desktop program shows.
class StderrFetchNotifier final : public FetchNotifier {
public:
    void Show(const FetchMessage& message) override {
        std::fprintf(stderr, "%s: %s\n", message.caption.c_str(), message.text.c_str());
    }
};

// The source a "--source" value names: 0, 1 or 2 for the three described servers, as the
// command always took them, or the name of any source.
std::optional<QuoteSource> SourceNamed(const std::string& value, const Settings& settings) {
    const std::vector<QuoteSource> all = AllQuoteSources(settings.quoteSources);
    if (value == "0" || value == "1" || value == "2") {
        return all[static_cast<std::size_t>(value[0] - '0')];
    }
    return FindQuoteSource(all, value);
}

// One price update as the "Quote Price" dialog runs it, from the chosen chain or the one
// source named; its list lines go to stdout in the dialog's (sorted) order, the portfolio
// is saved and the prices are added to its price history.
int Update(std::vector<std::string> arguments) {
    const bool force = TakeFlag(arguments, "--force");
    std::optional<std::string> sourceName;
    if (!TakeValue(arguments, "--source", sourceName) || arguments.size() != 1) {
        std::fprintf(stderr, "Usage: velmora-cli update FILE [--source NAME] [--force]\n");
        return 2;
    }
    Settings settings = LoadSettingsOrSay();
    std::vector<QuoteSource> chain = ChosenQuoteSources(settings);
    if (sourceName) {
        const std::optional<QuoteSource> source = SourceNamed(*sourceName, settings);
        if (!source) {
            std::fprintf(stderr,
                         "velmora-cli: no quote source is named \"%s\"; \"velmora-cli sources\" "
                         "lists them\n",
                         sourceName->c_str());
            return 2;
        }
        chain = {*source};
    }
    CKx7Doc doc(settings);
    PortfolioLock lock;
    std::string path;  // where the updated portfolio is saved
    if (!OpenForWriting(doc, arguments[0], arguments[0], force, lock, path)) {
        return 1;
    }
    StderrFetchNotifier notifier;
    CWeb web(notifier);
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::seconds(settings.quoteDeadlineSeconds);
    const auto keepGoing = [deadline] { return std::chrono::steady_clock::now() < deadline; };
    web.SetProgressCallback(keepGoing);
    HostPacer pacer;
    QuoteTally tally;
    std::vector<std::string> lines;
    std::vector<QuoteResult> obtained;
    FetchFromChain(
        web, LoadQuoteHosts(SettingsFilePath()), QuoteCaller::kDialog, chain, ChainSymbols(doc),
        pacer,
        [&](const std::vector<QuoteResult>& results) {
            for (std::string& line : ApplyQuoteResults(doc, results, &tally)) {
                lines.push_back(std::move(line));
            }
            obtained.insert(obtained.end(), results.begin(), results.end());
            return true;
        },
        keepGoing);
    FinishQuoteUpdate(doc);
    std::sort(lines.begin(), lines.end());
    for (const std::string& line : lines) {
        std::printf("%s\n", line.c_str());
    }
    for (const std::string& failure : tally.failures) {
        std::fprintf(stderr, "velmora-cli: no price for %s\n", failure.c_str());
    }
    if (tally.prices == 0 && !doc.SymbolNames(SymbolFilter::kHeldLots).empty()) {
        // Nothing new to keep: the file is left as it was.
        std::fprintf(stderr, "velmora-cli: no price arrived; %s is not written\n", path.c_str());
        return 1;
    }
    if (const int saved = SaveOrSay(doc, path); saved != 0) {
        return saved;
    }
    PriceHistoryKeeper history;
    for (const std::string& problem : history.Open(path)) {
        std::fprintf(stderr, "velmora-cli: price history: %s\n", problem.c_str());
    }
    if (const std::string error = history.Record(obtained, Clock::Now()); !error.empty()) {
        std::fprintf(stderr, "velmora-cli: the prices were not added to the history: %s\n",
                     error.c_str());
    }
    return 0;
}

// "sources": the list, one source's definition, or a test of one symbol.
int Sources(const std::vector<std::string>& arguments) {
    const Settings settings = LoadSettingsOrSay();
    const std::vector<std::string> chain =
        EffectiveQuoteChain(settings.quoteChain, settings.quoteSource);
    if (arguments.empty() || (arguments.size() == 1 && arguments[0] == "list")) {
        for (const QuoteSource& source : AllQuoteSources(settings.quoteSources)) {
            const auto place = std::find(chain.begin(), chain.end(), source.name);
            const std::string mark =
                place == chain.end() ? "-" : std::to_string(place - chain.begin() + 1);
            const char* origin = source.origin == SourceOrigin::kDescribed   ? "built in"
                                 : source.origin == SourceOrigin::kReadyMade ? "ready-made"
                                                                             : "yours";
            std::printf("%2s  %s (%s)\n", mark.c_str(), source.name.c_str(), origin);
        }
        return 0;
    }
    const std::optional<QuoteSource> source =
        arguments.size() >= 2 ? SourceNamed(arguments[1], settings) : std::nullopt;
    if (arguments.size() == 2 && arguments[0] == "show" && source) {
        std::printf("%s\n", QuoteSourceJson(*source).c_str());
        return 0;
    }
    if (arguments.size() == 3 && arguments[0] == "test" && source) {
        SilentFetchNotifier notifier;
        CWeb web(notifier);
        HostPacer pacer;
        const SourceTestReport report =
            TestQuoteSource(web, LoadQuoteHosts(SettingsFilePath()), *source, arguments[2], pacer);
        std::printf("%s", SourceTestText(report).c_str());
        return report.quote.found ? 0 : 1;
    }
    if (arguments.size() >= 2 && !source) {
        std::fprintf(stderr, "velmora-cli: no quote source is named \"%s\"\n",
                     arguments[1].c_str());
        return 2;
    }
    std::fprintf(stderr,
                 "Usage: velmora-cli sources [list]\n"
                 "       velmora-cli sources show NAME\n"
                 "       velmora-cli sources test NAME SYMBOL\n");
    return 2;
}

const std::vector<Command>& Commands() {
    static const std::vector<Command> commands = WithReportCommands({
        {"settings", "", "show the settings the program would start with", ShowSettings},
        {"dump", "FILE", "print a portfolio file as JSON", Dump},
        {"convert", "IN OUT [--force]",
         "read a portfolio file of any version, write the current one", Convert},
        {"demo", "FILE", "write a small demo portfolio", Demo},
        {"update", "FILE [--source NAME] [--force]", "fetch current prices into a portfolio file",
         Update},
        {"export", "FILE transactions|holdings|gains [--date D] [--year Y] [--output OUT]",
         "write transactions, holdings on a date, or a tax year's realized gains as CSV",
         [](const std::vector<std::string>& arguments) { return RunExportCommand(arguments); }},
        {"import",
         "FILE IN [--mapping NAME] [--matching fifo|lifo|file] (--in-place | --output OUT)",
         "record the transactions of a CSV or QIF file, after a preview",
         [](const std::vector<std::string>& arguments) { return RunImportCommand(arguments); }},
        {"sources", "[list | show NAME | test NAME SYMBOL]",
         "list the quote sources (the chain's order first), show or test one", Sources},
    });
    return commands;
}

void PrintUsage(std::FILE* out) {
    std::fprintf(out, "Usage: velmora-cli COMMAND [ARGUMENTS]\n\nCommands:\n");
    for (const Command& command : Commands()) {
        const std::string head = std::string(command.name) + " " + std::string(command.arguments);
        std::fprintf(out, "  %-32s %s\n", head.c_str(), std::string(command.summary).c_str());
    }
    std::fprintf(out, "\nReport commands take these options before their name:\n  %s\n",
                 std::string(kReportOptionsUsage).c_str());
    std::fprintf(out, "  %-32s %s\n", "COMMAND --help", "show the arguments of a command");
    std::fprintf(out, "  %-32s %s\n", "--version", "show the version");
    std::fprintf(out, "  %-32s %s\n", "--help", "show this text");
}

}  // namespace

int main(int argc, char* argv[]) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    if (arguments.empty() || arguments[0] == "--help" || arguments[0] == "-h") {
        PrintUsage(stdout);
        return arguments.empty() ? 2 : 0;
    }
    if (arguments[0] == "--version") {
        std::printf("%s %s\n", kProductName, VersionText().c_str());
        return 0;
    }
    if (IsReportOption(arguments[0])) {
        return RunReportCommandLine(arguments);
    }
    for (const Command& command : Commands()) {
        if (command.name == arguments[0]) {
            return command.run({arguments.begin() + 1, arguments.end()});
        }
    }
    std::fprintf(stderr, "velmora-cli: unknown command '%s'\n\n", arguments[0].c_str());
    PrintUsage(stderr);
    return 2;
}
