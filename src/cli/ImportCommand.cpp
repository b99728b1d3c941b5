#include "ImportCommand.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string_view>

#include "OpenPortfolio.h"
#include "core/exchange/CsvImport.h"
#include "core/exchange/ImportPlan.h"
#include "core/exchange/QifReader.h"
#include "core/model/FileBytes.h"
#include "core/model/Kx7Doc.h"
#include "core/model/Kx7File.h"
#include "core/model/PortfolioLock.h"
#include "core/reports/CsvText.h"
#include "core/settings/Settings.h"

namespace {

constexpr const char* kUsage =
    "Usage: velmora-cli import FILE IN [--mapping NAME] [--matching fifo|lifo|file] "
    "[--day-first] (--in-place | --output OUT) [--dry-run] [--force]\n";

// A transactions file larger than this is no one's history.
constexpr std::uint64_t kLargestImport = std::uint64_t{256} << 20;

int Say(const std::string& text) {
    std::fputs(text.c_str(), stderr);
    return 2;
}

bool EndsWith(std::string text, std::string_view suffix) {
    std::transform(text.begin(), text.end(), text.begin(), [](char c) {
        return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    });
    return text.ends_with(suffix);
}

void PrintPreview(const ImportPlan& plan) {
    for (const PlannedRow& planned : plan.rows) {
        if (planned.skipped.empty()) {
            continue;
        }
        std::fprintf(stderr, "velmora-cli: line %d skipped: %s\n", planned.row.line,
                     planned.skipped.c_str());
    }
    for (const ImportProblem& problem : plan.unread) {
        std::fprintf(stderr, "velmora-cli: %s\n", problem.reason.c_str());
    }
    std::printf("%d to record, %d skipped; bought %.2f, sold %.2f, dividends %.2f\n", plan.recorded,
                plan.skipped, plan.bought, plan.sold, plan.dividends);
}

}  // namespace

int RunImportCommand(std::vector<std::string> arguments) {
    const bool inPlace = TakeFlag(arguments, "--in-place");
    const bool dryRun = TakeFlag(arguments, "--dry-run");
    const bool dayFirst = TakeFlag(arguments, "--day-first");
    const bool force = TakeFlag(arguments, "--force");
    std::optional<std::string> mappingName;
    std::optional<std::string> matchingName;
    std::optional<std::string> output;
    if (!TakeValue(arguments, "--mapping", mappingName) ||
        !TakeValue(arguments, "--matching", matchingName) ||
        !TakeValue(arguments, "--output", output) || arguments.size() != 2 ||
        (inPlace == output.has_value() && !dryRun)) {
        return Say(kUsage);
    }
    ImportMatching matching = ImportMatching::kFifo;
    if (matchingName) {
        if (*matchingName == "lifo") {
            matching = ImportMatching::kLifo;
        } else if (*matchingName == "file") {
            matching = ImportMatching::kAsTheFileSays;
        } else if (*matchingName != "fifo") {
            return Say("velmora-cli: --matching takes fifo, lifo or file\n");
        }
    }
    const std::string& input = arguments[1];
    const bool qif = EndsWith(input, ".qif");
    if (!qif && !mappingName) {
        std::string names;
        for (const CsvMapping& mapping : ShippedCsvMappings()) {
            names += (names.empty() ? "\"" : ", \"") + mapping.name + "\"";
        }
        return Say("velmora-cli: a CSV file needs --mapping NAME (" + names + ")\n");
    }
    std::optional<CsvMapping> mapping;
    if (mappingName) {
        for (const CsvMapping& shipped : ShippedCsvMappings()) {
            if (shipped.name == *mappingName) {
                mapping = shipped;
            }
        }
        if (!mapping) {
            return Say("velmora-cli: no mapping is named \"" + *mappingName + "\"\n");
        }
    }
    const FileBytes bytes = ReadFileBytes(input, kLargestImport);
    if (!bytes.error.empty()) {
        std::fprintf(stderr, "velmora-cli: %s\n", bytes.error.c_str());
        return 1;
    }
    const std::string_view text(reinterpret_cast<const char*>(bytes.bytes.data()),
                                bytes.bytes.size());
    const ImportRows read = qif ? ReadQif(text, dayFirst) : ReadCsvImport(text, *mapping);
    if (!read.error.empty()) {
        std::fprintf(stderr, "velmora-cli: %s: %s\n", input.c_str(), read.error.c_str());
        return 1;
    }

    Settings settings;
    CKx7Doc doc(settings);
    PortfolioLock lock;
    std::string written;
    if (dryRun) {
        Kx7ReadResult result;
        if (!OpenPortfolio(doc, arguments[0], result)) {
            return 1;
        }
    } else if (!OpenForWriting(doc, arguments[0], output.value_or(arguments[0]), force, lock,
                               written)) {
        return 1;
    }
    const ImportPlan plan = PlanImport(doc, read, matching);
    PrintPreview(plan);
    if (plan.recorded == 0) {
        std::fprintf(stderr, "velmora-cli: nothing to record; no file is written\n");
        return 1;
    }
    if (dryRun) {
        return 0;
    }
    ApplyImport(doc, plan, matching);
    if (const std::string error = SaveKx7File(doc, written); !error.empty()) {
        std::fprintf(stderr, "velmora-cli: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
