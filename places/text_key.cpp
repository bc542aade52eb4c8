#include "places/text_key.h"

#include <unicase.h>
#include <unictype.h>
#include <uninorm.h>
#include <unistr.h>

#include <cstdlib>
#include <memory>

namespace orvano {

namespace {

bool IsAscii(std::string_view text) {
    for (char c : text) {
        if ((static_cast<unsigned char>(c) & 0x80) != 0) return false;
    }
    return true;
}

std::string AsciiFolded(std::string_view text) {
    std::string key(text);
    for (char& c : key) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c == '_') c = ' ';
    }
    return key;
}

// Letters that carry their stroke or ligature in the letter itself rather
// than as a mark, and so survive decomposition: written as people type them.
const char* PlainLetters(ucs4_t c) {
    switch (c) {
        case 0x00E6:
            return "ae";  // æ
        case 0x00F0:
            return "d";  // ð
        case 0x00F8:
            return "o";  // ø
        case 0x00FE:
            return "th";  // þ
        case 0x0111:
            return "d";  // đ
        case 0x0127:
            return "h";  // ħ
        case 0x0131:
            return "i";  // ı
        case 0x0142:
            return "l";  // ł
        case 0x0153:
            return "oe";  // œ
        default:
            return nullptr;
    }
}

bool IsApostrophe(ucs4_t c) {
    // ' ` ´ and the modifier letters and quotation marks written for them.
    return c == '\'' || c == '`' || c == 0x00B4 || c == 0x02BB || c == 0x02BC || c == 0x2018 ||
           c == 0x2019;
}

}  // namespace

std::string FoldLetters(std::string_view text) {
    if (IsAscii(text)) return AsciiFolded(text);
    const auto* in = reinterpret_cast<const uint8_t*>(text.data());
    // Case folding with decomposition leaves each accent as a mark of its own,
    // which is then dropped.
    size_t length = 0;
    uint8_t* folded = u8_casefold(in, text.size(), nullptr, UNINORM_NFD, nullptr, &length);
    if (folded == nullptr) return AsciiFolded(text);  // not UTF-8: compare the bytes
    std::unique_ptr<uint8_t, decltype(&std::free)> owned(folded, &std::free);
    std::string key;
    key.reserve(length);
    const uint8_t* p = folded;
    const uint8_t* const end = folded + length;
    while (p < end) {
        ucs4_t c = 0;
        const int n = u8_mbtouc(&c, p, static_cast<size_t>(end - p));
        if (n <= 0) break;
        if (!uc_is_general_category(c, UC_CATEGORY_Mn)) {
            if (c == '_') {
                key += ' ';
            } else if (const char* plain = PlainLetters(c)) {
                key += plain;
            } else {
                key.append(reinterpret_cast<const char*>(p), static_cast<size_t>(n));
            }
        }
        p += n;
    }
    return key;
}

namespace {

// SearchKey of ASCII text, the gazetteer's names: the same, without decoding.
std::string AsciiSearchKey(std::string_view text) {
    std::string key;
    key.reserve(text.size());
    bool space = false;
    for (char c : text) {
        if (c == '\'' || c == '`') continue;
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) {
            if (space && !key.empty()) key += ' ';
            space = false;
            key += c;
        } else {
            space = true;
        }
    }
    return key;
}

}  // namespace

std::string SearchKey(std::string_view text) {
    if (IsAscii(text)) return AsciiSearchKey(text);
    const std::string folded = FoldLetters(text);
    std::string key;
    key.reserve(folded.size());
    bool space = false;
    const auto* p = reinterpret_cast<const uint8_t*>(folded.data());
    const uint8_t* const end = p + folded.size();
    while (p < end) {
        ucs4_t c = 0;
        int n = u8_mbtouc(&c, p, static_cast<size_t>(end - p));
        if (n <= 0) n = 1;
        if (!IsApostrophe(c)) {
            if (uc_is_alnum(c)) {
                if (space && !key.empty()) key += ' ';
                space = false;
                key.append(reinterpret_cast<const char*>(p), static_cast<size_t>(n));
            } else {
                space = true;
            }
        }
        p += n;
    }
    return key;
}

}  // namespace orvano
