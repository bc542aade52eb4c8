#include "calendar/html_text.h"

#include <cstdint>

namespace orvano {

namespace {

// Decodes one character at `pos`; on invalid UTF-8 (bad lead byte, missing or
// bad continuation, overlong form, surrogate, beyond U+10FFFF) returns the
// byte itself as the character and a length of one.
char32_t DecodeAt(std::string_view s, size_t pos, size_t& length) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(s[i]); };
    const unsigned char lead = byte(pos);
    length = 1;
    if (lead < 0x80) return lead;
    size_t extra = 0;
    char32_t value = 0;
    char32_t minimum = 0;
    if ((lead & 0xE0) == 0xC0) {
        extra = 1;
        value = lead & 0x1F;
        minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2;
        value = lead & 0x0F;
        minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3;
        value = lead & 0x07;
        minimum = 0x10000;
    } else {
        return lead;
    }
    if (pos + extra >= s.size()) return lead;  // cut short at the end
    for (size_t i = 1; i <= extra; ++i) {
        const unsigned char next = byte(pos + i);
        if ((next & 0xC0) != 0x80) return lead;
        value = (value << 6) | (next & 0x3F);
    }
    if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return lead;
    length = extra + 1;
    return value;
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

bool IsControl(char32_t c) {
    return c < 0x20 || (c >= 0x7F && c <= 0x9F);
}

}  // namespace

std::string Utf8ToLatin1Html(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (size_t pos = 0; pos < utf8.size();) {
        size_t length = 1;
        const char32_t c = DecodeAt(utf8, pos, length);
        pos += length;
        if (c <= 0xFF) {
            out += static_cast<char>(static_cast<unsigned char>(c));
        } else {
            out += "&#" + std::to_string(static_cast<std::uint32_t>(c)) + ";";
        }
    }
    return out;
}

std::string EscapeHtmlText(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (char c : utf8) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::string SafeFileNamePart(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (size_t pos = 0; pos < utf8.size();) {
        size_t length = 1;
        const char32_t c = DecodeAt(utf8, pos, length);
        const bool leadingDot = pos == 0 && c == '.';
        pos += length;
        if (c == '/' || c == '\\' || IsControl(c) || leadingDot) {
            out += '_';
        } else {
            AppendUtf8(out, c);
        }
    }
    return out;
}

size_t CharacterCount(std::string_view utf8) {
    size_t count = 0;
    for (size_t pos = 0; pos < utf8.size(); ++count) {
        size_t length = 1;
        DecodeAt(utf8, pos, length);
        pos += length;
    }
    return count;
}

}  // namespace orvano
