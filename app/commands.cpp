#include "app/commands.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <optional>

#include "app/controls.h"
#include "app/paint.h"
#include "app/window_proc.h"
#include "astro/angle_text.h"
#include "astro/constants.h"
#include "astro/sun_report.h"
#include "astro/zone.h"
#include "calendar/month_calendar.h"
#include "config/grammar.h"
#include "config/reader.h"
#include "config/writer.h"
#include "language/languages.h"
#include "language/messages.h"

namespace orvano {

namespace {

// Every message of the window, looked up in the language in use when shown.
constexpr const char* kRegistryErrorText =
    N_("Your application is not correctly installed, please reinstall");
constexpr const char* kRegistryErrorCaption = N_("Registry Error");
constexpr const char* kSunPositionCaption = N_("Sun position");
// Save and Calendar need the selected town, which an empty table does not have.
constexpr const char* kNoTownSaveText =
    N_("There is no town to save: the town table is empty. Add a town first; data.cfg was not "
       "changed.");
constexpr const char* kNoTownCalendarText =
    N_("There is no town for the calendar: the town table is empty. Add a town first.");
constexpr const char* kNoTownCaption = N_("No town");
constexpr const char* kFieldRefusedText =
    N_("%s: \"%s\" is not a number from %d to %d. Nothing was changed.");
constexpr const char* kFieldRefusedCaption = N_("Invalid field");
constexpr const char* kLatitudeName = N_("Latitude");
constexpr const char* kLongitudeName = N_("Longitude");
constexpr const char* kApplyFieldsText =
    N_("The fields differ from the town that will be saved. Apply them first, as Modify does?");
constexpr const char* kApplyFieldsCaption = N_("Save");
constexpr const char* kModifiedStatus = N_("Modified: Save stores it");
constexpr const char* kSavedStatus = N_("Saved in data.cfg");
constexpr const char* kChangedOutsideText =
    N_("data.cfg was changed by another program after this window read it. Overwrite that change "
       "with what this window holds?\n\nNo: read data.cfg again; what was changed here and not "
       "saved is dropped.");
constexpr const char* kChangedOutsideCaption = N_("data.cfg changed");
constexpr const char* kReloadedStatus = N_("Read again from data.cfg");
constexpr const char* kDeleteText =
    N_("Delete the town %s : %s? data.cfg is written at once, without it.");
constexpr const char* kDeleteCaption = N_("Delete town");
constexpr const char* kLastTownText =
    N_("%s : %s is the only town of data.cfg: add another before deleting it.");
constexpr const char* kDeletedStatus = N_("Deleted from data.cfg");

// Fields hold 80 characters with the terminator.
constexpr size_t kFieldChars = 79;

// At most `limit` characters (code points) of UTF-8 text, never a broken one.
std::string CutCharacters(const std::string& text, size_t limit) {
    size_t count = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
            if (count == limit) return text.substr(0, i);
            ++count;
        }
    }
    return text;
}

bool HasSelectedTown(const ConfigTables& tables) {
    const int towns = std::min(static_cast<int>(tables.Towns.size()), tables.NumberOfTowns);
    return tables.TownSelected >= 0 && tables.TownSelected < towns;
}

// The new language applies at once, to the controls' labels too; it is used
// even when it cannot be stored.
void ChooseLanguage(App& app, Window& window) {
    Control* list = app.ui.controls.languageList;
    if (list == nullptr || list->SelectedLine() < 0) return;
    const auto languages = Languages();
    const auto line = static_cast<size_t>(list->SelectedLine());
    if (line >= languages.size()) return;
    app.ui.language = languages[line].code;
    if (const std::uint32_t lang = LangNumberOf(app.ui.language); lang != 0) app.ui.Lang = lang;
    UseLanguage(app.ui.language);
    window.SetRightToLeft(IsRightToLeft(app.ui.language));
    RelabelControls(app, window);
    if (!app.ui.zoneChosen) FillZoneChooser(app);
    RepaintAll(app, window);
    if (!SaveLanguage(app.platform.settings, app.ui.language)) {
        // A key that opens but cannot be written is as good as missing.
        app.platform.messages.Show(Tr(kRegistryErrorText), Tr(kRegistryErrorCaption));
    }
}

// The night times shown or hidden at once, and the choice kept for the next start.
void ToggleNight(App& app, Window& window) {
    app.ui.nightShow = !app.ui.nightShow;
    app.ui.home = PrepareHome(app.engine, app.ui.nightShow, app.extras);
    RepaintAll(app, window);
    if (!WriteNightShow(app.platform.settings, app.ui.nightShow)) {
        app.platform.messages.Show(Tr(kRegistryErrorText), Tr(kRegistryErrorCaption));
    }
}

