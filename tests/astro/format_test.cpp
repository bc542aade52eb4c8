// Format writes what printf writes in the "C" locale, whatever LC_NUMERIC is.
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "astro/trace.h"

namespace orvano {
namespace {

// The C library's own text, in whatever locale is in force.
std::string CText(const char* spec, double value) {
    char buffer[2048];
    std::snprintf(buffer, sizeof buffer, spec, value);
    return buffer;
}

std::vector<double> SampleValues() {
    std::vector<double> values = {0.0,
                                  -0.0,
                                  1.5,
                                  0.1,
                                  -2.5,
                                  0.5,
                                  9.9999995,
                                  999999.5,
                                  1e-5,
                                  123456.789,
                                  -0.000123456789,
                                  1e300,
                                  5e-324,
                                  std::numeric_limits<double>::max(),
                                  std::numeric_limits<double>::infinity(),
                                  -std::numeric_limits<double>::infinity(),
                                  std::nan("")};
    std::mt19937_64 bits(20261207);
    for (int i = 0; i < 400; ++i) {
        const std::uint64_t word = bits();
        double value;
        std::memcpy(&value, &word, sizeof value);
        values.push_back(value);
    }
    std::uniform_real_distribution<double> angle(-400.0, 400.0);
    for (int i = 0; i < 400; ++i) values.push_back(angle(bits));
    return values;
}

const char* const kFloatSpecs[] = {
    "%g",     "%.17g", "%.2f", "%02.0f", "%-16g", "%-15.7f", "%e",     "%+.3e",  "% g",
    "%10.4f", "%-7g",  "%G",   "%E",     "%#.0f", "%.0e",    "%.0g",   "%08.3f", "%+012g",
    "%lf",    "%#.0e", "%a",   "%A",     "%.3a",  "%F",      "%-+9.1f"};

TEST(Format, FloatsMatchTheCLibraryInTheCLocale) {
    ASSERT_STREQ(std::setlocale(LC_NUMERIC, nullptr), "C");
    for (const char* spec : kFloatSpecs) {
        for (double value : SampleValues()) {
            if (std::strchr(spec, 'a') || std::strchr(spec, 'A')) {
                // glibc writes subnormals as 0x0.…; the hexadecimal form is only
                // checked on normal numbers.
                if (std::fpclassify(value) == FP_SUBNORMAL) continue;
            }
            ASSERT_EQ(Format(spec, value), CText(spec, value))
                << spec << " of " << CText("%a", value);
        }
    }
}

TEST(Format, OtherConversionsAndEverythingAround) {
    EXPECT_EQ(Format("%s|%d|%02x|%-6.5s|%3d|%ld|%zu|%c|%%|%5s|%-4d|%*d|%.*f", "abc", -42, 0xAu,
                     "abcdefgh", 7, 1234567890123L, size_t{99}, 'Z', "r", 3, 4, 12, 2, 3.14159),
              "abc|-42|0a|abcde |  7|1234567890123|99|Z|%|    r|3   |  12|3.14");
    // "%#g" as the C standard has it (glibc writes "1.e+06" for the third).
    EXPECT_EQ(Format("%#g|%#.3g|%#g|%#.0g|%#.3g", 1.0, 0.0001234, 999999.5, 5.0, 1e10),
              "1.00000|0.000123|1.00000e+06|5.|1.00e+10");
    EXPECT_EQ(Format("%Lg %.3Lf", 0.5L, 2.0L / 3.0L), "0.5 0.667");
    EXPECT_EQ(Format("%ls|%lc", L"wide", static_cast<wint_t>(L'c')), "wide|c");
    EXPECT_EQ(Format("no conversions"), "no conversions");
    EXPECT_EQ(Format("%s", std::string(5000, 'x').c_str()).size(), 5000u);
}

TEST(Format, KeepsTheDecimalPointUnderACommaLocale) {
    if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr) {
        GTEST_SKIP() << "the de_DE.UTF-8 locale is not generated (tools/install-deps makes it)";
    }
    const std::string local = CText("%g", 1.5);
    std::string ours = Format("%g %.2f %.17g %e", 1.5, 2.25, 0.1, 1234.5);
    StringTraceSink sink;
    Trace{1, &sink}.Printf("T=%g JC", -0.0875);
    std::setlocale(LC_NUMERIC, "C");
    ASSERT_EQ(local, "1,5");  // the locale really is in force
    EXPECT_EQ(ours, "1.5 2.25 0.10000000000000001 1.234500e+03");
    EXPECT_EQ(sink.text(), "T=-0.0875 JC");
}

}  // namespace
}  // namespace orvano
