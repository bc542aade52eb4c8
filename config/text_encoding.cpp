#include "config/text_encoding.h"

#include <array>
#include <cstdint>

namespace orvano {

namespace {

// Windows-1252 0x80..0x9F; the five bytes the code page leaves undefined map to
// the C1 control of the same value, as the platform's own conversion does.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// Length of the valid UTF-8 sequence starting at `i`, 0 when it is not valid.
size_t SequenceLength(std::string_view s, size_t i) {
    const auto byte = [&](size_t k) { return static_cast<uint8_t>(s[k]); };
    const uint8_t b0 = byte(i);
    if (b0 < 0x80) return 1;
    size_t length = 0;
    uint8_t low = 0x80, high = 0xBF;  // allowed range of the second byte
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        length = 2;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        length = 3;
        if (b0 == 0xE0) low = 0xA0;   // no overlong forms
        if (b0 == 0xED) high = 0x9F;  // no surrogates
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        length = 4;
        if (b0 == 0xF0) low = 0x90;
        if (b0 == 0xF4) high = 0x8F;  // nothing above U+10FFFF
    } else {
        return 0;
    }
    if (i + length > s.size()) return 0;
    if (byte(i + 1) < low || byte(i + 1) > high) return 0;
    for (size_t k = 2; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) return 0;
    }
    return length;
}

char32_t DecodeAt(std::string_view s, size_t i, size_t length) {
    const auto byte = [&](size_t k) { return static_cast<char32_t>(static_cast<uint8_t>(s[k])); };
    switch (length) {
        case 1:
            return byte(i);
        case 2:
            return ((byte(i) & 0x1F) << 6) | (byte(i + 1) & 0x3F);
        case 3:
            return ((byte(i) & 0x0F) << 12) | ((byte(i + 1) & 0x3F) << 6) | (byte(i + 2) & 0x3F);
        default:
            return ((byte(i) & 0x07) << 18) | ((byte(i + 1) & 0x3F) << 12) |
                   ((byte(i + 2) & 0x3F) << 6) | (byte(i + 3) & 0x3F);
    }
}

}  // namespace

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

char32_t DecodeUtf8Char(std::string_view utf8, size_t pos, size_t& length) {
    length = SequenceLength(utf8, pos);
    if (length == 0) {
        length = 1;
        return static_cast<uint8_t>(utf8[pos]);
    }
    return DecodeAt(utf8, pos, length);
}

bool IsValidUtf8(std::string_view bytes) {
    for (size_t i = 0; i < bytes.size();) {
        const size_t length = SequenceLength(bytes, i);
        if (length == 0) return false;
        i += length;
    }
    return true;
}

std::string DecodeConfigBytes(std::string_view bytes, TextEncoding& encoding) {
    if (IsValidUtf8(bytes)) {
        encoding = TextEncoding::Utf8;
        if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
        return std::string(bytes);
    }
    encoding = TextEncoding::Windows1252;
    std::string text;
    text.reserve(bytes.size() + bytes.size() / 8);
    for (const char ch : bytes) {
        const auto b = static_cast<uint8_t>(ch);
        if (b >= 0x80 && b < 0xA0) {
            AppendUtf8(text, kHighControls[b - 0x80]);
        } else {
            AppendUtf8(text, b);
        }
    }
    return text;
}

bool Utf8ToWindows1252(std::string_view utf8, std::string& out) {
    out.clear();
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();) {
        const size_t length = SequenceLength(utf8, i);
        if (length == 0) return false;
        const char32_t c = DecodeAt(utf8, i, length);
        i += length;
        if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
            out += static_cast<char>(c);
            continue;
        }
        bool found = false;
        for (size_t k = 0; k < kHighControls.size(); ++k) {
            if (kHighControls[k] == c) {
                out += static_cast<char>(0x80 + k);
                found = true;
                break;
            }
        }
        if (!found) return false;
    }
    return true;
}

std::string EncodeConfigText(std::string_view utf8, TextEncoding encoding) {
    if (encoding == TextEncoding::Windows1252) {
        std::string single;
        if (Utf8ToWindows1252(utf8, single)) return single;
    }
    return std::string(utf8);
}

size_t CharCount(std::string_view utf8) {
    size_t count = 0;
    for (const char ch : utf8) {
        if ((static_cast<uint8_t>(ch) & 0xC0) != 0x80) ++count;
    }
    return count;
}

std::string_view CutToChars(std::string_view utf8, size_t maxChars) {
    size_t count = 0;
    for (size_t i = 0; i < utf8.size(); ++i) {
        if ((static_cast<uint8_t>(utf8[i]) & 0xC0) != 0x80) {
            if (count == maxChars) return utf8.substr(0, i);
            ++count;
        }
    }
    return utf8;
}

std::string_view CutToBytes(std::string_view utf8, size_t maxBytes) {
    if (utf8.size() <= maxBytes) return utf8;
    size_t end = maxBytes;
    while (end > 0 && (static_cast<uint8_t>(utf8[end]) & 0xC0) == 0x80) --end;
    return utf8.substr(0, end);
}

}  // namespace orvano
