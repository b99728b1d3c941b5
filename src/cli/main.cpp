// velmora-cli: the portfolio tools without a window.

#include <QString>
#include <cstdio>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "PortfolioJson.h"
#include "app/Settings.h"
#include "app/SettingsFile.h"
#include "app/SettingsText.h"
#include "app/Version.h"
#include "model/DemoPortfolio.h"
#include "model/Kx7Doc.h"
#include "model/Kx7File.h"

namespace {

struct Command {
    std::string_view name;
    std::string_view arguments;
    std::string_view summary;
    std::function<int(const std::vector<std::string>&)> run;
};

int ShowSettings(const std::vector<std::string>& /*arguments*/) {
    const Settings settings = LoadSettingsFile(SettingsFilePath());
    std::printf("file: %s\n", SettingsFilePath().toStdString().c_str());
    for (const SettingsEntry& entry : SettingsEntries(settings)) {
        std::printf("[%s] %s=%s\n", entry.section.c_str(), entry.key.c_str(), entry.value.c_str());
    }
    return 0;
}

// Opens the portfolio file, or says on stderr why it cannot; a partial read is told too.
bool OpenPortfolio(CKx7Doc& doc, const std::string& path, Kx7ReadResult& read) {
    read = OpenKx7File(doc, path);
    if (!read.Ok()) {
        std::fprintf(stderr, "velmora-cli: %s: %s\n", path.c_str(), read.error.c_str());
        return false;
    }
    if (!read.warning.empty()) {
        std::fprintf(stderr, "velmora-cli: %s: %s\n", path.c_str(), read.warning.c_str());
    }
    return true;
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
    std::fputs(PortfolioJson(doc, read).c_str(), stdout);
    return 0;
}

int Convert(const std::vector<std::string>& arguments) {
    if (arguments.size() != 2) {
        std::fprintf(stderr, "Usage: velmora-cli convert IN OUT\n");
        return 2;
    }
    const Settings settings;
    CKx7Doc doc(settings);
    Kx7ReadResult read;
    if (!OpenPortfolio(doc, arguments[0], read)) {
        return 1;
    }
    if (const std::string error = SaveKx7File(doc, arguments[1]); !error.empty()) {
        std::fprintf(stderr, "velmora-cli: %s\n", error.c_str());
        return 1;
    }
    return 0;
}

int Demo(const std::vector<std::string>& arguments) {
    if (arguments.size() != 1) {
        std::fprintf(stderr, "Usage: velmora-cli demo FILE\n");
        return 2;
    }
    const Settings settings;
    CKx7Doc doc(settings);
    BuildDemoPortfolio(doc);
    if (const std::string error = SaveKx7File(doc, arguments[0]); !error.empty()) {
        std::fprintf(stderr, "velmora-cli: %s\n", error.c_str());
        return 1;
    }
    return 0;
}

const std::vector<Command>& Commands() {
    static const std::vector<Command> commands{
        {"settings", "", "show the settings the program would start with", ShowSettings},
        {"dump", "FILE", "print a portfolio file as JSON", Dump},
        {"convert", "IN OUT", "read a portfolio file of any version, write the current one",
         Convert},
        {"demo", "FILE", "write a small demo portfolio", Demo},
    };
    return commands;
}

void PrintUsage(std::FILE* out) {
    std::fprintf(out, "Usage: velmora-cli COMMAND [ARGUMENTS]\n\nCommands:\n");
    for (const Command& command : Commands()) {
        const std::string head = std::string(command.name) + " " + std::string(command.arguments);
        std::fprintf(out, "  %-32s %s\n", head.c_str(), std::string(command.summary).c_str());
    }
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
    for (const Command& command : Commands()) {
        if (command.name == arguments[0]) {
            return command.run({arguments.begin() + 1, arguments.end()});
        }
    }
    std::fprintf(stderr, "velmora-cli: unknown command '%s'\n\n", arguments[0].c_str());
    PrintUsage(stderr);
    return 2;
}
