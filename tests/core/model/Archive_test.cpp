#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/model/ArchiveReader.h"
#include "core/model/ArchiveWriter.h"
#include "core/model/TextCodec.h"
#include "support/CaseName.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Written(const std::string& text) {
    CArchiveWriter out;
    out.WriteString(text);
    return out.Bytes();
}

struct PrefixCase {
    const char* name;
    std::size_t length;
    Bytes prefix;
};

class StringPrefixTest : public ::testing::TestWithParam<PrefixCase> {};

TEST_P(StringPrefixTest, WritesThePrefixAndReadsTheTextBack) {
    const PrefixCase& c = GetParam();
    const std::string text(c.length, 'x');
    const Bytes bytes = Written(text);
    ASSERT_EQ(bytes.size(), c.prefix.size() + c.length);
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(c.prefix.size())),
              c.prefix);
    CArchiveReader in(bytes);
    EXPECT_EQ(in.ReadString(), text);
    EXPECT_FALSE(in.Failed());
    EXPECT_EQ(in.Offset(), bytes.size());
}

INSTANTIATE_TEST_SUITE_P(
    Lengths, StringPrefixTest,
    ::testing::Values(PrefixCase{"empty", 0, {0x00}}, PrefixCase{"len254", 254, {0xFE}},
                      PrefixCase{"len255", 255, {0xFF, 0xFF, 0x00}},
                      PrefixCase{"len65533", 65533, {0xFF, 0xFD, 0xFF}},
                      PrefixCase{"len65534", 65534, {0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}},
                      PrefixCase{"len70000", 70000, {0xFF, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00}}),
    CaseName{});

TEST(ArchiveTest, NumbersAreLittleEndian) {
    CArchiveWriter out;
    out.WriteInt(-2);
    out.WriteFloat(-1.0f);
    out.WriteDouble(0.5);
    out.WriteTime(0x01020304);
    const Bytes expected{0xFE, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x80, 0xBF, 0,    0,
                         0,    0,    0,    0,    0xE0, 0x3F, 0x04, 0x03, 0x02, 0x01};
    EXPECT_EQ(out.Bytes(), expected);

    CArchiveReader in(out.Bytes());
    EXPECT_EQ(in.ReadInt(), -2);
    EXPECT_EQ(in.ReadFloat(), -1.0f);
    EXPECT_EQ(in.ReadDouble(), 0.5);
    EXPECT_EQ(in.ReadTime(), 0x01020304);
    EXPECT_FALSE(in.Failed());
}

// Times are unsigned 32-bit in the file: read as such, and held at the ends when written.
TEST(ArchiveTest, TimesOutsideTheFileRangeAreHeldAtItsEnds) {
    CArchiveWriter out;
    out.WriteTime(-86400);
    out.WriteTime(std::int64_t{1} << 33);
    CArchiveReader in(out.Bytes());
    EXPECT_EQ(in.ReadTime(), 0);
    EXPECT_EQ(in.ReadTime(), 0xFFFFFFFFLL);
}

TEST(ArchiveTest, Windows1252TextIsStoredNarrow) {
    EXPECT_EQ(Written("Caf\xC3\xA9 \xE2\x82\xAC"), (Bytes{0x06, 'C', 'a', 'f', 0xE9, ' ', 0x80}));
}

TEST(ArchiveTest, TextOutsideTheCodePageIsStoredWideAndReadBack) {
    const std::string text =
        "Soci\xC3\xA9t\xC3\xA9 \xE6\xA0\xAA\xE5\xBC\x8F\xE4\xBC\x9A\xE7\xA4\xBE"
        " \xF0\x9F\x93\x88";  // "Société 株式会社 📈"
    const Bytes bytes = Written(text);
    // Marker, 15 UTF-16 units (the chart is a surrogate pair), then "S" and "o".
    const Bytes head{0xFF, 0xFE, 0xFF, 15, 'S', 0, 'o', 0};
    ASSERT_GE(bytes.size(), head.size());
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 8), head);
    EXPECT_EQ(bytes.size(), 4u + 15u * 2u);
    CArchiveReader in(bytes);
    EXPECT_EQ(in.ReadString(), text);
    EXPECT_FALSE(in.Failed());
}

