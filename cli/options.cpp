// The values given to a command, and the forms of number it accepts.
#include "cli/options.h"

#include <cerrno>
#include <cstdlib>

namespace orvano::cli {

namespace {

bool AllDigits(std::string_view text) {
    for (const char c : text) {
        if (c < '0' || c > '9') return false;
    }
    return true;
}

}  // namespace

bool IsPlainInteger(std::string_view text) {
    if (text.starts_with('-')) text.remove_prefix(1);
    return !text.empty() && AllDigits(text);
}

bool IsPlainDecimal(std::string_view text) {
    if (text.starts_with('-')) text.remove_prefix(1);
    const size_t point = text.find('.');
    const std::string_view whole = text.substr(0, point);
    const std::string_view fraction =
        point == std::string_view::npos ? std::string_view() : text.substr(point + 1);
    return whole.size() + fraction.size() > 0 && AllDigits(whole) && AllDigits(fraction);
}

std::optional<std::string> Options::get(const std::string& name) const {
    auto it = values_.find(name);
    if (it == values_.end()) return std::nullopt;
    return it->second;
}

std::optional<long> Options::getInt(const std::string& name, long min, long max) const {
    auto text = get(name);
    if (!text) return std::nullopt;
    errno = 0;
    char* end = nullptr;
    const long value = IsPlainInteger(*text) ? std::strtol(text->c_str(), &end, 10) : 0;
    if (end == nullptr || *end != '\0' || errno != 0 || value < min || value > max) {
        throw UsageError("option '--" + name + "' needs a whole number from " +
                         std::to_string(min) + " to " + std::to_string(max) + ", not '" + *text +
                         "'");
    }
    return value;
}

std::optional<double> Options::getDouble(const std::string& name) const {
    auto text = get(name);
    if (!text) return std::nullopt;
    errno = 0;
    char* end = nullptr;
    const double value = IsPlainDecimal(*text) ? std::strtod(text->c_str(), &end) : 0;
    if (end == nullptr || *end != '\0' || errno != 0) {
        throw UsageError("option '--" + name + "' needs a number, not '" + *text + "'");
    }
    return value;
}

}  // namespace orvano::cli
