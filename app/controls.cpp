#include "app/controls.h"

#include <algorithm>
#include <cstdint>

#include "astro/constants.h"
#include "config/text_encoding.h"

namespace orvano {

namespace {

// The town list's lines are built in a buffer of 100 characters with the terminator.
constexpr size_t kLineBufferChars = 99;

// trunc(v): a double to an integer, toward zero.
int Trunc(double v) {
    return static_cast<int>(v);
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
            app.platform.shell.ShowInputPanelButton(false);
            break;
        case kPageAbout:
            SetVisible(c.next, true);
            SetVisible(c.help, false);
            SetVisible(c.checkVersion, false);
            break;
        default:
            break;
    }
}

void EnterConfiguration(App& app) {
    MainControls& c = app.ui.controls;
    RemoveAll(c.languageList);
    AddLine(c.languageList, "English");
    AddLine(c.languageList, "Français");
    // Line Lang - 1; a Lang with no line (only 2 means French) leaves none selected.
    const std::uint32_t lang = app.ui.Lang;
    SelectLine(c.languageList, lang >= 1 && lang <= 2 ? static_cast<int>(lang) - 1 : -1);
    SetVisible(c.languageList, true);

    SetVisible(c.modify, true);
    SetVisible(c.add, true);
    SetVisible(c.save, true);

    FillTownList(app);
    SelectLine(c.townList, app.engine.tables.TownSelected);
    SetVisible(c.townList, true);

    FillConfigFields(app);

    SetVisible(c.countryField, true);
    SetVisible(c.townField, true);
    SetVisible(c.latitudeField, true);
    SetVisible(c.longitudeField, true);
    SetVisible(c.timeZoneList, true);
    SetVisible(c.conventionList, true);
    SetVisible(c.dstList, true);
    app.platform.shell.ShowInputPanelButton(true);
}

void EnterPage(App& app, int page) {
    MainControls& c = app.ui.controls;
    switch (page) {
        case kPageHome:
            SetVisible(c.previous, false);
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
            SetVisible(c.checkVersion, true);
            break;
        default:
            break;
    }
}

}  // namespace

