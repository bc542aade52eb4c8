#include "astro/trace.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdarg>
#include <cstdint>
#include <cstring>
#include <cwchar>
#include <optional>
#include <string>

namespace orvano {

namespace {

// One conversion of a printf format: "%[flags][width][.precision][length]conversion".
struct Conversion {
    std::string flags;
    int width = 0;
    int precision = -1;  // none given
    std::string length;
    char kind = '\0';
};

// Parses the conversion at `p` (just after '%'), taking '*' widths and
// precisions from the arguments; leaves `p` after the conversion character.
Conversion ParseConversion(const char*& p, va_list& args) {
    Conversion c;
    while (*p != '\0' && std::strchr("-+ #0", *p) != nullptr) c.flags += *p++;
    if (*p == '*') {
        ++p;
        c.width = va_arg(args, int);
        if (c.width < 0) {
            c.flags += '-';
            c.width = -c.width;
        }
    } else {
        while (*p >= '0' && *p <= '9') c.width = c.width * 10 + (*p++ - '0');
    }
    if (*p == '.') {
        ++p;
        if (*p == '*') {
            ++p;
            c.precision = std::max(-1, va_arg(args, int));
        } else {
            c.precision = 0;
            while (*p >= '0' && *p <= '9') c.precision = c.precision * 10 + (*p++ - '0');
        }
    }
    while (*p != '\0' && std::strchr("hlLjzt", *p) != nullptr) c.length += *p++;
    if (*p != '\0') c.kind = *p++;
    return c;
}

bool Has(const Conversion& c, char flag) {
    return c.flags.find(flag) != std::string::npos;
}

// The '#' flag: a finite number always has a decimal point, before any exponent.
void KeepPoint(std::string& text, bool finite) {
    if (!finite || text.find('.') != std::string::npos) return;
    const size_t at = text.find_first_of("ep");
    text.insert(at == std::string::npos ? text.size() : at, ".");
}

// "%#g": printf's own choice between fixed and exponent notation, keeping the
// trailing zeros that plain "%g" removes.
template <typename Real>
std::string AlternateGeneral(Real value, int precision) {
    char buffer[512];
    const int p = precision == 0 ? 1 : precision;
    std::to_chars_result r =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, p - 1);
    if (r.ec != std::errc()) return {};
    const char* e = std::find(buffer, r.ptr, 'e');
    int exponent = 0;
    // to_chars writes no terminating zero: the exponent is read up to r.ptr only.
    if (e != r.ptr) std::from_chars(e + (e[1] == '+' ? 2 : 1), r.ptr, exponent);
    if (e != r.ptr && p > exponent && exponent >= -4) {
        r = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed,
                          p - 1 - exponent);
    }
    std::string text(buffer, r.ptr);
    KeepPoint(text, std::isfinite(value));
    return text;
}

// The digits std::to_chars writes for every floating-point conversion but
// "%#g"; nothing when they do not fit.
template <typename Real>
std::optional<std::string> ToCharsText(const Conversion& c, char kind, int precision, Real value) {
    char buffer[512];
    const std::chars_format format = kind == 'f'   ? std::chars_format::fixed
                                     : kind == 'e' ? std::chars_format::scientific
                                     : kind == 'a' ? std::chars_format::hex
                                                   : std::chars_format::general;
    const auto [end, error] =
        precision < 0 ? std::to_chars(buffer, buffer + sizeof buffer, value, format)
                      : std::to_chars(buffer, buffer + sizeof buffer, value, format, precision);
    // Only a fixed-notation huge value with a huge precision can overflow the buffer.
    if (error != std::errc()) return std::nullopt;
    std::string text(buffer, end);
    if (Has(c, '#')) KeepPoint(text, std::isfinite(value));
    return text;
}

// Takes the minus off the digits and returns the sign to write: the minus,
// or what the '+' and ' ' flags ask for, then "0x" for a finite hex float.
std::string TakeSign(const Conversion& c, char kind, bool finite, std::string& text) {
    const bool negative = !text.empty() && text[0] == '-';
    std::string sign = negative ? "-" : Has(c, '+') ? "+" : Has(c, ' ') ? " " : "";
    if (negative) text.erase(0, 1);
    if (kind == 'a' && finite) sign += "0x";
    return sign;
}

void ToUpper(std::string& text) {
    for (char& ch : text) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
}

// Sign and digits filled out to the conversion's width.
std::string Padded(const Conversion& c, const std::string& sign, const std::string& text,
                   bool finite) {
    const size_t used = sign.size() + text.size();
    const size_t width = static_cast<size_t>(c.width);
    if (used >= width) return sign + text;
    if (Has(c, '-')) return sign + text + std::string(width - used, ' ');
    if (Has(c, '0') && finite) return sign + std::string(width - used, '0') + text;
    return std::string(width - used, ' ') + sign + text;
}

