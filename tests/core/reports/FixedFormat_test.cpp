#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <random>
#include <string>

#include "core/reports/ReportText.h"

namespace {

std::string Printed(double value, int precision, int width) {
    char buffer[512];
    std::snprintf(buffer, sizeof buffer, "%*.*f", width, precision, value);
    return buffer;
}

std::string Appended(double value, int precision, int width) {
    std::string text = "|";
    AppendFixed(text, value, precision, static_cast<std::size_t>(width));
    return text.substr(1);
}

void ExpectAsPrintf(double value) {
    for (const int precision : {0, 1, 2, 4, 6, 8}) {
        for (const int width : {0, 11, 14, 32, 40}) {
            EXPECT_EQ(Appended(value, precision, width), Printed(value, precision, width))
                << "value " << value << " precision " << precision << " width " << width;
        }
    }
}

constexpr float kFloatMax = std::numeric_limits<float>::max();
constexpr float kInfinity = std::numeric_limits<float>::infinity();

// Values whose rounding or sign printf treats specially, as floats and as doubles.
TEST(FixedFormatTest, WritesWhatPrintfWritesForAwkwardValues) {
    const double values[] = {0.0,
                             -0.0,
                             0.5,
                             1.5,
                             2.5,
                             -2.5,
                             0.125,
                             0.375,
                             -0.125,
                             0.005f,
                             0.015f,
                             0.025,
                             -0.00001f,
                             1.00005f,
                             999.995f,
                             999.99999f,
                             1234.5678f,
                             -1234.5678f,
                             0.1f,
                             0.1,
                             123456.789f,
                             16777216.0f,
                             16777217.0,
                             8.0e12f,
                             9.0e12f,
                             1.0e15f,
                             -3.0e38f,
                             kFloatMax,
                             -kFloatMax,
                             std::numeric_limits<float>::min(),
                             std::numeric_limits<float>::denorm_min(),
                             -std::numeric_limits<float>::denorm_min(),
                             1.0e-40f,
                             std::numeric_limits<double>::max(),
                             std::numeric_limits<double>::denorm_min(),
                             kInfinity,
                             -kInfinity,
                             std::numeric_limits<double>::quiet_NaN(),
                             -std::numeric_limits<double>::quiet_NaN()};
    for (const double value : values) {
        ExpectAsPrintf(value);
    }
}

// Exact halves at every scale the report precisions meet: n / 2^k for small n.
TEST(FixedFormatTest, RoundsExactHalvesToEvenAsPrintfDoes) {
    for (int k = 1; k <= 16; ++k) {
        for (int n = -40; n <= 40; ++n) {
            ExpectAsPrintf(std::ldexp(static_cast<double>(n), -k));
        }
    }
}

TEST(FixedFormatTest, WritesWhatPrintfWritesForRandomFloats) {
    std::mt19937 random(20240615u);
    std::uniform_int_distribution<std::uint32_t> bits;
    std::uniform_real_distribution<float> money(-100000.0f, 100000.0f);
    for (int i = 0; i < 20000; ++i) {
        // Every bit pattern, so every exponent; and the everyday range of report figures.
        const float anyFloat = std::bit_cast<float>(bits(random));
        ExpectAsPrintf(anyFloat);
        ExpectAsPrintf(money(random));
    }
}

}  // namespace
