#include "app/controls.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <tuple>
#include <utility>

#include "astro/constants.h"
#include "astro/zone.h"
#include "config/methods.h"
#include "config/text_encoding.h"
#include "language/languages.h"
#include "language/messages.h"

namespace orvano {

namespace {

// The town list's lines are built in a buffer of 100 characters with the terminator.
constexpr size_t kLineBufferChars = 99;

// The pickers' locale is the catalogue's to say, like every text.
const char* PickerLocale() {
    return Tr("locale of the date and time pickers", "en");
}

void SetVisible(Control* control, bool visible) {
    if (control != nullptr) control->SetVisible(visible);
}

void RemoveAll(Control* control) {
    if (control != nullptr) control->RemoveAllLines();
}

void AddLine(Control* control, const std::string& text) {
    if (control != nullptr) control->AddLine(text);
}

void SelectLine(Control* control, int index) {
    if (control != nullptr) control->SelectLine(index);
}

void SetText(Control* control, const std::string& text) {
    if (control != nullptr) control->SetText(text);
}

void ShowComputeControls(MainControls& c, bool visible) {
    SetVisible(c.datePicker, visible);
    SetVisible(c.timePicker, visible);
    SetVisible(c.now, visible);
    SetVisible(c.sunPosition, visible);
    SetVisible(c.explore, visible);
    SetVisible(c.calendar, visible);
}

void LeavePage(App& app, int page) {
    MainControls& c = app.ui.controls;
    switch (page) {
        case kPageHome:
            SetVisible(c.previous, true);
            SetVisible(c.nightToggle, false);
            break;
        case kPageCompute:
            ShowComputeControls(c, false);
            break;
        case kPageConfiguration:
            SetVisible(c.languageList, false);
            SetVisible(c.townList, false);
            SetVisible(c.modify, false);
            SetVisible(c.add, false);
            SetVisible(c.save, false);
            SetVisible(c.countryField, false);
            SetVisible(c.townField, false);
            SetVisible(c.latitudeField, false);
            SetVisible(c.longitudeField, false);
            SetVisible(c.timeZoneList, false);
            SetVisible(c.conventionList, false);
            SetVisible(c.dstList, false);
            SetVisible(c.zoneChooser, false);
            SetVisible(c.methodButton, false);
            SetVisible(c.findButton, false);
            SetVisible(c.deleteButton, false);
            app.platform.shell.ShowInputPanelButton(false);
            break;
        case kPageAbout:
            SetVisible(c.next, true);
            SetVisible(c.help, false);
            SetVisible(c.checkVersion, false);
            SetVisible(c.adhanButton, false);
            break;
        default:
            break;
    }
}

void EnterConfiguration(App& app) {
    MainControls& c = app.ui.controls;
    RemoveAll(c.languageList);
    // Each language in its own name; the line of the language in use selected.
    int selected = -1;
    const auto languages = Languages();
    for (size_t i = 0; i < languages.size(); ++i) {
        AddLine(c.languageList, languages[i].name);
        if (app.ui.language == languages[i].code) selected = static_cast<int>(i);
    }
    SelectLine(c.languageList, selected);
    SetVisible(c.languageList, true);

    SetVisible(c.modify, true);
    SetVisible(c.add, true);
    SetVisible(c.save, true);
    SetVisible(c.methodButton, true);
    SetVisible(c.findButton, true);
    SetVisible(c.deleteButton, true);

    FillTownList(app);
    SelectLine(c.townList, LineOfTown(app, app.engine.tables.TownSelected));
    SetVisible(c.townList, true);

    FillConfigFields(app);

    SetVisible(c.countryField, true);
    SetVisible(c.townField, true);
    SetVisible(c.latitudeField, true);
    SetVisible(c.longitudeField, true);
    SetVisible(c.timeZoneList, true);
    SetVisible(c.conventionList, true);
    SetVisible(c.dstList, true);
    SetVisible(c.zoneChooser, true);
    app.platform.shell.ShowInputPanelButton(true);
}

void EnterPage(App& app, int page) {
    MainControls& c = app.ui.controls;
    switch (page) {
        case kPageHome:
            SetVisible(c.previous, false);
            SetVisible(c.nightToggle, true);
            break;
        case kPageCompute:
            ShowComputeControls(c, true);
            break;
        case kPageConfiguration:
            EnterConfiguration(app);
            break;
        case kPageAbout:
            SetVisible(c.next, false);
            SetVisible(c.help, true);
            SetVisible(c.adhanButton, true);
            // A build that names no home page has nowhere to look for updates.
            SetVisible(c.checkVersion, !app.updateUrl.empty());
            break;
        default:
            break;
    }
}

// The window's layout for the language in use, mirrored for a language
// written right to left.
PageLayout WindowLayout(App& app, const Window& window) {
    return MakeLayout(window.ClientRect(), DpiX(app), DpiY(app), IsRightToLeft(app.ui.language));
}

// Where each slot's control is kept, in slot order.
std::array<Control**, kSlotCount> SlotHandles(MainControls& c) {
    return {&c.previous,
            &c.next,
            &c.datePicker,
            &c.timePicker,
            &c.now,
            &c.sunPosition,
            &c.explore,
            &c.calendar,
            &c.languageList,
            &c.townList,
            &c.modify,
            &c.add,
            &c.save,
            &c.countryField,
            &c.townField,
            &c.latitudeField,
            &c.longitudeField,
            &c.timeZoneList,
            &c.dstList,
            &c.conventionList,
            &c.help,
            &c.checkVersion,
            &c.zoneChooser,
            &c.methodButton,
            &c.findButton,
            &c.deleteButton,
            &c.nightToggle,
            &c.adhanButton};
}

}  // namespace

std::array<ControlSpec, kMadeSlotCount> ControlSpecs(const PageLayout& layout) {
    struct Made {
        ControlClass kind;
        const char* text;
        int id;
        bool scroll;
    };
    using K = ControlClass;
    // Creation order, the same as the slots'.
    static constexpr Made kMade[kMadeSlotCount] = {
        {K::Button, "<", kIdPrevious, false},
        {K::Button, ">", kIdNext, false},
        {K::DatePicker, "", kIdDatePicker, false},
        {K::TimePicker, "", kIdTimePicker, false},
        {K::Button, NC_("control", "Now"), kIdNow, false},
        {K::Button, NC_("control", "Sun Position"), kIdSunPosition, false},
        {K::Button, NC_("control", "Explore"), kIdExplore, false},
        {K::Button, NC_("control", "Calendar"), kIdCalendar, false},
        {K::ComboBox, "", kIdLanguageList, false},
        {K::ComboBox, "", kIdTownList, true},
        {K::Button, NC_("control", "Modify"), kIdModify, false},
        {K::Button, NC_("control", "Add"), kIdAdd, false},
        {K::Button, NC_("control", "Save"), kIdSave, false},
        {K::Edit, NC_("control", "Country"), kIdConfigField, false},
        {K::Edit, NC_("control", "Town"), kIdConfigField, false},
        {K::Edit, NC_("control", "latitude"), kIdConfigField, false},
        {K::Edit, NC_("control", "longitude"), kIdConfigField, false},
        {K::ComboBox, "", 0, true},
        {K::ComboBox, "", 0, true},
        {K::ComboBox, "", 0, true},
        {K::Button, NC_("control", "Help"), kIdHelp, false},
        {K::Button, NC_("control", "Check updated version"), kIdCheckVersion, false},
    };
    std::array<ControlSpec, kMadeSlotCount> specs;
    for (size_t i = 0; i < specs.size(); ++i) {
        const Made& made = kMade[i];
        const Box& box = layout.controls[i].box;
        ControlSpec& spec = specs[i];
        spec.kind = made.kind;
        spec.text = *made.text != '\0' ? Tr("control", made.text) : "";
        spec.id = made.id;
        spec.x = box.x;
        spec.y = box.y;
        spec.width = box.width;
        spec.height = box.height;
        // Only the arrows are visible from creation; the pages show the others.
        spec.visible =
            i == static_cast<size_t>(Slot::Previous) || i == static_cast<size_t>(Slot::Next);
        spec.verticalScroll = made.scroll;
        spec.language = PickerLocale();
    }
    // Read from the right, the pages go back to the right: each arrow points
    // the way it moves.
    if (layout.rightToLeft) {
        std::swap(specs[static_cast<size_t>(Slot::Previous)].text,
                  specs[static_cast<size_t>(Slot::Next)].text);
    }
    return specs;
}

std::array<ControlSpec, kSlotCount - kMadeSlotCount> LaterControlSpecs(const PageLayout& layout) {
    struct Later {
        ControlClass kind;
        const char* text;
        int id;
    };
    using K = ControlClass;
    // In the order of their slots, from ZoneChooser on.
    static constexpr Later kLater[kSlotCount - kMadeSlotCount] = {
        {K::ComboBox, "", kIdZoneChooser},
        {K::Button, NC_("control", "Method…"), kIdMethod},
        {K::Button, NC_("control", "Find…"), kIdFind},
        {K::Button, NC_("control", "Delete"), kIdDelete},
        {K::Button, NC_("control", "Night"), kIdNightToggle},
        {K::Button, NC_("control", "Adhan…"), kIdAdhan},
    };
    std::array<ControlSpec, kSlotCount - kMadeSlotCount> specs;
    for (size_t i = 0; i < specs.size(); ++i) {
        const Box& box = layout.controls[kMadeSlotCount + i].box;
        ControlSpec& spec = specs[i];
        spec.kind = kLater[i].kind;
        spec.text = *kLater[i].text != '\0' ? Tr("control", kLater[i].text) : "";
        spec.id = kLater[i].id;
        spec.x = box.x;
        spec.y = box.y;
        spec.width = box.width;
        spec.height = box.height;
        // The zone chooser is an editable list, so that typing jumps to a name.
        spec.verticalScroll = spec.kind == K::ComboBox;
        spec.language = PickerLocale();
    }
    return specs;
}

void CreateControls(App& app, Window& window) {
    const PageLayout layout = WindowLayout(app, window);
    const auto specs = ControlSpecs(layout);
    const auto later = LaterControlSpecs(layout);
    const auto handles = SlotHandles(app.ui.controls);
    for (size_t i = 0; i < specs.size(); ++i) *handles[i] = window.CreateControl(specs[i]);
    for (size_t i = 0; i < later.size(); ++i) {
        *handles[kMadeSlotCount + i] = window.CreateControl(later[i]);
    }
}

void RelabelControls(App& app, Window& window) {
    const PageLayout layout = WindowLayout(app, window);
    const auto specs = ControlSpecs(layout);
    const auto later = LaterControlSpecs(layout);
    MainControls& c = app.ui.controls;
    // A language read the other way moves every control to its mirror place.
    const auto handles = SlotHandles(c);
    for (size_t i = 0; i < handles.size(); ++i) {
        if (*handles[i] != nullptr) (*handles[i])->MoveTo(layout.controls[i].box);
    }
    // Only the buttons carry a label; the fields keep what the user typed.
    for (const auto& [control, slot] : {std::pair{c.previous, Slot::Previous},
                                        {c.next, Slot::Next},
                                        {c.now, Slot::Now},
                                        {c.sunPosition, Slot::SunPosition},
                                        {c.explore, Slot::Explore},
                                        {c.calendar, Slot::Calendar},
                                        {c.modify, Slot::Modify},
                                        {c.add, Slot::Add},
                                        {c.save, Slot::Save},
                                        {c.help, Slot::Help},
                                        {c.checkVersion, Slot::CheckVersion}}) {
        if (control != nullptr) control->SetText(specs[static_cast<size_t>(slot)].text);
    }
    for (const auto& [control, slot] : {std::pair{c.methodButton, Slot::MethodButton},
                                        {c.findButton, Slot::FindButton},
                                        {c.deleteButton, Slot::Delete},
                                        {c.nightToggle, Slot::NightToggle},
                                        {c.adhanButton, Slot::AdhanButton}}) {
        if (control != nullptr) {
            control->SetText(later[static_cast<size_t>(slot) - kMadeSlotCount].text);
        }
    }
    for (Control* picker : {c.datePicker, c.timePicker}) {
        if (picker != nullptr) picker->SetLanguage(PickerLocale());
    }
}

void ShowPage(App& app, Window& window) {
    LeavePage(app, app.ui.currentPage);
    EnterPage(app, app.ui.requestedPage);
    app.ui.currentPage = app.ui.requestedPage;
    PrepareShownPage(app);
    window.Invalidate(std::nullopt, InvalidateFlags{});
}

void FillTownList(App& app) {
    Control* list = app.ui.controls.townList;
    RemoveAll(list);
    const ConfigTables& tables = app.engine.tables;
    // NumberOfTowns says how many rows are in use; never read past the rows that exist.
    const size_t count =
        std::min(tables.Towns.size(), static_cast<size_t>(std::max(tables.NumberOfTowns, 0)));
    std::vector<int>& lines = app.ui.townLines;
    lines.resize(count);
    for (size_t i = 0; i < count; ++i) lines[i] = static_cast<int>(i);
    std::stable_sort(lines.begin(), lines.end(), [&tables](int a, int b) {
        const Town& x = tables.Towns[static_cast<size_t>(a)];
        const Town& y = tables.Towns[static_cast<size_t>(b)];
        return std::tie(x.Country, x.Name) < std::tie(y.Country, y.Name);
    });
    for (const int index : lines) {
        const Town& town = tables.Towns[static_cast<size_t>(index)];
        AddLine(list, std::string(CutToBytes(town.Country + " : " + town.Name, kLineBufferChars)));
    }
}

int TownOfLine(const App& app, int line) {
    const std::vector<int>& lines = app.ui.townLines;
    return line >= 0 && static_cast<size_t>(line) < lines.size() ? lines[static_cast<size_t>(line)]
                                                                 : -1;
}

int LineOfTown(const App& app, int town) {
    const std::vector<int>& lines = app.ui.townLines;
    const auto at = std::find(lines.begin(), lines.end(), town);
    return at == lines.end() ? -1 : static_cast<int>(at - lines.begin());
}

void FillConfigFields(App& app) {
    MainControls& c = app.ui.controls;
    const CurrentPlace& place = app.engine.place;
    SetText(c.countryField, place.Country);
    SetText(c.townField, place.Name);
    SetText(c.latitudeField, Format("%lf", place.latitude.value()));
    SetText(c.longitudeField, Format("%lf", place.longitude.value()));

    RemoveAll(c.timeZoneList);
    for (int zone = -12; zone <= 13; ++zone) AddLine(c.timeZoneList, Format("%d", zone));
    SelectLine(c.timeZoneList,
               place.TimeZone >= -12 && place.TimeZone <= 13 ? place.TimeZone + 12 : -1);

    RemoveAll(c.conventionList);
    for (const Convention& convention : app.engine.tables.Conventions) {
        AddLine(c.conventionList, convention.Name);
    }
    SelectLine(c.conventionList, place.Convention);

    RemoveAll(c.dstList);
    AddLine(c.dstList, "0");
    AddLine(c.dstList, "1");
    AddLine(c.dstList, "2");
    SelectLine(c.dstList, place.DST);

    FillZoneChooser(app);
    ShowTownMethod(app);
}

void ShowTownMethod(App& app) {
    Control* list = app.ui.controls.conventionList;
    if (list == nullptr) return;
    const CurrentPlace& place = app.engine.place;
    const int slot = SlotOfMethodId(place.Method);
    if (slot >= 0) list->SelectLine(slot);
    const auto method = app.engine.methods.find(place.Method);
    const bool byMethod = method != app.engine.methods.end();
    // The catalogue's method wins over the slot, which stays for older readers.
    list->SetEnabled(!byMethod);
    if (byMethod) list->SetText(method->second.Name);
}

void FillZoneChooser(App& app) {
    MainControls& c = app.ui.controls;
    const CurrentPlace& place = app.engine.place;
    std::vector<std::string>& lines = app.ui.zoneLines;
    lines = ZoneNames();
    int selected = 0;
    bool unknown = false;
    if (!place.Zone.empty()) {
        const auto at = std::lower_bound(lines.begin(), lines.end(), place.Zone);
        if (at != lines.end() && *at == place.Zone) {
            selected = static_cast<int>(at - lines.begin()) + 1;
        } else {
            // Kept as read, so that a save writes it back.
            lines.push_back(place.Zone);
            selected = static_cast<int>(lines.size());
            unknown = true;
        }
    }
    RemoveAll(c.zoneChooser);
    AddLine(c.zoneChooser, Tr("(no zone)"));
    for (size_t i = 0; i < lines.size(); ++i) {
        const bool last = i + 1 == lines.size();
        AddLine(c.zoneChooser, unknown && last ? lines[i] + Tr(" (unknown)") : lines[i]);
    }
    SelectLine(c.zoneChooser, selected);
    app.ui.zoneChosen = false;
    ApplyChosenZone(app);
}

std::string ChosenZone(const App& app) {
    const Control* chooser = app.ui.controls.zoneChooser;
    if (chooser == nullptr) return app.engine.place.Zone;
    const int line = chooser->SelectedLine();
    if (line < 1 || line > static_cast<int>(app.ui.zoneLines.size())) return {};
    return app.ui.zoneLines[static_cast<size_t>(line - 1)];
}

void ApplyChosenZone(App& app) {
    MainControls& c = app.ui.controls;
    const ZoneRef zone = FindZone(ChosenZone(app));
    if (zone != nullptr) {
        const ZoneIntegers integers = ZoneIntegersOf(zone, app.platform.clock.Now().year);
        SelectLine(c.timeZoneList, integers.TimeZone + 12);
        SelectLine(c.dstList, integers.DST);
    }
    // A known zone decides the integers; none (or an unknown name) leaves them to the user.
    if (c.timeZoneList != nullptr) c.timeZoneList->SetEnabled(zone == nullptr);
    if (c.dstList != nullptr) c.dstList->SetEnabled(zone == nullptr);
}

}  // namespace orvano
