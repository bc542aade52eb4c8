// Digits as shown: the code points are those of the Unicode charts
// "Arabic" (U+0660..U+0669, ARABIC-INDIC DIGIT ZERO..NINE) and
// U+06F0..U+06F9 (EXTENDED ARABIC-INDIC DIGIT ZERO..NINE).
#include "language/digits.h"

#include <gtest/gtest.h>

namespace orvano::testing {
namespace {

struct DigitsCase {
    const char* language;
    DigitStyle style;
    const char* text;
    const char* shown;
};

constexpr DigitsCase kCases[] = {
    {"ar", DigitStyle::Arabic, "0123456789",
     "\u0660\u0661\u0662\u0663\u0664\u0665\u0666\u0667\u0668\u0669"},
    {"fa", DigitStyle::Arabic, "0123456789",
     "\u06F0\u06F1\u06F2\u06F3\u06F4\u06F5\u06F6\u06F7\u06F8\u06F9"},
    {"ur", DigitStyle::Arabic, "12:07*", "\u06F1\u06F2:\u06F0\u06F7*"},
    // The letters around the digits, Arabic ones included, are kept.
    {"ar", DigitStyle::Arabic, "\u0627\u0644\u0623\u062D\u062F  8  2026",
     "\u0627\u0644\u0623\u062D\u062F  \u0668  \u0662\u0660\u0662\u0666"},
    {"ar", DigitStyle::Arabic, "--:-- ", "--:-- "},
    {"ar", DigitStyle::Arabic, "", ""},
    // Latin digits unless asked, and only these three languages change them.
    {"ar", DigitStyle::Latin, "05:42", "05:42"},
    {"fa", DigitStyle::Latin, "05:42", "05:42"},
    {"fr", DigitStyle::Arabic, "05:42", "05:42"},
    {"tr", DigitStyle::Arabic, "05:42", "05:42"},
    {"en", DigitStyle::Arabic, "05:42", "05:42"},
};

TEST(ShownDigitsTest, MapsAsciiDigitsForTheLanguage) {
    for (const DigitsCase& c : kCases) {
        EXPECT_EQ(ShownDigits(c.text, c.language, c.style), c.shown)
            << c.language << " " << DigitStyleName(c.style) << " \"" << c.text << "\"";
    }
}

TEST(ShownDigitsTest, ReadsTheSettingsWords) {
    EXPECT_EQ(ParseDigitStyle("latin"), DigitStyle::Latin);
    EXPECT_EQ(ParseDigitStyle("arabic"), DigitStyle::Arabic);
    EXPECT_EQ(ParseDigitStyle("Arabic"), DigitStyle::Arabic);
    EXPECT_EQ(ParseDigitStyle(""), std::nullopt);
    EXPECT_EQ(ParseDigitStyle("eastern"), std::nullopt);
    EXPECT_STREQ(DigitStyleName(DigitStyle::Arabic), "arabic");
    EXPECT_STREQ(DigitStyleName(DigitStyle::Latin), "latin");
}

}  // namespace
}  // namespace orvano::testing
