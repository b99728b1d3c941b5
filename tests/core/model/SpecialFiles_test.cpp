// What is not an ordinary portfolio file, or is one of absurd size, is refused or read in
// time: never a hang.

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "app/Settings.h"
#include "model/FileBytes.h"
#include "model/Kx7Doc.h"
#include "model/Kx7File.h"
#include "support/TempFolder.h"

namespace {

using Clock = std::chrono::steady_clock;

// A second in a plain build. AddressSanitizer makes every allocation and access several
// times slower, and the tests run side by side; a search through the others would still
// take many minutes there.
#if defined(__SANITIZE_ADDRESS__)
constexpr auto kSecondOfWork = std::chrono::seconds(10);
#else
constexpr auto kSecondOfWork = std::chrono::seconds(1);
#endif

TEST(SpecialFilesTest, AFifoIsRefusedAtOnce) {
    const TempFolder temp("velmora-special");
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
TEST(SpecialFilesTest, ThreeHundredThousandAlertsLoadInUnderASecond) {
    const Settings settings;
    CKx7Doc source(settings);
    std::vector<AlertEntry> alerts;
    for (int index = 0; index < 300'000; ++index) {
        alerts.push_back(AlertEntry{"S" + std::to_string(index), 1.0, 2.0, -1.0, 5.0});
    }
    source.ReplaceAlerts(std::move(alerts));
    const std::vector<std::uint8_t> bytes = StoreKx7(source);

    CKx7Doc doc(settings);
    const auto start = Clock::now();
    const Kx7ReadResult read = LoadKx7(doc, bytes);
    const auto took = Clock::now() - start;
    ASSERT_TRUE(read.Ok() && !read.Incomplete()) << read.error << read.warning;
    EXPECT_LT(took, kSecondOfWork);
    ASSERT_EQ(doc.Alerts().size(), 300'000u);
    EXPECT_EQ(doc.Alerts().back().symbol, "S299999");
    EXPECT_EQ(doc.AlertOf("S299999"), (AlertThresholds{1.0, 2.0, -1.0, 5.0}));
}

}  // namespace