void CreateControls(App& app, Window& window) {
    const Rect client = window.ClientRect();
    const int W = client.right - client.left;
    const int B = client.bottom;
    const int cx = (client.right - client.left) / 2;
    const double w = W;
    const bool french = IsFrench(app.ui);
    auto X = [&app](int v) { return ScaleX(app, v); };
    auto Y = [&app](int v) { return ScaleY(app, v); };
    auto text = [french](const char* english, const char* frenchText) {
        return std::string(french ? frenchText : english);
    };

    auto make = [&window](ControlClass kind, std::string label, int id, int x, int y, int width,
                          int height, bool visible = false, bool scroll = false) {
        ControlSpec spec;
        spec.kind = kind;
        spec.text = std::move(label);
        spec.id = id;
        spec.x = x;
        spec.y = y;
        spec.width = width;
        spec.height = height;
        spec.visible = visible;
        spec.verticalScroll = scroll;
        return window.CreateControl(spec);
    };
    using K = ControlClass;
    MainControls& c = app.ui.controls;

    c.previous =
        make(K::Button, "<", kIdPrevious, client.left + X(5), B - Y(60), X(64), Y(32), true);
    c.next = make(K::Button, ">", kIdNext, client.right - X(69), B - Y(60), X(64), Y(32), true);
    c.datePicker = make(K::DatePicker, "", kIdDatePicker, cx - X(110), Y(30), X(220), Y(25));
    c.timePicker =
        make(K::TimePicker, "", kIdTimePicker, Trunc(w * 0.25 - X(50)), Y(60), X(100), Y(25));
    c.now = make(K::Button, text("Now", "Maintenant"), kIdNow, Trunc(w * 0.75 - X(45)), Y(60),
                 X(90), Y(25));
    c.sunPosition = make(K::Button, text("Sun Position", "Position du Soleil"), kIdSunPosition,
                         cx - X(60), Y(115), X(120), Y(25));
    c.explore =
        make(K::Button, "Explore", kIdExplore, Trunc(w * 0.25 - X(35)), Y(155), X(70), Y(25));
    c.calendar = make(K::Button, text("Calendar", "Calendrier"), kIdCalendar,
                      Trunc(w * 0.75 - X(35)), Y(155), X(70), Y(25));
    c.languageList =
        make(K::ComboBox, "", kIdLanguageList, Trunc(w * 0.25 - X(50)), Y(10), X(70), Y(50));
    c.townList = make(K::ComboBox, "", kIdTownList, Trunc(w * 0.75 - X(90)), Y(10), X(140), Y(150),
                      false, true);
    c.modify = make(K::Button, text("Modify", "Modifie"), kIdModify, Trunc(w * 0.165 - X(35)),
                    Y(200), X(70), Y(25));
    c.add = make(K::Button, text("Add", "Ajoute"), kIdAdd, Trunc(w * 0.4983333333333333 - X(35)),
                 Y(200), X(70), Y(25));
    c.save = make(K::Button, text("Save", "Sauve"), kIdSave, Trunc(w * 0.8316666666666667 - X(35)),
                  Y(200), X(70), Y(25));
    c.countryField = make(K::Edit, text("Country", "Pays"), kIdConfigField, Trunc(w * 0.25 - X(50)),
                          Y(55), X(100), Y(20));
    c.townField = make(K::Edit, text("Town", "Ville"), kIdConfigField, Trunc(w * 0.75 - X(50)),
                       Y(55), X(100), Y(20));
    c.latitudeField =
        make(K::Edit, "latitude", kIdConfigField, Trunc(w * 0.25 - X(50)), Y(95), X(100), Y(20));
    c.longitudeField =
        make(K::Edit, "longitude", kIdConfigField, Trunc(w * 0.75 - X(50)), Y(95), X(100), Y(20));
    c.timeZoneList =
        make(K::ComboBox, "", 0, Trunc(X(12) + w * 0.25), Y(120), X(38), Y(150), false, true);
    c.dstList =
        make(K::ComboBox, "", 0, Trunc(X(12) + w * 0.75), Y(120), X(38), Y(80), false, true);
    c.conventionList =
        make(K::ComboBox, "", 0, Trunc(w * 0.25 - X(50)), Y(150), X(220), Y(150), false, true);
    c.help = make(K::Button, text("Help", "Aide"), kIdHelp, cx - X(30), Y(150), X(60), Y(25));
    c.checkVersion = make(K::Button, text("Check updated version", "Vérifie la mise à jour"),
                          kIdCheckVersion, cx - X(75), Y(180), X(150), Y(25));
}

void ShowPage(App& app, Window& window) {
    LeavePage(app, app.ui.currentPage);
    EnterPage(app, app.ui.requestedPage);
    app.ui.currentPage = app.ui.requestedPage;
    window.Invalidate(std::nullopt, InvalidateFlags{});
}

void FillTownList(App& app) {
    Control* list = app.ui.controls.townList;
    RemoveAll(list);
    const ConfigTables& tables = app.engine.tables;
    // NumberOfTowns says how many rows are in use; never read past the rows that exist.
    const size_t count =
        std::min(tables.Towns.size(), static_cast<size_t>(std::max(tables.NumberOfTowns, 0)));
    for (size_t i = 0; i < count; ++i) {
        const Town& town = tables.Towns[i];
        AddLine(list, std::string(CutToBytes(town.Country + " : " + town.Name, kLineBufferChars)));
    }
}

void FillConfigFields(App& app) {
    MainControls& c = app.ui.controls;
    const CurrentPlace& place = app.engine.place;
    SetText(c.countryField, place.Country);
    SetText(c.townField, place.Name);
    SetText(c.latitudeField, Format("%lf", place.latitude * kRadToDeg));
    SetText(c.longitudeField, Format("%lf", place.longitude * kRadToDeg));

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
}

}  // namespace orvano
