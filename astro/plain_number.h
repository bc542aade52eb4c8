// The plain decimal forms a number typed by the user may take. The C library's
// conversions, Qt's and CLI11's also take a plus sign, leading spaces, a base
// prefix or an exponent, and read "010" as 8; every command-line option that
// takes a number checks its text here first.
#pragma once

#include <optional>
#include <string_view>

namespace orvano {

// An optional minus sign and one or more digits.
bool IsPlainInteger(std::string_view text);
// An optional minus sign and digits with at most one point among them.
bool IsPlainDecimal(std::string_view text);

// The value of a plain integer within [min, max], else nothing.
std::optional<long> PlainInteger(std::string_view text, long min, long max);
// The value of a plain decimal, correctly rounded, else nothing.
std::optional<double> PlainDecimal(std::string_view text);

}  // namespace orvano
