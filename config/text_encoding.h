// data.cfg files come either as UTF-8 or as single-byte Windows-1252 text
// (older tables are written that way). In memory every text is UTF-8.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "config/records.h"

namespace orvano {

bool IsValidUtf8(std::string_view bytes);

void AppendUtf8(std::string& out, char32_t c);

// The character starting at `pos` and its length in bytes. A byte that does
// not start valid UTF-8 (bad lead or continuation, overlong form, surrogate,
// beyond U+10FFFF, cut short) is returned as itself with a length of one, so
// that text from elsewhere is read without losing anything.
char32_t DecodeUtf8Char(std::string_view utf8, size_t pos, size_t& length);

// UTF-8 as it is when valid, otherwise each byte taken as Windows-1252. A UTF-8
// byte-order mark at the start is dropped. `encoding` tells which was used.
std::string DecodeConfigBytes(std::string_view bytes, TextEncoding& encoding);

// Back to Windows-1252; false (and `out` unspecified) when a character has no
// single-byte form there.
bool Utf8ToWindows1252(std::string_view utf8, std::string& out);

// The bytes to write for `utf8` in `encoding`. Falls back to UTF-8 when the text
// holds a character that Windows-1252 cannot carry, so that nothing is lost.
std::string EncodeConfigText(std::string_view utf8, TextEncoding encoding);

// Characters (code points) of valid UTF-8 text.
size_t CharCount(std::string_view utf8);
// The first `maxChars` characters of valid UTF-8 text, never splitting one.
std::string_view CutToChars(std::string_view utf8, size_t maxChars);
// At most `maxBytes` bytes of UTF-8 text, never splitting a character.
std::string_view CutToBytes(std::string_view utf8, size_t maxBytes);

}  // namespace orvano
