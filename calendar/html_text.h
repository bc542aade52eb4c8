// Texts as they go into the calendar page and its file name.
#pragma once

#include <string>
#include <string_view>

namespace orvano {

// UTF-8 text as single-byte ISO-8859-1, the encoding the page declares.
// Characters beyond U+00FF become numeric character references ("&#287;") so
// the page stays valid; a byte that is not part of valid UTF-8 is taken as the
// ISO-8859-1 character of the same value, so nothing is dropped.
std::string Utf8ToLatin1Html(std::string_view utf8);

// Text for an HTML element's content: '&', '<' and '>' as entities, the rest
// unchanged (still UTF-8).
std::string EscapeHtmlText(std::string_view utf8);

// A town name made safe to be part of a file name inside a given folder: every
// '/', '\\', control and bidirectional-control character, and a leading '.',
// becomes '_'. Invalid
// UTF-8 bytes are re-encoded as the ISO-8859-1 characters of the same value so
// the name is valid UTF-8. The result never leaves the folder it is put in.
std::string SafeFileNamePart(std::string_view utf8);

// The longest start of `utf8` within both limits, never cutting a character.
std::string CutToFit(std::string_view utf8, size_t maxChars, size_t maxBytes);

// Number of characters (code points) of a UTF-8 text, invalid bytes counting one each.
size_t CharacterCount(std::string_view utf8);

}  // namespace orvano
