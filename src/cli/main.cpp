// velmora-cli: the portfolio tools without a window.

#include <QString>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "OpenPortfolio.h"
#include "PortfolioJson.h"
#include "ReportCommands.h"
#include "core/model/DemoPortfolio.h"
#include "core/model/Kx7Doc.h"
#include "core/model/Kx7File.h"
#include "core/model/PortfolioLock.h"
#include "core/quotes/FetchNotifier.h"
#include "core/quotes/QuoteUpdate.h"
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
    return LoadSettingsFile(path);
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

// One price update as the "Quote Price" dialog runs it; its list lines go to stdout in the
// dialog's (sorted) order and the portfolio is saved.
int Update(std::vector<std::string> arguments) {
    const bool force = TakeFlag(arguments, "--force");
    QuoteServer source = QuoteServer::kYahoo;
    const bool sourceGiven = arguments.size() == 3 && arguments[1] == "--source";
    bool sourceKnown = true;
    if (sourceGiven) {
        const std::string& value = arguments[2];
        sourceKnown = value == "0" || value == "1" || value == "2";
        source = static_cast<QuoteServer>(value[0] - '0');
    }
    if ((arguments.size() != 1 && !sourceGiven) || !sourceKnown) {
        std::fprintf(stderr, "Usage: velmora-cli update FILE [--source 0|1|2] [--force]\n");
        return 2;
    }
    Settings settings = LoadSettingsOrSay();
    settings.quoteSource = source;
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
    web.SetProgressCallback([deadline] { return std::chrono::steady_clock::now() < deadline; });
    QuoteTally tally;
    std::vector<std::string> lines = RunQuoteUpdate(doc, web, LoadQuoteHosts(SettingsFilePath()),
                                                    source, QuoteCaller::kDialog, {}, &tally);
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
    return SaveOrSay(doc, path);
}

const std::vector<Command>& Commands() {
    static const std::vector<Command> commands = WithReportCommands({
        {"settings", "", "show the settings the program would start with", ShowSettings},
        {"dump", "FILE", "print a portfolio file as JSON", Dump},
        {"convert", "IN OUT [--force]",
         "read a portfolio file of any version, write the current one", Convert},
        {"demo", "FILE", "write a small demo portfolio", Demo},
        {"update", "FILE [--source 0|1|2] [--force]", "fetch current prices into a portfolio file",
         Update},
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
