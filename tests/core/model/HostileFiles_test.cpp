// What is not an ordinary portfolio file, or is one of absurd size, is refused or read in
// time: never a hang.

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

#include "core/model/FileBytes.h"
#include "core/model/Kx7Doc.h"
#include "core/model/Kx7File.h"
#include "core/settings/Settings.h"
#include "support/TempFolder.h"

namespace {

using Clock = std::chrono::steady_clock;

// A second in a plain build. AddressSanitizer makes every allocation and access several
// times slower; a search through the others would still take many minutes there.
#if defined(__SANITIZE_ADDRESS__)
constexpr double kSecondOfWork = 4.0;
#else
constexpr double kSecondOfWork = 1.0;
#endif

// The processor time this process has spent: unlike the time on the wall, it does not
// grow when other programs share the machine, so a limit on it holds on a busy machine.
double ProcessorSeconds() {
    return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

TEST(HostileFilesTest, AFifoIsRefusedAtOnce) {
    const TempFolder temp("velmora-hostile");
    const std::string fifo = (temp.Path() / "p.kx7").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const Settings settings;
    CKx7Doc doc(settings);
    const auto start = Clock::now();
    const Kx7ReadResult read = OpenKx7File(doc, fifo);
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(1));
    EXPECT_NE(read.error.find("not a regular file"), std::string::npos) << read.error;
    EXPECT_NE(ReadFileBytes(fifo, 1 << 20).error.find("not a regular file"), std::string::npos);
}

// Reading many distinct alerts takes a lookup per alert, not a search through the others.
TEST(HostileFilesTest, ThreeHundredThousandAlertsLoadInUnderASecond) {
    const Settings settings;
    CKx7Doc source(settings);
    std::vector<AlertEntry> alerts;
    for (int index = 0; index < 300'000; ++index) {
        alerts.push_back(AlertEntry{"S" + std::to_string(index), 1.0, 2.0, -1.0, 5.0});
    }
    source.ReplaceAlerts(std::move(alerts));
    const std::vector<std::uint8_t> bytes = StoreKx7(source);

    CKx7Doc doc(settings);
    const double start = ProcessorSeconds();
    const Kx7ReadResult read = LoadKx7(doc, bytes);
    const double took = ProcessorSeconds() - start;
    ASSERT_TRUE(read.Ok() && !read.Incomplete()) << read.error << read.warning;
    EXPECT_LT(took, kSecondOfWork);
    ASSERT_EQ(doc.Alerts().size(), 300'000u);
    EXPECT_EQ(doc.Alerts().back().symbol, "S299999");
    EXPECT_EQ(doc.AlertOf("S299999"), (AlertThresholds{1.0, 2.0, -1.0, 5.0}));
    EXPECT_FALSE(doc.IsModified());
}

struct AlertGroupCase {
    const char* name;
    std::vector<std::string> symbols;  // in file order; the n-th has a low mark of n
};

class AlertGroupTest : public ::testing::TestWithParam<AlertGroupCase> {};

// A symbol that comes again in the file updates its first alert in place, as setting the
// alerts one after another does, whatever the symbols' characters.
TEST_P(AlertGroupTest, LoadsAsSettingEachAlertInTurn) {
    const Settings settings;
    CKx7Doc expected(settings);
    std::vector<AlertEntry> written;
    for (std::size_t n = 0; n < GetParam().symbols.size(); ++n) {
        const std::string& symbol = GetParam().symbols[n];
        const AlertThresholds thresholds{static_cast<double>(n), -1.0, 2.5, 7.0};
        expected.SetAlert(symbol, thresholds);
        written.push_back(AlertEntry{symbol, thresholds.lowMark, thresholds.highMark,
                                     thresholds.percentDown, thresholds.percentUp});
    }
    CKx7Doc source(settings);
    source.ReplaceAlerts(std::move(written));  // repeats and all, as a file may hold them

    CKx7Doc doc(settings);
    doc.SetAlert("OLD", {});
    const std::uint64_t revision = doc.Revision();
    const Kx7ReadResult read = LoadKx7(doc, StoreKx7(source));
    ASSERT_TRUE(read.Ok() && !read.Incomplete()) << read.error << read.warning;
    ASSERT_EQ(doc.Alerts().size(), expected.Alerts().size());
    for (std::size_t i = 0; i < expected.Alerts().size(); ++i) {
        const AlertEntry& got = doc.Alerts()[i];
        const AlertEntry& want = expected.Alerts()[i];
        EXPECT_EQ(got.symbol, want.symbol) << i;
        EXPECT_EQ(got.Thresholds(), want.Thresholds()) << got.symbol;
        EXPECT_EQ(got.alertState, 0) << got.symbol;
    }
    EXPECT_FALSE(doc.IsModified());
    EXPECT_NE(doc.Revision(), revision);
}

std::vector<std::string> ManySymbolsEachTwice() {
    std::vector<std::string> symbols;
    for (int round = 0; round < 2; ++round) {
        for (int index = 0; index < 1000; ++index) {
            symbols.push_back("S" + std::to_string(index));
        }
    }
    return symbols;
}

INSTANTIATE_TEST_SUITE_P(
    Repeats, AlertGroupTest,
    ::testing::Values(AlertGroupCase{"none", {}}, AlertGroupCase{"distinct", {"A", "B", "C"}},
                      AlertGroupCase{"repeatAtOnce", {"A", "A", "B"}},
                      AlertGroupCase{"repeatLater", {"A", "B", "A", "C", "B", "A"}},
                      AlertGroupCase{"caseCounts", {"abc", "ABC", "abc"}},
                      AlertGroupCase{"emptySymbol", {"", "X", ""}},
                      // Windows-1252 and the wide form: read through a scratch text, not in
                      // place.
                      AlertGroupCase{"nonAscii",
                                     {"CAF\u00c9", "\u6f22", "CAF\u00c9", "\u6f22", "CAFE"}},
                      AlertGroupCase{"manyEachTwice", ManySymbolsEachTwice()}),
    [](const ::testing::TestParamInfo<AlertGroupCase>& param) { return param.param.name; });

}  // namespace
