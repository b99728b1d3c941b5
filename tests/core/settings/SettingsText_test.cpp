#include "core/settings/SettingsText.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "core/settings/Version.h"

namespace {

using Stored = std::map<std::pair<std::string, std::string>, std::string>;

Settings Read(const Stored& stored) {
    return ReadSettings(
        [&](const std::string& section, const std::string& key) -> std::optional<std::string> {
            const auto it = stored.find({section, key});
            if (it == stored.end()) {
                return std::nullopt;
            }
            return it->second;
        });
}

TEST(SettingsTextTest, FirstRunGivesTheDefaultsAndWritesThemInOrder) {
    const Settings settings = Read({});
    EXPECT_TRUE(settings.dateMonthFirst);
    EXPECT_EQ(settings.pieRecordCount, 20);
    EXPECT_EQ(settings.pieGrouping, PieGrouping::kByPercent);
    EXPECT_TRUE(settings.ungroupOptions);
    EXPECT_EQ(settings.quoteSource, QuoteServer::kYahoo);
    EXPECT_FALSE(settings.autoUpdate);
    EXPECT_EQ(settings.updateInterval, 3);
    EXPECT_TRUE(settings.chartShown);
    EXPECT_TRUE(settings.valueShown);

    const std::vector<SettingsEntry> expected{
        {"Settings", "DateFormat", "DMY"}, {"Settings", "ShowCount", "20"},
        {"Settings", "ShowBy", "Percent"}, {"Settings", "SeperateO", "TRUE"},
        {"Settings", "WebSource", "1"},    {"AutoUpdate", "Enabled", "FFALSE"},
        {"AutoUpdate", "Timer", "3"},      {"Quotes", "Deadline", "60"},
    };
    EXPECT_EQ(SettingsEntries(settings), expected);
}

struct ShowCountCase {
    const char* stored;
    int expected;
};

class ShowCountTest : public ::testing::TestWithParam<ShowCountCase> {};

TEST_P(ShowCountTest, AcceptsFiveToThirtyOnly) {
    const ShowCountCase& c = GetParam();
    EXPECT_EQ(Read({{{"Settings", "ShowCount"}, c.stored}}).pieRecordCount, c.expected)
        << '"' << c.stored << '"';
}

INSTANTIATE_TEST_SUITE_P(Texts, ShowCountTest,
                         ::testing::Values(ShowCountCase{"4", 20}, ShowCountCase{"5", 5},
                                           ShowCountCase{"30", 30}, ShowCountCase{"31", 20},
                                           ShowCountCase{"abc", 20}, ShowCountCase{"0", 20},
                                           ShowCountCase{"-7", 20}, ShowCountCase{"", 20},
                                           ShowCountCase{" 12", 12},
                                           ShowCountCase{"99999999999999999999", 20}));

struct TextRuleCase {
    const char* name;
    const char* section;
    const char* key;
    const char* stored;
    std::function<bool(const Settings&)> holds;
};

class TextRuleTest : public ::testing::TestWithParam<TextRuleCase> {};

TEST_P(TextRuleTest, ReadsTheStoredText) {
    const TextRuleCase& c = GetParam();
    EXPECT_TRUE(c.holds(Read({{{c.section, c.key}, c.stored}}))) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Keys, TextRuleTest,
    ::testing::Values(
        TextRuleCase{"MDY flips to day first", "Settings", "DateFormat", "MDY",
                     [](const Settings& s) { return !s.dateMonthFirst; }},
        TextRuleCase{"DMY shows month first", "Settings", "DateFormat", "DMY",
                     [](const Settings& s) { return s.dateMonthFirst; }},
        TextRuleCase{"lower case mdy is not MDY", "Settings", "DateFormat", "mdy",
                     [](const Settings& s) { return s.dateMonthFirst; }},
        TextRuleCase{"dmy shows month first", "Settings", "DateFormat", "dmy",
                     [](const Settings& s) { return s.dateMonthFirst; }},
        TextRuleCase{"ShowBy Value", "Settings", "ShowBy", "Value",
                     [](const Settings& s) { return s.pieGrouping == PieGrouping::kByValue; }},
        TextRuleCase{"ShowBy Symbol", "Settings", "ShowBy", "Symbol",
                     [](const Settings& s) { return s.pieGrouping == PieGrouping::kBySymbol; }},
        TextRuleCase{"ShowBy value is percent", "Settings", "ShowBy", "value",
                     [](const Settings& s) { return s.pieGrouping == PieGrouping::kByPercent; }},
        TextRuleCase{"SeperateO FALSE", "Settings", "SeperateO", "FALSE",
                     [](const Settings& s) { return !s.ungroupOptions; }},
        TextRuleCase{"SeperateO false is on", "Settings", "SeperateO", "false",
                     [](const Settings& s) { return s.ungroupOptions; }},
        TextRuleCase{"WebSource 2 is ignored", "Settings", "WebSource", "2",
                     [](const Settings& s) { return s.quoteSource == QuoteServer::kYahoo; }},
        TextRuleCase{"Enabled TRUE", "AutoUpdate", "Enabled", "TRUE",
                     [](const Settings& s) { return s.autoUpdate; }},
        TextRuleCase{"Enabled true is off", "AutoUpdate", "Enabled", "true",
                     [](const Settings& s) { return !s.autoUpdate; }},
        TextRuleCase{"Enabled FALSE is off", "AutoUpdate", "Enabled", "FALSE",
                     [](const Settings& s) { return !s.autoUpdate; }},
        TextRuleCase{"Timer out of range is kept", "AutoUpdate", "Timer", "42",
                     [](const Settings& s) { return s.updateInterval == 42; }},
        TextRuleCase{"Timer negative is kept", "AutoUpdate", "Timer", "-1",
                     [](const Settings& s) { return s.updateInterval == -1; }},
        TextRuleCase{"Timer not a number is 3", "AutoUpdate", "Timer", "soon",
                     [](const Settings& s) { return s.updateInterval == 3; }},
        TextRuleCase{"Deadline 30", "Quotes", "Deadline", "30",
                     [](const Settings& s) { return s.quoteDeadlineSeconds == 30; }},
        TextRuleCase{"Deadline 0 is 60", "Quotes", "Deadline", "0",
                     [](const Settings& s) { return s.quoteDeadlineSeconds == 60; }},
        TextRuleCase{"Deadline of days is 60", "Quotes", "Deadline", "86400",
                     [](const Settings& s) { return s.quoteDeadlineSeconds == 60; }}));

TEST(SettingsTextTest, WrittenTextsReadBackToTheSameValues) {
    Settings changed;
    changed.dateMonthFirst = false;
    changed.pieRecordCount = 7;
    changed.pieGrouping = PieGrouping::kBySymbol;
    changed.ungroupOptions = false;
    changed.quoteSource = QuoteServer::kNasdaq;
    changed.autoUpdate = true;
    changed.updateInterval = 5;
    Stored stored;
    for (const SettingsEntry& entry : SettingsEntries(changed)) {
        stored[{entry.section, entry.key}] = entry.value;
    }
    EXPECT_EQ(stored[std::make_pair(std::string("Settings"), std::string("DateFormat"))], "MDY");
    EXPECT_EQ(stored[std::make_pair(std::string("Settings"), std::string("WebSource"))], "2");
    const Settings read = Read(stored);
    EXPECT_FALSE(read.dateMonthFirst);
    EXPECT_EQ(read.pieRecordCount, 7);
    EXPECT_EQ(read.pieGrouping, PieGrouping::kBySymbol);
    EXPECT_FALSE(read.ungroupOptions);
    EXPECT_EQ(read.quoteSource, QuoteServer::kYahoo);
    EXPECT_TRUE(read.autoUpdate);
    EXPECT_EQ(read.updateInterval, 5);
}

TEST(SettingsTextTest, AnUnknownPieGroupingIsWrittenAsPercent) {
    Settings settings;
    settings.pieGrouping = static_cast<PieGrouping>(9);
    EXPECT_EQ(SettingsEntries(settings)[2].value, "Percent");
}

TEST(VersionTest, VersionTextAndProductName) {
    EXPECT_EQ(VersionText(), "Version 5.1.0.0");
    EXPECT_STREQ(kProductName, "Velmora");
}

}  // namespace
