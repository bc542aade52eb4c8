// What the main window's controls do: page arrows, language, town editing and
// saving, the pickers, the Sun position box, the calendar, help and updates.
// The command table itself is `HandleCommand` (app/window_proc.h).
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/app.h"
#include "app/layout.h"

namespace orvano {

// The user guide in the program's folder: help.html (French) or helpen.html.
std::string HelpPath(const std::string& programFolder);

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

// What the Configuration page's commands share.
// The shown page readied (what it paints may have changed), then the whole window repainted.
void RepaintAll(App& app, Window& window);
// A confirmation under the Configuration page's buttons, for a few seconds.
void ShowStatus(App& app, Window& window, const std::string& text);
// The same, saying that the town was changed and Save stores it.
void ShowModifiedStatus(App& app, Window& window);
// The rule the window computes with from now on, stored in settings.ini
// (HighLatitudeRule); a store that cannot be written is told.
void SetHighLatitudeRule(App& app, HighLatitudeRule rule);
// The town becomes the tables' last and selected town (not saved); the
// current place is left as it is. Nothing changes when the table is full.
void AppendTown(App& app, const Town& town);

enum class StoreResult { Written, Failed, Reloaded };
// The tables into data.cfg under the writers' lock, atomically. When another
// program changed the file since it was read, asks whether to overwrite;
// "no" reads the file again into the window (Reloaded). Failures are told.
StoreResult WriteTables(App& app, Window& window);

// The Configuration page's dialogs: the method (catalogue, slots, the
// high-latitude rule) and the search of the gazetteer, which adds a town.
void ChooseMethod(App& app, Window& window);
void FindTown(App& app, Window& window);

enum class DialogKind { Find, Method };
// The town search with `typed` in its field and its results listed, handed
// to `show` (a picture of it); show's result.
bool ShowFindDialog(const Gazetteer& gazetteer, int dpi, const std::string& typed,
                    const std::function<bool(const DialogSpec&, DialogHandler&)>& show);
DialogLayout DialogLayoutOf(DialogKind kind, int dpiX, int dpiY);
DialogSpec DialogSpecOf(DialogKind kind, const DialogLayout& layout);
// The dialog's controls in creation order, each with its slot of the layout.
std::vector<std::pair<DialogSlot, ControlSpec>> DialogControls(DialogKind kind,
                                                               const DialogLayout& layout);

}  // namespace orvano
