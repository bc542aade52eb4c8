// What the main window's controls do: page arrows, language, town editing and
// saving, the pickers, the Sun position box, the calendar, help and updates.
// The command table itself is `HandleCommand` (app/window_proc.h).
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/app.h"
#include "app/layout.h"
#include "platform/settings.h"

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

// The adhan and reminders dialog: [Adhan], [Reminders], [Iqama] and [Jumuah]
// of settings.ini, stored when OK finds every field valid.
void EditAdhanSettings(App& app, Window& window);

// Its fields as the user reads and types them; the prayers are Fajr, Zuhr,
// Asr, Maghrib and Isha.
struct AdhanForm {
    std::string file;
    std::string fajrFile;
    std::string volume;
    std::array<std::string, kDialogPrayers> reminders;
    std::array<std::string, kDialogPrayers> iqama;
    bool jumuah = false;
    std::string jumuahTime;  // "" for Zuhr's own time
    std::string jumuahIqama;
    bool operator==(const AdhanForm&) const = default;
};
// The stored texts; a missing volume shows the one that plays.
AdhanForm ReadAdhanForm(SettingsStore& settings);
// Why the first refused field cannot be stored, naming it; "" when every
// field is valid.
std::string RefusedAdhanField(const AdhanForm& form);
// Every key of the form in one write, each group made when missing. False
// when they could not be stored; none of them is then.
bool WriteAdhanForm(SettingsStore& settings, const AdhanForm& form);

enum class DialogKind { Find, Method, Adhan };
// The town search with `typed` in its field and its results listed, handed
// to `show` (a picture of it); show's result.
bool ShowFindDialog(const Gazetteer& gazetteer, int dpi, const std::string& typed,
                    const std::function<bool(const DialogSpec&, DialogHandler&)>& show);
DialogLayout DialogLayoutOf(DialogKind kind, int dpiX, int dpiY);
DialogSpec DialogSpecOf(DialogKind kind, const DialogLayout& layout);
// The dialog's controls in creation order, each with its slot of the layout.
std::vector<std::pair<DialogSlot, ControlSpec>> DialogControls(DialogKind kind,
                                                               const DialogLayout& layout);
std::vector<std::pair<DialogSlot, ControlSpec>> AdhanDialogControls(const DialogLayout& layout);
// Puts a dialog control in its box of the layout, shown, with the pickers' locale.
void PlaceDialogControl(ControlSpec& spec, const Box& box);
// The adhan dialog as it opens without settings, handed to `show` (a picture
// of it); show's result.
bool ShowAdhanDialog(int dpi, const std::function<bool(const DialogSpec&, DialogHandler&)>& show);
// The caption of the adhan dialog.
std::string AdhanDialogCaption();

}  // namespace orvano