// A floating-point conversion through std::to_chars, which writes as printf
// does in the "C" locale: the decimal point stays a point under any LC_NUMERIC.
template <typename Real>
std::string FloatText(const Conversion& c, Real value) {
    const bool upper = c.kind >= 'A' && c.kind <= 'Z';
    const char kind = static_cast<char>(std::tolower(static_cast<unsigned char>(c.kind)));
    const int precision = c.precision < 0 ? (kind == 'a' ? -1 : 6) : c.precision;
    std::string text;
    if (kind == 'g' && Has(c, '#')) {
        text = AlternateGeneral(value, precision);
    } else if (std::optional<std::string> digits = ToCharsText(c, kind, precision, value)) {
        text = std::move(*digits);
    } else {
        return std::string(static_cast<size_t>(c.width), '?');
    }
    const bool finite = std::isfinite(value);
    std::string sign = TakeSign(c, kind, finite, text);
    if (upper) {
        ToUpper(text);
        ToUpper(sign);
    }
    return Padded(c, sign, text, finite);
}

// One value through printf with the conversion's own spec.
template <typename T>
std::string PrintOne(const std::string& spec, T value) {
    const int n = std::snprintf(nullptr, 0, spec.c_str(), value);
    if (n <= 0) return std::string();
    std::string text(static_cast<size_t>(n), '\0');
    std::snprintf(text.data(), text.size() + 1, spec.c_str(), value);
    return text;
}

std::string SignedText(const std::string& spec, const std::string& length, va_list& args) {
    if (length == "ll") return PrintOne(spec, va_arg(args, long long));
    if (length == "l") return PrintOne(spec, va_arg(args, long));
    if (length == "z") return PrintOne(spec, va_arg(args, std::ptrdiff_t));
    if (length == "j") return PrintOne(spec, va_arg(args, std::intmax_t));
    if (length == "t") return PrintOne(spec, va_arg(args, std::ptrdiff_t));
    return PrintOne(spec, va_arg(args, int));  // hh and h arrive promoted to int
}

std::string UnsignedText(const std::string& spec, const std::string& length, va_list& args) {
    if (length == "ll") return PrintOne(spec, va_arg(args, unsigned long long));
    if (length == "l") return PrintOne(spec, va_arg(args, unsigned long));
    if (length == "z") return PrintOne(spec, va_arg(args, size_t));
    if (length == "j") return PrintOne(spec, va_arg(args, std::uintmax_t));
    if (length == "t") return PrintOne(spec, va_arg(args, size_t));
    return PrintOne(spec, va_arg(args, unsigned));
}

// Any other conversion is the C library's: integers, characters and strings
// are written the same in every locale (no "'" flag is used).
std::string OtherText(const Conversion& c, va_list& args) {
    std::string spec = "%" + c.flags;
    if (c.width > 0) spec += std::to_string(c.width);
    if (c.precision >= 0) spec += "." + std::to_string(c.precision);
    spec += c.length;
    spec += c.kind;
    switch (c.kind) {
        case 'd':
        case 'i':
            return SignedText(spec, c.length, args);
        case 'u':
        case 'o':
        case 'x':
        case 'X':
            return UnsignedText(spec, c.length, args);
        case 'c':
            if (c.length == "l") return PrintOne(spec, static_cast<wint_t>(va_arg(args, wint_t)));
            return PrintOne(spec, va_arg(args, int));
        case 's':
            if (c.length == "l") return PrintOne(spec, va_arg(args, const wchar_t*));
            return PrintOne(spec, va_arg(args, const char*));
        case 'p':
            return PrintOne(spec, va_arg(args, void*));
        default:
            return {};  // "%n" and unknown conversions write nothing
    }
}

std::string VFormat(const char* format, va_list args) {
    va_list own;
    va_copy(own, args);
    std::string text;
    for (const char* p = format; *p != '\0';) {
        if (*p != '%') {
            const char* next = std::strchr(p, '%');
            if (next == nullptr) next = p + std::strlen(p);
            text.append(p, next);
            p = next;
            continue;
        }
        ++p;
        if (*p == '%') {
            text += '%';
            ++p;
            continue;
        }
        const Conversion c = ParseConversion(p, own);
        if (c.kind == '\0') break;
        if (std::strchr("fFeEgGaA", c.kind) != nullptr) {
            text += c.length == "L" ? FloatText(c, va_arg(own, long double))
                                    : FloatText(c, va_arg(own, double));
        } else {
            text += OtherText(c, own);
        }
    }
    va_end(own);
    return text;
}

}  // namespace

void FileTraceSink::Write(std::string_view text) {
    if (file_ != nullptr) std::fwrite(text.data(), 1, text.size(), file_);
}

std::string PrintableText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x20 || c == 0x7F) {
            out += Format("\\x%02x", c);
        } else if (c == 0xC2 && i + 1 < text.size() &&
                   static_cast<unsigned char>(text[i + 1]) >= 0x80 &&
                   static_cast<unsigned char>(text[i + 1]) <= 0x9F) {
            out += Format("\\x%02x", static_cast<unsigned char>(text[++i]));
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string Format(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::string text = VFormat(format, args);
    va_end(args);
    return text;
}

void Trace::Printf(const char* format, ...) const {
    if (!on()) return;
    va_list args;
    va_start(args, format);
    sink->Write(VFormat(format, args));
    va_end(args);
}

}  // namespace orvano