void SelectTown(App& app) {
    Control* list = app.ui.controls.townList;
    if (list == nullptr) return;
    const int line = TownOfLine(app, list->SelectedLine());
    ConfigTables& tables = app.engine.tables;
    const int towns = std::min(static_cast<int>(tables.Towns.size()), tables.NumberOfTowns);
    if (line < 0 || line >= towns) return;
    tables.TownSelected = line;
    FillCurrentPlace(tables.Towns[static_cast<std::size_t>(line)], app.engine.place);
    FillConfigFields(app);
    RememberLastTown(app);
    // Unless another moment is being explored, "now" is the new town's own.
    if (app.ui.exploring == 0) TakeTownNow(app, TownNow(app));
}

Town TownFromPlace(const CurrentPlace& place) {
    Town town;
    town.Country = place.Country;
    town.Name = place.Name;
    town.longitude = place.longitude.value();
    town.latitude = place.latitude.value();
    town.TimeZone = place.TimeZone;
    town.DST = place.DST;
    town.Zone = place.Zone;
    town.Method = place.Method;
    town.Convention = place.Convention;
    return town;
}

void AddTown(App& app) {
    if (!ReadFieldsIntoPlace(app, false)) return;
    ConfigTables& tables = app.engine.tables;
    if (tables.NumberOfTowns >= kMaxNumberOfTowns) return;  // the table stays as it was
    // A new town starts in the desktop's zone, unless the user chose one for it.
    CurrentPlace& place = app.engine.place;
    if (!app.ui.zoneChosen) {
        place.Zone = DesktopZoneName();
        if (const ZoneRef zone = FindZone(place.Zone)) {
            const ZoneIntegers integers = ZoneIntegersOf(zone, app.platform.clock.Now().year);
            place.TimeZone = integers.TimeZone;
            place.DST = integers.DST;
        }
    }
    AppendTown(app, TownFromPlace(app.engine.place));
}

void SetPickersToNow(App& app, Window& window) {
    SetPickers(app, TownNow(app));
    app.ui.exploring = 0;
    RepaintAll(app, window);
}

void ShowSunPosition(App& app, Window& window) {
    RepaintAll(app, window);
    EngineState& engine = app.engine;
    ComputeSunPosition(engine.observation, engine.place, engine.timeZoneInEffect, engine.sun,
                       engine.trace());
    const std::string text = SunPositionText(engine);
    app.platform.messages.Show(text, Tr(kSunPositionCaption));
    app.platform.console.Debug(text);
}

void WriteCalendar(App& app) {
    if (!HasSelectedTown(app.engine.tables)) {
        app.platform.messages.Show(Tr(kNoTownCalendarText), Tr(kNoTownCaption));
        return;
    }
    Shell& shell = app.platform.shell;
    const LocalTime now = TownNow(app);
    WriteMonthCalendar(
        app.engine, app.files.calendarFolder, app.traceSink,
        [&shell](const std::string& path) { shell.OpenDocument(path); },
        Observation{now.day, now.month, now.year, now.hour, now.minute, now.second});
}

void ChangePage(App& app, Window& window, int step) {
    app.ui.requestedPage = std::clamp(app.ui.requestedPage + step, kPageHome, kPageAbout);
    ShowPage(app, window);
}

}  // namespace

void RepaintAll(App& app, Window& window) {
    PrepareShownPage(app);
    InvalidateFlags flags;
    flags.erase = true;
    window.Invalidate(std::nullopt, flags);
}

void ShowStatus(App& app, Window& window, const std::string& text) {
    app.ui.statusText = text;
    app.ui.statusSeconds = kStatusSeconds;
    RepaintAll(app, window);
}

void ShowModifiedStatus(App& app, Window& window) {
    ShowStatus(app, window, Tr(kModifiedStatus));
}

void SetHighLatitudeRule(App& app, HighLatitudeRule rule) {
    if (rule == app.engine.highLatitudeRule) return;
    app.engine.highLatitudeRule = rule;
    auto key = app.platform.settings.OpenKey(kAppSettingsKey);
    if (!key || !key->WriteText(kHighLatitudeRuleValue, HighLatitudeRuleName(rule))) {
        app.platform.messages.Show(Tr(kRegistryErrorText), Tr(kRegistryErrorCaption));
    }
}

