// The civil calendar against the day counts of POSIX time (86400-second days
// from 1970-01-01), and the reading of dates and clock times in text.
#include "astro/civil_date.h"

#include <gtest/gtest.h>

#include <array>

namespace orvano {
namespace {

TEST(CivilDate, DaysFromCivilCountsPosixDays) {
    // `date -u -d DATE +%s` / 86400.
    const struct {
        int year, month, day;
        long long days;
    } cases[] = {{1970, 1, 1, 0},     {1969, 12, 31, -1},   {2000, 1, 1, 10957},
                 {2000, 3, 1, 11017}, {2026, 12, 7, 20794}, {1900, 3, 1, -25508}};
    for (const auto& c : cases) {
        EXPECT_EQ(DaysFromCivil(c.year, c.month, c.day), c.days) << c.year << "-" << c.month;
    }
    EXPECT_EQ(AddDays(CivilDateOf(2024, 3, 1), -1), CivilDateOf(2024, 2, 29));
    EXPECT_EQ(AddDays(CivilDateOf(2026, 12, 31), 1), CivilDateOf(2027, 1, 1));
}

TEST(CivilDate, ReadsOnlyDecimalFieldsAndSaysWhy) {
    using F = CivilTextFault;
    const struct {
        const char* text;
        const char* format;
        F fault;
        int year, month, day, hour, minute, second;
    } cases[] = {
        {"2024-02-29", "%Y-%m-%d", F::kNone, 2024, 2, 29, 0, 0, 0},
        {"2024-1-5", "%Y-%m-%d", F::kNone, 2024, 1, 5, 0, 0, 0},
        {"2024-03", "%Y-%m", F::kNone, 2024, 3, 1, 0, 0, 0},
        {"9/5/2024", "%d/%m/%Y", F::kNone, 2024, 5, 9, 0, 0, 0},
        {"2024-01-05 1:2:3", "%Y-%m-%d %H:%M:%S", F::kNone, 2024, 1, 5, 1, 2, 3},
        {"2024-+2-28", "%Y-%m-%d", F::kShape, 0, 1, 1, 0, 0, 0},
        {" 2024-02-28", "%Y-%m-%d", F::kShape, 0, 1, 1, 0, 0, 0},
        {"2024-02-28x", "%Y-%m-%d", F::kShape, 0, 1, 1, 0, 0, 0},
        {"2024-02", "%Y-%m-%d", F::kShape, 0, 1, 1, 0, 0, 0},
        {"12345-01-01", "%Y-%m-%d", F::kShape, 0, 1, 1, 0, 0, 0},
        {"2024-01-0512:00:00", "%Y-%m-%d %H:%M:%S", F::kShape, 0, 1, 1, 0, 0, 0},
        {"2024-01-05  12:00:00", "%Y-%m-%d %H:%M:%S", F::kShape, 0, 1, 1, 0, 0, 0},
        {"24-01-01", "%Y-%m-%d", F::kShortYear, 24, 1, 1, 0, 0, 0},
        {"1/1/024", "%d/%m/%Y", F::kShortYear, 24, 1, 1, 0, 0, 0},
        {"2023-02-29", "%Y-%m-%d", F::kNoSuchDate, 2023, 2, 29, 0, 0, 0},
        {"2024-13-01", "%Y-%m-%d", F::kNoSuchDate, 2024, 13, 1, 0, 0, 0},
        {"0000-01-01", "%Y-%m-%d", F::kNoSuchDate, 0, 1, 1, 0, 0, 0},
        {"2024-01-05 12:60:00", "%Y-%m-%d %H:%M:%S", F::kNoSuchTime, 2024, 1, 5, 12, 60, 0},
        {"2024-01-05 24:00:00", "%Y-%m-%d %H:%M:%S", F::kNoSuchTime, 2024, 1, 5, 24, 0, 0},
    };
    for (const auto& c : cases) {
        const CivilText t = ParseCivilText(c.text, c.format);
        EXPECT_EQ(t.fault, c.fault) << c.text;
        if (t.fault == F::kShape) continue;  // the fields read are then of no use
        EXPECT_EQ((std::array{t.year, t.month, t.day, t.hour, t.minute, t.second}),
                  (std::array{c.year, c.month, c.day, c.hour, c.minute, c.second}))
            << c.text;
    }
}

}  // namespace
}  // namespace orvano
