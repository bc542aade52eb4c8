#include "astro/plain_number.h"

#include <gtest/gtest.h>

#include <climits>
#include <optional>
#include <string>

namespace orvano {
namespace {

// What strtol, strtod or QString::toInt would take and a plain form refuses,
// beside the forms it keeps.
TEST(PlainNumber, TakesOnlyDigitsAMinusAndAPoint) {
    const struct {
        std::string text;
        std::optional<long> integer;  // in [-100, 100]
        std::optional<double> decimal;
    } cases[] = {
        {"12", 12, 12.0},
        {"-7", -7, -7.0},
        {"010", 10, 10.0},
        {"36.75", std::nullopt, 36.75},
        {".5", std::nullopt, 0.5},
        {"-0.1", std::nullopt, -0.1},
        {"101", std::nullopt, 101.0},
        {"+2", std::nullopt, std::nullopt},
        {" 1", std::nullopt, std::nullopt},
        {"1 ", std::nullopt, std::nullopt},
        {"0x10", std::nullopt, std::nullopt},
        {"1e1", std::nullopt, std::nullopt},
        {"1.2.3", std::nullopt, std::nullopt},
        {"-", std::nullopt, std::nullopt},
        {".", std::nullopt, std::nullopt},
        {"", std::nullopt, std::nullopt},
        {"nan", std::nullopt, std::nullopt},
        {"99999999999999999999", std::nullopt, 1e20},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("'" + c.text + "'");
        EXPECT_EQ(PlainInteger(c.text, -100, 100), c.integer);
        EXPECT_EQ(PlainDecimal(c.text), c.decimal);
    }
    EXPECT_EQ(PlainInteger("99999999999999999999", LONG_MIN, LONG_MAX), std::nullopt);
}

}  // namespace
}  // namespace orvano