TEST(ArchiveTest, LongWideTextUsesTheLongPrefixAfterTheMarker) {
    std::string text;
    for (int i = 0; i < 300; ++i) {
        text += "\xE6\xA0\xAA";
    }
    const Bytes bytes = Written(text);
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 6), (Bytes{0xFF, 0xFE, 0xFF, 0xFF, 0x2C, 0x01}));
    CArchiveReader in(bytes);
    EXPECT_EQ(in.ReadString(), text);
}

TEST(ArchiveTest, InvalidUtf8IsWrittenWithReplacementCharacters) {
    const Bytes bytes = Written(std::string("a\xFF\xC3", 3));
    CArchiveReader in(bytes);
    EXPECT_EQ(in.ReadString(), "a\xEF\xBF\xBD\xEF\xBF\xBD");
    EXPECT_FALSE(in.Failed());
}

TEST(ArchiveTest, EveryCodePageByteSurvivesTheRoundTrip) {
    std::string all;
    for (int byte = 0; byte < 256; ++byte) {
        all += static_cast<char>(byte);
    }
    const std::string utf8 = Utf8FromWindows1252(all);
    EXPECT_EQ(Windows1252FromUtf8(utf8), all);
    EXPECT_EQ(Utf8FromUtf16(Utf16FromUtf8(utf8)), utf8);
}

TEST(ArchiveTest, UnpairedSurrogatesBecomeReplacementCharacters) {
    const std::u16string units{u'a', static_cast<char16_t>(0xD800), u'b',
                               static_cast<char16_t>(0xDC00)};
    EXPECT_EQ(Utf8FromUtf16(units),
              "a\xEF\xBF\xBD"
              "b\xEF\xBF\xBD");
}

struct DamagedCase {
    const char* name;
    Bytes bytes;
};

class DamagedStringTest : public ::testing::TestWithParam<DamagedCase> {};

TEST_P(DamagedStringTest, FailsWithoutReadingPastTheEnd) {
    CArchiveReader in(GetParam().bytes);
    EXPECT_EQ(in.ReadString(), "");
    EXPECT_TRUE(in.Failed());
    // Once failed, every read gives nothing.
    EXPECT_EQ(in.ReadInt(), 0);
    EXPECT_TRUE(in.Failed());
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, DamagedStringTest,
    ::testing::Values(DamagedCase{"nothing", {}}, DamagedCase{"short_text", {0x03, 'a', 'b'}},
                      DamagedCase{"short_word", {0xFF, 0x10}},
                      DamagedCase{"short_dword", {0xFF, 0xFF, 0xFF, 0x01, 0x00}},
                      DamagedCase{"wide_odd_bytes", {0xFF, 0xFE, 0xFF, 0x02, 'a', 0, 'b'}},
                      DamagedCase{"wide_marker_twice", {0xFF, 0xFE, 0xFF, 0xFF, 0xFE, 0xFF, 0}},
                      DamagedCase{"wide_without_length", {0xFF, 0xFE, 0xFF}}),
    CaseName{});

// The prefix claims 4 GiB; the reader must refuse it from the size of the input alone.
TEST(ArchiveTest, HugePrefixInASmallInputIsRefused) {
    for (const Bytes& head : {Bytes{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF},
                              Bytes{0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}}) {
        Bytes bytes = head;
        bytes.resize(100, 'x');
        CArchiveReader in(bytes);
        EXPECT_EQ(in.ReadString(), "");
        EXPECT_TRUE(in.Failed());
    }
}

TEST(ArchiveTest, ShortNumbersFail) {
    const Bytes three{1, 2, 3};
    CArchiveReader in(three);
    EXPECT_EQ(in.ReadDouble(), 0.0);
    EXPECT_TRUE(in.Failed());
}

}  // namespace