void AppendTown(App& app, const Town& town) {
    ConfigTables& tables = app.engine.tables;
    // Rows past NumberOfTowns (or missing ones after a failed read) never become
    // towns: the new town is the one right after the rows in use.
    const int used = std::max(tables.NumberOfTowns, 0);
    if (used >= kMaxNumberOfTowns) return;
    tables.Towns.resize(static_cast<size_t>(used));
    tables.Towns.push_back(town);
    tables.TownSelected = used;
    tables.NumberOfTowns = used + 1;
    FillTownList(app);
    if (app.ui.controls.townList != nullptr) {
        app.ui.controls.townList->SelectLine(LineOfTown(app, used));
    }
    FillConfigFields(app);
}

std::string HelpPath(const std::string& programFolder) {
    // The guide is written in English and in French; a catalogue names the one
    // its readers should open.
    const char* page = Tr("file name of the user guide", "helpen.html");
    return programFolder.empty() ? std::string(page) : programFolder + "/" + page;
}

std::string SunPositionText(const EngineState& engine) {
    const SunState& sun = engine.sun;
    const CurrentPlace& place = engine.place;
    std::string text;
    text += Format("%s, ", place.Name.c_str());
    text += Format("la=%s lg=%s\n", ReadableDmsText(place.latitude.Radians()).c_str(),
                   ReadableDmsText(place.longitude.Radians()).c_str());
    text += Format("%d/%d/%d à %gh UT TZ(inc.DST)=%s\n", sun.utDay, sun.utMonth, sun.utYear,
                   sun.utHour, ZoneHoursText(engine.timeZoneInEffect).c_str());
    text += Format("T=%g JC, ", sun.T);
    text += Format("Soleil lg=%g° ie : %s, ", sun.L * kRadToDeg, ReadableHmsText(sun.L).c_str());
    text +=
        Format("theta0=%g° ie : %s, ", sun.theta0 * kRadToDeg, ReadableHmsText(sun.theta0).c_str());
    text += Format("theta=%g° ie h. sid. %s, ", sun.theta * kRadToDeg,
                   ReadableHmsText(sun.theta).c_str());
    text += Format("RA=%g° ie : %s, ", sun.RA * kRadToDeg, ReadableHmsText(sun.RA).c_str());
    text +=
        Format("delta=%g° ie DE %s,", sun.delta * kRadToDeg, ReadableDmsText(sun.delta).c_str());
    text +=
        Format("tau=%g° ie angle hor. %s\n", sun.tau * kRadToDeg, ReadableHmsText(sun.tau).c_str());
    text += Format("az=%g° (org.Sud) ie %s, ", sun.az * kRadToDeg, ReadableDmsText(sun.az).c_str());
    text += Format("h=%g° ie %s", sun.h * kRadToDeg, ReadableDmsText(sun.h).c_str());
    return text;
}

std::optional<double> ParseNumberField(const std::string& text) {
    auto space = [](char c) {
        return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
    };
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && space(text[begin])) ++begin;
    while (end > begin && space(text[end - 1])) --end;
    const char* p = text.data() + begin;
    const char* stop = text.data() + end;
    bool negative = false;
    if (p < stop && (*p == '+' || *p == '-')) {
        negative = (*p == '-');
        ++p;
    }
    if (p == stop || !((*p >= '0' && *p <= '9') || *p == '.')) return std::nullopt;
    double value = 0.0;
    const auto [last, error] = std::from_chars(p, stop, value, std::chars_format::general);
    if (error != std::errc() || last != stop || !std::isfinite(value)) return std::nullopt;
    return negative ? -value : value;
}

