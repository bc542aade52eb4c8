#include "calendar/html_text.h"

#include <cstdint>

#include "config/text_encoding.h"

namespace orvano {

namespace {

bool IsControl(char32_t c) {
    return c < 0x20 || (c >= 0x7F && c <= 0x9F);
}

// Marks that reorder how a name is shown: a file name with them can look like
// another ("evil\u202Elmth.exe").
bool IsBidiControl(char32_t c) {
    return c == 0x061C || c == 0x200E || c == 0x200F || (c >= 0x202A && c <= 0x202E) ||
           (c >= 0x2066 && c <= 0x2069);
}

}  // namespace

std::string Utf8ToLatin1Html(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (size_t pos = 0; pos < utf8.size();) {
        size_t length = 1;
        const char32_t c = DecodeUtf8Char(utf8, pos, length);
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
        const char32_t c = DecodeUtf8Char(utf8, pos, length);
        const bool leadingDot = pos == 0 && c == '.';
        pos += length;
        if (c == '/' || c == '\\' || IsControl(c) || IsBidiControl(c) || leadingDot) {
            out += '_';
        } else {
            AppendUtf8(out, c);
        }
    }
    return out;
}

std::string CutToFit(std::string_view utf8, size_t maxChars, size_t maxBytes) {
    size_t pos = 0;
    for (size_t chars = 0; pos < utf8.size() && chars < maxChars; ++chars) {
        size_t length = 1;
        DecodeUtf8Char(utf8, pos, length);
        if (pos + length > maxBytes) break;
        pos += length;
    }
    return std::string(utf8.substr(0, pos));
}

size_t CharacterCount(std::string_view utf8) {
    size_t count = 0;
    for (size_t pos = 0; pos < utf8.size(); ++count) {
        size_t length = 1;
        DecodeUtf8Char(utf8, pos, length);
        pos += length;
    }
    return count;
}

}  // namespace orvano
