// The forms in which names are compared: what a person types and what a file
// holds meet there whatever their case, accents or punctuation.
#pragma once

#include <string>
#include <string_view>

namespace orvano {

// Letters without their accents, folded to lower case, underscores as
// spaces; other characters as they are. A text that is not UTF-8 is only
// folded in its ASCII letters.
std::string FoldLetters(std::string_view text);

// FoldLetters, then apostrophes dropped ("Xi'an" is "xian"), every other
// character that is neither a letter nor a digit read as a space, and spaces
// collapsed and trimmed: "Saint-Denis" and "saint  denis" give "saint denis".
std::string SearchKey(std::string_view text);

}  // namespace orvano
