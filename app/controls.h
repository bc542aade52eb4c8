// The main window's child controls and the page changes that show and hide them.
#pragma once

#include <array>

#include "app/app.h"
#include "app/layout.h"

namespace orvano {

// The made controls in creation order (the first kMadeSlotCount slots), placed
// by the layout and labelled in the language in use.
// The zone chooser: "none", the database's names, and an unknown name of the
// town last; selects the town's zone and applies it.
void FillZoneChooser(App& app);
// The zone the chooser shows ("" for none).
std::string ChosenZone(const App& app);
// A known chosen zone fills the TimeZone and DST lists with its integers and
// disables them; none enables them.
void ApplyChosenZone(App& app);

std::array<ControlSpec, kMadeSlotCount> ControlSpecs(const PageLayout& layout);
// The Configuration page's later controls, in their slots' order (ZoneChooser on).
std::array<ControlSpec, kSlotCount - kMadeSlotCount> LaterControlSpecs(const PageLayout& layout);
// Makes the 22 controls, in order, then the later ones, labelled in the
// language in use.
void CreateControls(App& app, Window& window);
// The buttons' labels and the pickers' locale again, in the language in use.
void RelabelControls(App& app, Window& window);
// Leaves currentPage, enters requestedPage, and repaints the whole window.
void ShowPage(App& app, Window& window);
// Copies the current place and the convention names into the Configuration page.
void FillConfigFields(App& app);
// The convention list as the town's method leaves it: a catalogue method's
// name, greyed, or the slot a "slotN" method names.
void ShowTownMethod(App& app);
// The town list's lines: "%s : %s" of country and name, in table order.
void FillTownList(App& app);
// The town of a line of the town list, and the line of a town; -1 for none.
int TownOfLine(const App& app, int line);
int LineOfTown(const App& app, int town);

}  // namespace orvano