namespace {

// A coordinate field's value in degrees, or a message naming the field and
// nothing when it is not a number within [-limit, limit].
std::optional<double> ReadCoordinate(App& app, Control* field, const char* name, int limit) {
    if (field == nullptr) return std::nullopt;
    const std::string text = CutCharacters(field->GetText(), kFieldChars);
    const std::optional<double> value = ParseNumberField(text);
    if (value && *value >= -limit && *value <= limit) return value;
    app.platform.messages.Show(Format(Tr(kFieldRefusedText), Tr(name), text.c_str(), -limit, limit),
                               Tr(kFieldRefusedCaption));
    return std::nullopt;
}

void SetStatus(App& app, Window& window, const char* text) {
    ShowStatus(app, window, Tr(text));
}

// True when Save would store something other than what the fields show.
bool FieldsDifferFromPlace(const App& app) {
    const MainControls& c = app.ui.controls;
    const CurrentPlace& place = app.engine.place;
    auto textDiffers = [](const Control* field, const std::string& value) {
        return field != nullptr && CutCharacters(field->GetText(), kFieldChars) != value;
    };
    // Degrees compare as the fields write them, with six decimals.
    auto degreesDiffer = [](const Control* field, Degrees angle) {
        if (field == nullptr) return false;
        const std::optional<double> value = ParseNumberField(field->GetText());
        return !value || Format("%lf", *value) != Format("%lf", angle.value());
    };
    auto lineDiffers = [](const Control* list, int value) {
        return list != nullptr && list->SelectedLine() >= 0 && list->SelectedLine() != value;
    };
    return textDiffers(c.countryField, place.Country) || textDiffers(c.townField, place.Name) ||
           degreesDiffer(c.latitudeField, place.latitude) ||
           degreesDiffer(c.longitudeField, place.longitude) ||
           lineDiffers(c.timeZoneList, place.TimeZone + 12) || lineDiffers(c.dstList, place.DST) ||
           lineDiffers(c.conventionList, place.Convention) ||
           (c.zoneChooser != nullptr && ChosenZone(app) != place.Zone);
}

// Another program's change wins over the window's unsaved one.
void ReloadIntoWindow(App& app, Window& window) {
    if (!ReloadApplicationConfig(app)) return;
    FillTownList(app);
    if (app.ui.controls.townList != nullptr) {
        app.ui.controls.townList->SelectLine(LineOfTown(app, app.engine.tables.TownSelected));
    }
    FillConfigFields(app);
    Recompute(app);
    SetStatus(app, window, kReloadedStatus);
}

}  // namespace

StoreResult WriteTables(App& app, Window& window) {
    // Running on the installed default: the user's own copy could not be made.
    if (app.files.readOnly) {
        app.platform.messages.Show(ConfigPath(app), kCaptionWriteError);
        return StoreResult::Failed;
    }
    const std::string path = ConfigPath(app);
    MessageSink& messages = app.platform.messages;
    FileLock lock;
    if (!LockDataCfg(lock, path, messages)) return StoreResult::Failed;
    if (CurrentDataCfgDigest(path) != app.dataCfgDigest) {
        lock.Release();  // the question may wait for the user a long time
        if (!messages.AskYesNo(Tr(kChangedOutsideText), Tr(kChangedOutsideCaption))) {
            ReloadIntoWindow(app, window);
            return StoreResult::Reloaded;
        }
        if (!LockDataCfg(lock, path, messages)) return StoreResult::Failed;
    }
    if (!WriteDataCfg(path, app.engine.tables, messages)) return StoreResult::Failed;
    app.dataCfgDigest = CurrentDataCfgDigest(path);
    return StoreResult::Written;
}

namespace {

void Save(App& app, Window& window) {
    ConfigTables& tables = app.engine.tables;
    if (!HasSelectedTown(tables)) {
        app.platform.messages.Show(Tr(kNoTownSaveText), Tr(kNoTownCaption));
        return;
    }
    if (FieldsDifferFromPlace(app) &&
        app.platform.messages.AskYesNo(Tr(kApplyFieldsText), Tr(kApplyFieldsCaption))) {
        if (!ReadFieldsIntoPlace(app, true) || !HasSelectedTown(tables)) return;
    }
    tables.Towns[static_cast<size_t>(tables.TownSelected)] = TownFromPlace(app.engine.place);
    if (WriteTables(app, window) == StoreResult::Written) SetStatus(app, window, kSavedStatus);
}

// After a confirmation, the selected line's town leaves the tables and
// data.cfg; the town that takes its place in the list is selected.
void DeleteTown(App& app, Window& window) {
    ConfigTables& tables = app.engine.tables;
    const int towns = std::min(static_cast<int>(tables.Towns.size()), tables.NumberOfTowns);
    Control* list = app.ui.controls.townList;
    const int line = list != nullptr ? list->SelectedLine() : -1;
    const int doomed = TownOfLine(app, line);
    if (doomed < 0 || doomed >= towns) return;
    const Town& town = tables.Towns[static_cast<size_t>(doomed)];
    MessageSink& messages = app.platform.messages;
    if (towns == 1) {
        messages.Show(Format(Tr(kLastTownText), town.Country.c_str(), town.Name.c_str()),
                      Tr(kDeleteCaption));
        return;
    }
    if (!messages.AskYesNo(Format(Tr(kDeleteText), town.Country.c_str(), town.Name.c_str()),
                           Tr(kDeleteCaption))) {
        return;
    }
    const ConfigTables before = tables;
    tables.Towns.resize(static_cast<size_t>(towns));
    tables.Towns.erase(tables.Towns.begin() + doomed);
    tables.NumberOfTowns = towns - 1;
    FillTownList(app);
    // The deleted town's line now shows its successor (at the end, its predecessor).
    const int next = TownOfLine(app, std::min(line, towns - 2));
    tables.TownSelected = next;
    const StoreResult stored = WriteTables(app, window);
    if (stored == StoreResult::Reloaded) return;  // the file's towns are shown instead
    if (stored == StoreResult::Failed) {
        tables = before;  // the writer said why; nothing was deleted
        FillTownList(app);
        if (list != nullptr) list->SelectLine(line);
        return;
    }
    FillCurrentPlace(tables.Towns[static_cast<size_t>(next)], app.engine.place);
    if (list != nullptr) list->SelectLine(LineOfTown(app, next));
    FillConfigFields(app);
    RememberLastTown(app);
    if (app.ui.exploring == 0) TakeTownNow(app, TownNow(app));
    SetStatus(app, window, kDeletedStatus);
}

}  // namespace

