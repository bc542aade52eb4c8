// The pieces under both readers and the writer: numbers written exactly as the
// formats print them in the "C" locale, the field scanner, and the encodings.
#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <string>

#include "config/grammar.h"
#include "config/text_encoding.h"
#include "config_test_support.h"

namespace orvano {
namespace {

using testing::Printf;
using Scan = CfgScanner::Scan;

const double kValues[] = {0.0,    -0.0,    0.833, 18,       19.5,   -2.5,      1e-5,    0.0001,
                          123456, 1234567, 1e21,  -1e-300,  0.1,    2.0 / 3,   36.7538, -118.2437,
                          5e-324, DBL_MAX, 13.25, 999999.5, 0.5e-6, 1e15 + 0.3};

TEST(ConfigGrammar, NumbersPrintAsTheFormatsDo) {
    for (const double v : kValues) {
        SCOPED_TRACE(Printf("%.17g", v));
        EXPECT_EQ(GeneralText(v), Printf("%g", v));
        EXPECT_EQ(FixedText(v, 6).substr(0, 300), Printf("%lf", v).substr(0, 300));
        EXPECT_EQ(FixedText(v, 7).substr(0, 300), Printf("%.7f", v).substr(0, 300));
    }
    for (const int v : {0, 1, -1, 90, INT_MAX, INT_MIN}) EXPECT_EQ(IntText(v), Printf("%d", v));
}

TEST(ConfigGrammar, PaddingCountsCharacters) {
    EXPECT_EQ(PadRight("ab", 4), "ab  ");
    EXPECT_EQ(PadRight("abcdef", 4), "abcdef");
    EXPECT_EQ(PadRight("\xC3\xA9t\xC3\xA9", 4), "\xC3\xA9t\xC3\xA9 ");
}

TEST(ConfigGrammar, IntegersFitIn32Bits) {
    CfgScanner s(" 2147483647 -2147483648 2147483648 ");
    int v = 0;
    EXPECT_EQ(s.ReadInt(v), Scan::Ok);
    EXPECT_EQ(v, INT_MAX);
    EXPECT_EQ(s.ReadInt(v), Scan::Ok);
    EXPECT_EQ(v, INT_MIN);
    EXPECT_EQ(s.ReadInt(v), Scan::Bad);
    EXPECT_EQ(v, INT_MIN);  // untouched by the refused number
}

TEST(ConfigGrammar, RealsMustBeFiniteDoubles) {
    struct Case {
        const char* text;
        Scan scan;
        double value;
    } cases[] = {
        {"1e-310", Scan::Ok, 1e-310},  // subnormal, still a number
        {"4.94066e-324", Scan::Ok, 5e-324},
        {"1.79769e308", Scan::Ok, 1.79769e308},
        {"1e309", Scan::Bad, 0},
        {"nan", Scan::Bad, 0},
        {"-inf", Scan::Bad, 0},
        {"infinity", Scan::Bad, 0},
        {"+-1", Scan::Bad, 0},
        {"++1", Scan::Bad, 0},
        {"+.5", Scan::Ok, 0.5},
        {"-0", Scan::Ok, -0.0},
        {"x", Scan::Bad, 0},
        {"   ", Scan::End, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        CfgScanner s(c.text);
        double v = 0;
        EXPECT_EQ(s.ReadDouble(v), c.scan);
        if (c.scan == Scan::Ok) {
            EXPECT_EQ(v, c.value);
        }
    }
}

TEST(ConfigGrammar, RestOfLine) {
    CfgScanner s(" a \"b\"\r\nnext\n\nlast");
    EXPECT_EQ(s.ReadRestOfLine(), " a \"b\"");
    EXPECT_EQ(s.ReadRestOfLine(), "next");
    EXPECT_EQ(s.ReadRestOfLine(), "");
    EXPECT_EQ(s.ReadRestOfLine(), "last");
    EXPECT_TRUE(s.AtEnd());
    EXPECT_EQ(s.ReadRestOfLine(), "");
}

TEST(ConfigGrammar, RecordsForThePlugInReader) {
    CfgScanner s("1 3 1 0\n2 France Paris 48.8566 2.3522 1 1 5\n4 2 1 2 3 4 5 6\n8 x\n7\n");
    Record header = ReadRecord(s);
    EXPECT_EQ(header.type, Record::Type::Header);
    EXPECT_EQ(header.NumberOfTowns, 3);
    EXPECT_EQ(header.TownSelected, 1);
    Record town = ReadRecord(s);
    ASSERT_EQ(town.type, Record::Type::Town);
    CurrentPlace place;
    FillCurrentPlace(town.town, place);
    EXPECT_EQ(place.latitude, Degrees{48.8566});
    EXPECT_EQ(place.Convention, 5);
    Record minutes = ReadRecord(s);
    EXPECT_EQ(minutes.type, Record::Type::AddedMinutes);
    EXPECT_EQ(minutes.conventionIndex, 2);
    EXPECT_EQ(minutes.addedMinutes[5], 6.0);
    Record comment = ReadRecord(s);
    EXPECT_EQ(comment.type, Record::Type::Comment);
    EXPECT_EQ(comment.rest, " x");
    Record bad = ReadRecord(s);
    EXPECT_EQ(bad.type, Record::Type::BadFormat);
    EXPECT_TRUE(bad.kindRead);
    EXPECT_EQ(bad.kind, 7);
    EXPECT_EQ(ReadRecord(s).type, Record::Type::End);
}

TEST(ConfigEncoding, Utf8Validation) {
    EXPECT_TRUE(IsValidUtf8("plain"));
    EXPECT_TRUE(IsValidUtf8("\xC3\xA9\xE2\x82\xAC\xF0\x9F\x95\x8C"));
    EXPECT_TRUE(IsValidUtf8(std::string("a\0b", 3)));
    for (const char* bad : {"\xE9", "\xC0\x80", "\xC3", "\xED\xA0\x80", "\xF4\x90\x80\x80",
                            "\xE0\x80\x80", "\x80", "\xF8\x88\x80\x80\x80"}) {
        EXPECT_FALSE(IsValidUtf8(bad)) << Printf("%02x", static_cast<unsigned char>(bad[0]));
    }
}

TEST(ConfigEncoding, EveryWindows1252ByteGoesThereAndBack) {
    std::string all;
    for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
    TextEncoding encoding = TextEncoding::Utf8;
    const std::string text = DecodeConfigBytes(all, encoding);
    EXPECT_EQ(encoding, TextEncoding::Windows1252);
    EXPECT_TRUE(IsValidUtf8(text));
    EXPECT_EQ(CharCount(text), 255u);
    std::string back;
    ASSERT_TRUE(Utf8ToWindows1252(text, back));
    EXPECT_EQ(back, all);
    EXPECT_EQ(DecodeConfigBytes("\x80\x92\xE9", encoding), "\xE2\x82\xAC\xE2\x80\x99\xC3\xA9");
}

TEST(ConfigEncoding, CutNeverSplitsACharacter) {
    const std::string text =
        "a\xC3\xA9\xE2\x82\xAC"
        "b";
    EXPECT_EQ(CutToChars(text, 0), "");
    EXPECT_EQ(CutToChars(text, 2), "a\xC3\xA9");
    EXPECT_EQ(CutToChars(text, 3), "a\xC3\xA9\xE2\x82\xAC");
    EXPECT_EQ(CutToChars(text, 10), text);
}

}  // namespace
}  // namespace orvano
