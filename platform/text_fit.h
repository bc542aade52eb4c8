// Shortening a text to the room it has, for the window and the strip alike.
#pragma once

#include <functional>
#include <string>

namespace orvano {

// `text` whole when `fits` says so, else shortened at a character and ended
// with "…" until it fits (at worst the ellipsis alone).
std::string ElideToFit(const std::string& text,
                       const std::function<bool(const std::string&)>& fits);

}  // namespace orvano