bool ReadFieldsIntoPlace(App& app, bool modify) {
    MainControls& c = app.ui.controls;
    ConfigTables& tables = app.engine.tables;
    CurrentPlace& place = app.engine.place;
    const int line = c.townList != nullptr ? TownOfLine(app, c.townList->SelectedLine()) : -1;
    if (modify && line < 0) return false;
    // Both coordinates are checked before anything changes.
    std::optional<double> latitude;
    std::optional<double> longitude;
    if (c.latitudeField != nullptr) {
        latitude = ReadCoordinate(app, c.latitudeField, kLatitudeName, 90);
        if (!latitude) return false;
    }
    if (c.longitudeField != nullptr) {
        longitude = ReadCoordinate(app, c.longitudeField, kLongitudeName, 180);
        if (!longitude) return false;
    }
    if (modify) tables.TownSelected = line;
    if (c.countryField != nullptr)
        place.Country = CutCharacters(c.countryField->GetText(), kFieldChars);
    if (c.townField != nullptr) place.Name = CutCharacters(c.townField->GetText(), kFieldChars);
    if (latitude) place.latitude = Degrees{*latitude};
    if (longitude) place.longitude = Degrees{*longitude};
    if (c.timeZoneList != nullptr && c.timeZoneList->SelectedLine() >= 0) {
        place.TimeZone = c.timeZoneList->SelectedLine() - 12;
    }
    if (c.dstList != nullptr && c.dstList->SelectedLine() >= 0) {
        place.DST = c.dstList->SelectedLine();
    }
    if (c.conventionList != nullptr && c.conventionList->SelectedLine() >= 0) {
        place.Convention = c.conventionList->SelectedLine();
    }
    if (c.zoneChooser != nullptr) place.Zone = ChosenZone(app);
    return true;
}

void HandleCommand(App& app, Window& window, int id, int code) {
    switch (id) {
        case kIdLanguageList:
            if (code == kNotifySelectionChange) ChooseLanguage(app, window);
            break;
        case kIdTownList:
            SelectTown(app);
            break;
        case kIdMethod:
            ChooseMethod(app, window);
            break;
        case kIdFind:
            FindTown(app, window);
            break;
        case kIdAdhan:
            EditAdhanSettings(app, window);
            break;
        case kIdDelete:
            DeleteTown(app, window);
            break;
        case kIdSave:
            Save(app, window);
            break;
        case kIdDatePicker:
        case kIdTimePicker:
            RepaintAll(app, window);
            break;
        case kIdNow:
            SetPickersToNow(app, window);
            break;
        case kIdModify:
            if (ReadFieldsIntoPlace(app, true)) SetStatus(app, window, kModifiedStatus);
            break;
        case kIdAdd:
            AddTown(app);
            break;
        case kIdZoneChooser:
            if (code == kNotifySelectionChange) {
                app.ui.zoneChosen = true;
                ApplyChosenZone(app);
            }
            break;
        case kIdConfigField:
            break;
        case kIdCheckVersion:
            if (!app.updateUrl.empty()) app.platform.shell.OpenDocument(app.updateUrl);
            break;
        case kIdHelp:
            app.platform.shell.OpenDocument(HelpPath(app.files.installedFolder));
            break;
        case kIdExit:
            window.Close();
            break;
        case kIdPrevious:
            ChangePage(app, window, -1);
            break;
        case kIdNext:
            ChangePage(app, window, +1);
            break;
        case kIdSunPosition:
            ShowSunPosition(app, window);
            break;
        case kIdCalendar:
            WriteCalendar(app);
            break;
        case kIdExplore:
            app.ui.exploring = 1;
            RepaintAll(app, window);
            break;
        case kIdNightToggle:
            if (code == kNotifyClicked) ToggleNight(app, window);
            break;
        default:
            break;  // the platform's default processing: nothing to do here
    }
}

}  // namespace orvano
