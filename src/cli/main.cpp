// velmora-cli: the portfolio tools without a window.

#include <QString>
#include <cstdio>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "app/SettingsFile.h"
#include "app/SettingsText.h"
#include "app/Version.h"

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

const std::vector<Command>& Commands() {
    static const std::vector<Command> commands{
        {"settings", "", "show the settings the program would start with", ShowSettings},
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
