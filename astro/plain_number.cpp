#include "astro/plain_number.h"

#include <charconv>

namespace orvano {

namespace {

bool AllDigits(std::string_view text) {
    return text.find_first_not_of("0123456789") == std::string_view::npos;
}

std::string_view WithoutMinus(std::string_view text) {
    if (text.starts_with('-')) text.remove_prefix(1);
    return text;
}

}  // namespace

bool IsPlainInteger(std::string_view text) {
    text = WithoutMinus(text);
    return !text.empty() && AllDigits(text);
}

bool IsPlainDecimal(std::string_view text) {
    text = WithoutMinus(text);
    const size_t point = text.find('.');
    const std::string_view whole = text.substr(0, point);
    const std::string_view fraction =
        point == std::string_view::npos ? std::string_view() : text.substr(point + 1);
    return whole.size() + fraction.size() > 0 && AllDigits(whole) && AllDigits(fraction);
}

std::optional<long> PlainInteger(std::string_view text, long min, long max) {
    if (!IsPlainInteger(text)) return std::nullopt;
    long value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || stop != end || value < min || value > max) return std::nullopt;
    return value;
}

std::optional<double> PlainDecimal(std::string_view text) {
    if (!IsPlainDecimal(text)) return std::nullopt;
    double value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || stop != end) return std::nullopt;
    return value;
}

}  // namespace orvano
