// What the main window's controls do: page arrows, language, town editing and
// saving, the pickers, the Sun position box, the calendar, help and updates.
// The command table itself is `HandleCommand` (app/window_proc.h).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "app/app.h"

namespace orvano {

// help.html (French) or helpen.html (any other language) in the program's folder.
std::string HelpPath(const std::string& programFolder, std::uint32_t lang);

// The Sun position box's text, from the Sun's state of the last position
// computation (its UT date included) and the place.
std::string SunPositionText(const EngineState& engine);

// The fields of the Configuration page into the current place. With `modify`,
// the town list's selected line first becomes the selected town; a town list
// without a selection then leaves everything as it is. A latitude or
// longitude that is not a number within -90..90 or -180..180 is refused with a
// message naming the field, and nothing changes. False when nothing was read.
bool ReadFieldsIntoPlace(App& app, bool modify);

// A field that holds one decimal number and nothing else (white space around
// it allowed); nothing for any other text. Independent of the process's locale.
std::optional<double> ParseNumberField(const std::string& text);

}  // namespace orvano
