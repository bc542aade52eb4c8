// The main window's commands, driven through the window procedure with the
// recording doubles of the platform and a real data.cfg in a scratch folder.
#include "app/commands.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>

#include "app/app.h"
#include "app/controls.h"
#include "app/paint.h"
#include "app/window_proc.h"
#include "astro/angle_text.h"
#include "astro/constants.h"
#include "astro/trace.h"
#include "config/reader.h"
#include "engine/schedule.h"
#include "language/messages.h"
#include "tests/app_pages/recorded_ops.h"
#include "tests/support/desktop_zone.h"
#include "tests/support/recording_platform.h"
#include "tests/support/temp_folder.h"

namespace orvano {
namespace {

namespace fs = std::filesystem;
using testing::FakeControl;
using testing::FakePlatform;
using testing::FakeWindow;
using testing::FindText;
using testing::ReadFile;
using testing::RecordingSurface;

std::vector<std::uint8_t> Number(std::uint32_t v) {
    return {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
            static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 24)};
}

// One started application whose program folder is a scratch folder.
class Started {
  public:
    // `config` empty: no data.cfg at all. `lang` 0: the install key is missing.
    // `rule`: the stored HighLatitudeRule word, nullptr for none. `installed`:
    // the program folder holds the bundled catalogue of methods and gazetteer.
    Started(const std::string& config, std::uint32_t lang, const char* rule = nullptr,
            bool installed = false) {
        if (!config.empty()) fs::copy_file(config, DataCfg());
        if (installed) {
            const fs::path resources = fs::path(ORVANO_SOURCE_DIR) / "resources";
            fs::create_directory(folder() / "methods");
            fs::copy_file(resources / "methods" / "orvano.methods",
                          folder() / "methods" / "orvano.methods");
            fs::copy_file(resources / "gazetteer.tsv", folder() / "gazetteer.tsv");
        }
        fake.shell.modulePath = (folder() / "orvano").string();
        if (lang != 0) {
            fake.settings.CreateKey(kAppSettingsKey);
            fake.settings.keys[kAppSettingsKey]["Lang"] = Number(lang);
            if (rule != nullptr) {
                const std::string word = rule;
                fake.settings.keys[kAppSettingsKey][kHighLatitudeRuleValue] =
                    std::vector<std::uint8_t>(word.begin(), word.end());
            }
        }
        app = std::make_unique<App>(fake.platform());
        app->files = UserFilesIn(folder_.path());
        EXPECT_TRUE(StartApplication(*app, 1));
    }

    FakeWindow& window() { return *fake.windows.window; }
    FakeControl& control(Control* c) { return *static_cast<FakeControl*>(c); }
    MainControls& controls() { return app->ui.controls; }
    fs::path folder() const { return folder_.path(); }
    fs::path DataCfg() const { return folder() / "data.cfg"; }
    std::vector<std::string> Files() const { return folder_.Entries(); }

    void GoToPage(int page) {
        while (app->ui.requestedPage < page) window().SendCommand(kIdNext);
        while (app->ui.requestedPage > page) window().SendCommand(kIdPrevious);
    }
    RecordingSurface Paint() {
        RecordingSurface surface;
        window().handler->OnPaint(window(), surface);
        return surface;
    }

    FakePlatform fake;
    std::unique_ptr<App> app;

  private:
    testing::TempFolder folder_;  // the program folder
};

const std::string kFourTowns = std::string(ORVANO_TEST_DATA) + "/app_pages_four_towns.cfg";

// The choice is stored in the install key and applies at once, with no
// message; with the key missing nothing is stored and the failure is said in
// the new language, which the run still uses.
TEST(LanguageCommand, EachChoiceIsStoredAndToldInTheNewLanguage) {
    const struct {
        std::uint32_t startLang;  // 0: the install key is missing (French in memory)
        int line;
        std::uint32_t lang;  // after the choice
        bool stored;
        const char* text;
        const char* caption;
    } cases[] = {
        {1, 1, 2, true, nullptr, nullptr},
        {2, 0, 1, true, nullptr, nullptr},
        {0, 1, 2, false,
         "Votre application n'est pas correctement installée, veuillez la réinstaller",
         "Erreur d'enregistrement"},
        {0, 0, 1, false, "Your application is not correctly installed, please reinstall",
         "Registry Error"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.startLang) + " to line " + std::to_string(c.line));
        Started s(kFourTowns, c.startLang);
        EXPECT_EQ(s.app->ui.Lang, c.startLang == 0 ? 2u : c.startLang);
        s.GoToPage(kPageConfiguration);
        s.fake.messages.shown.clear();
        s.control(s.controls().languageList).SelectLine(c.line);
        s.window().SendCommand(kIdLanguageList, kNotifySelectionChange);
        EXPECT_EQ(s.app->ui.Lang, c.lang);
        EXPECT_EQ(s.fake.settings.Value(kAppSettingsKey, "Lang"),
                  c.stored ? std::optional(Number(c.lang)) : std::nullopt);
        const std::vector<testing::RecordingMessageSink::Shown> told =
            c.text == nullptr
                ? std::vector<testing::RecordingMessageSink::Shown>{}
                : std::vector<testing::RecordingMessageSink::Shown>{{c.text, c.caption}};
        EXPECT_EQ(s.fake.messages.shown, told);
    }
}

// Painted texts follow at once; control labels keep the start-up language.
TEST(LanguageCommand, PaintedTextsFollowAtOnce) {
    Started s(kFourTowns, 1);
    s.GoToPage(kPageConfiguration);
    EXPECT_EQ(s.Paint().ops().front().text, "Country:");
    s.control(s.controls().languageList).SelectLine(1);
    s.window().SendCommand(kIdLanguageList, kNotifySelectionChange);
    EXPECT_EQ(s.Paint().ops().front().text, "Pays :");
    s.GoToPage(kPageHome);
    EXPECT_EQ(s.Paint().ops().front().text, "Accueil");
    // The controls' labels and the pickers' locale follow at once too.
    EXPECT_EQ(s.control(s.controls().modify).GetText(), "Modifie");
    EXPECT_EQ(s.control(s.controls().now).GetText(), "Maintenant");
    EXPECT_EQ(s.control(s.controls().datePicker).language, "fr");
    // A language Lang has no number for is stored as [Language] Code.
    s.GoToPage(kPageConfiguration);
    s.control(s.controls().languageList).SelectLine(2);
    s.window().SendCommand(kIdLanguageList, kNotifySelectionChange);
    EXPECT_EQ(s.control(s.controls().now).GetText(), "Şimdi");
    EXPECT_EQ(s.control(s.controls().findButton).GetText(), "Bul…");
    EXPECT_EQ(s.control(s.controls().nightToggle).GetText(), "Gece");
    EXPECT_EQ(s.control(s.controls().datePicker).language, "tr");
    const auto& code = s.fake.settings.keys[kLanguageSettingsKey][kLanguageCodeValue];
    EXPECT_EQ(std::string(code.begin(), code.end()), "tr");
    EXPECT_EQ(s.fake.settings.Value(kAppSettingsKey, "Lang"), Number(2));
    s.GoToPage(kPageHome);
    EXPECT_EQ(s.Paint().ops().front().text, "Ana sayfa");
}

// Arabic chosen: the window reads from the right at once, every control at
// its mirror place, the arrows swapped; back to English, all as before.
TEST(LanguageCommand, ArabicMirrorsTheControlsAtOnce) {
    Started s(kFourTowns, 1);
    s.GoToPage(kPageConfiguration);
    const FakeControl& previous = s.control(s.controls().previous);
    const FakeControl& save = s.control(s.controls().save);
    const int previousX = previous.spec.x;
    const int saveX = save.spec.x;
    EXPECT_FALSE(s.window().rightToLeft);
    s.control(s.controls().languageList).SelectLine(6);
    s.window().SendCommand(kIdLanguageList, kNotifySelectionChange);
    EXPECT_TRUE(s.window().rightToLeft);
    EXPECT_EQ(s.app->ui.language, "ar");
    EXPECT_EQ(previous.spec.x, 240 - previousX - previous.spec.width);
    EXPECT_EQ(save.spec.x, 240 - saveX - save.spec.width);
    EXPECT_EQ(previous.text, ">");
    EXPECT_EQ(s.control(s.controls().next).text, "<");
    EXPECT_EQ(s.control(s.controls().save).text, "حفظ");
    s.control(s.controls().languageList).SelectLine(0);
    s.window().SendCommand(kIdLanguageList, kNotifySelectionChange);
    EXPECT_FALSE(s.window().rightToLeft);
    EXPECT_EQ(previous.spec.x, previousX);
    EXPECT_EQ(save.spec.x, saveX);
    EXPECT_EQ(previous.text, "<");
}

// The rule is chosen in the method dialog, under the methods.
TEST(HighLatitudeCommand, StoredRuleIsShownAndAChoiceIsStoredAndApplied) {
    struct Case {
        const char* stored;  // nullptr: no value
        int line;            // the list's line when the dialog opens
    };
    for (const Case& c : {Case{nullptr, 0}, Case{"middle", 1}, Case{"bogus", 0}}) {
        Started s(kFourTowns, 1, c.stored);
        s.GoToPage(kPageConfiguration);
        // A midsummer day far north: Isha is estimated under every rule but "none".
        s.app->engine.place.latitude = Degrees{58.0};
        s.app->engine.observation = Observation{21, 6, 2024, 12, 0, 0};
        Recompute(*s.app);
        EXPECT_EQ(s.app->engine.schedule.status[Isha], PrayerStatus::Estimated);
        s.fake.messages.shown.clear();

        s.window().dialogScript = [&c](testing::FakeDialog& dialog) {
            FakeControl* list = dialog.ById(kIdDialogRuleList);
            ASSERT_NE(list, nullptr);
            EXPECT_EQ(list->selected, c.line);
            EXPECT_EQ(list->lines.size(), 4u);
            list->SelectLine(3);
            dialog.SendCommand(kIdDialogOk);
        };
        s.window().SendCommand(kIdMethod);
        EXPECT_EQ(s.app->engine.highLatitudeRule, HighLatitudeRule::None);
        EXPECT_EQ(s.app->engine.schedule.status[Isha], PrayerStatus::None);
        EXPECT_EQ(s.fake.settings.Value(kAppSettingsKey, kHighLatitudeRuleValue),
                  (std::vector<std::uint8_t>{'n', 'o', 'n', 'e'}));
        EXPECT_TRUE(s.fake.messages.shown.empty());
    }
}

// The Home page's Night button shows the night times at once and keeps the
// choice in [Night] Show; the Hijri settings are read at start.
TEST(NightCommand, ShowsAndHidesTheNightTimesAndKeepsTheChoice) {
    Started s(kFourTowns, 1);
    EXPECT_FALSE(s.app->ui.home.night);
    FakeControl& button = s.control(s.controls().nightToggle);
    EXPECT_TRUE(button.visible);
    for (const char* stored : {"1", "0"}) {
        s.window().SendCommand(kIdNightToggle, kNotifyClicked);
        EXPECT_EQ(s.app->ui.home.night.has_value(), *stored == '1');
        EXPECT_EQ(FindText(s.Paint(), "Imsak") != nullptr, *stored == '1');
        EXPECT_EQ(s.fake.settings.Value(kNightSettingsKey, kNightShowValue),
                  (std::vector<std::uint8_t>{static_cast<std::uint8_t>(*stored)}));
    }
    EXPECT_TRUE(s.fake.messages.shown.empty());
    s.GoToPage(kPageQibla);
    EXPECT_FALSE(button.visible);
}

TEST(LanguageCommand, OnlyTheSelectionChangeCounts) {
    Started s(kFourTowns, 1);
    s.GoToPage(kPageConfiguration);
    s.fake.messages.shown.clear();
    s.control(s.controls().languageList).SelectLine(1);
    for (int code : {kNotifyDropDown, kNotifyCloseUp, kNotifySetFocus}) {
        s.window().SendCommand(kIdLanguageList, code);
    }
    EXPECT_EQ(s.app->ui.Lang, 1u);
    EXPECT_TRUE(s.fake.messages.shown.empty());
}

void TypeFields(Started& s, const std::string& country, const std::string& town,
                const std::string& latitude, const std::string& longitude, int zoneLine,
                int dstLine, int conventionLine) {
    s.control(s.controls().countryField).SetText(country);
    s.control(s.controls().townField).SetText(town);
    s.control(s.controls().latitudeField).SetText(latitude);
    s.control(s.controls().longitudeField).SetText(longitude);
    s.control(s.controls().timeZoneList).SelectLine(zoneLine);
    s.control(s.controls().dstList).SelectLine(dstLine);
    s.control(s.controls().conventionList).SelectLine(conventionLine);
    // Integers typed by hand: the town has no named zone.
    s.control(s.controls().zoneChooser).SelectLine(0);
    s.window().SendCommand(kIdZoneChooser, kNotifySelectionChange);
}

TEST(TownCommands, ModifyThenSaveWritesSixDecimalsLatitudeFirst) {
    Started s(kFourTowns, 1);
    const std::string before = ReadFile(s.DataCfg().string());
    s.GoToPage(kPageConfiguration);
    s.control(s.controls().townList).SelectLine(LineOfTown(*s.app, 1));
    TypeFields(s, "Maroc", "Tanger", " 35.7595 ", "-5.83395", 13, 1, 1);
    s.window().SendCommand(kIdModify);
    // Confirmed on the page for a few seconds, then gone.
    EXPECT_EQ(s.app->ui.statusText, "Modified: Save stores it");
    EXPECT_NE(FindText(s.Paint(), "Modified: Save stores it"), nullptr);
    for (int tick = 0; tick < kStatusSeconds; ++tick) s.window().handler->OnTimer(s.window(), 1);
    EXPECT_EQ(FindText(s.Paint(), "Modified: Save stores it"), nullptr);

    EXPECT_EQ(s.app->engine.tables.TownSelected, 1);
    EXPECT_EQ(s.app->engine.place.Name, "Tanger");
    EXPECT_EQ(s.app->engine.place.latitude, Degrees{35.7595});
    EXPECT_EQ(s.app->engine.place.TimeZone, 1);
    EXPECT_EQ(ReadFile(s.DataCfg().string()), before);  // Modify writes nothing

    s.window().SendCommand(kIdSave);
    EXPECT_TRUE(s.fake.messages.asked.empty());  // the fields were applied already
    EXPECT_EQ(s.app->ui.statusText, "Saved in data.cfg");
    const std::string after = ReadFile(s.DataCfg().string());
    EXPECT_NE(after.find("\n2 Maroc            Tanger           35.759500   -5.833950   "
                         "1        1   1 \n"),
              std::string::npos)
        << after;
    EXPECT_EQ(after.find("Rabat"), std::string::npos);
    EXPECT_NE(after.find("\n1 4              1             0      \n"), std::string::npos);

    // Replaced in one step: no temporary file is left beside it.
    for (const std::string& name : s.Files()) {
        EXPECT_TRUE(name == "data.cfg" || name == "read_echo.cfg" || name == "data.cfg.lock")
            << name;
    }

    // The saved file reads back to the modified town.
    ConfigTables tables;
    CurrentPlace place;
    struct : MessageSink {
        void Show(const std::string&, const std::string&) override { ++shown; }
        int shown = 0;
    } boxes;
    EXPECT_EQ(ReadDataCfg(s.DataCfg().string(), "", tables, place, boxes, nullptr), 0);
    ASSERT_EQ(tables.Towns.size(), 4u);
    EXPECT_EQ(tables.Towns[1].Name, "Tanger");
    EXPECT_EQ(tables.Towns[1].latitude, 35.7595);
    EXPECT_EQ(tables.Towns[1].longitude, -5.83395);
    EXPECT_EQ(tables.Towns[1].Convention, 1);
}

// Another program changed data.cfg after the window read it: Save asks. Yes
// writes the window's tables over that change; No reads the file again.
TEST(TownCommands, SaveAfterAnOutsideChangeAsks) {
    for (bool overwrite : {true, false}) {
        SCOPED_TRACE(overwrite);
        Started s(kFourTowns, 1);
        s.GoToPage(kPageConfiguration);
        s.control(s.controls().townList).SelectLine(1);
        TypeFields(s, "Maroc", "Tanger", "35.7595", "-5.83395", 13, 1, 1);
        s.window().SendCommand(kIdModify);
        std::string outside = ReadFile(s.DataCfg().string());
        outside.replace(outside.find("Rabat"), 5, "Fesxx");
        testing::WriteFile(s.DataCfg().string(), outside);

        s.fake.messages.answers = {overwrite};
        s.window().SendCommand(kIdSave);
        ASSERT_EQ(s.fake.messages.asked.size(), 1u);
        EXPECT_EQ(s.fake.messages.asked[0].caption, "data.cfg changed");
        const std::string after = ReadFile(s.DataCfg().string());
        EXPECT_EQ(after.find("Tanger") != std::string::npos, overwrite);
        EXPECT_EQ(after == outside, !overwrite);
        EXPECT_EQ(s.app->engine.place.Name, overwrite ? "Tanger" : "Fesxx");
        EXPECT_EQ(s.control(s.controls().townField).GetText(), overwrite ? "Tanger" : "Fesxx");
        EXPECT_EQ(s.app->ui.statusText,
                  overwrite ? "Saved in data.cfg" : "Read again from data.cfg");

        // The window now holds what the file holds: the next Save asks nothing.
        s.window().SendCommand(kIdSave);
        EXPECT_EQ(s.fake.messages.asked.size(), 1u);
        EXPECT_EQ(s.app->ui.statusText, "Saved in data.cfg");
    }
}

// Typed but not applied: Save asks. No saves the town as it stands, Yes
// applies the fields as Modify does and saves them.
TEST(TownCommands, SaveAsksWhetherToApplyFieldsThatDiffer) {
    for (bool yes : {false, true}) {
        SCOPED_TRACE(yes);
        Started s(kFourTowns, 2);
        s.GoToPage(kPageConfiguration);
        s.window().SendCommand(kIdSave);  // fields as filled: nothing to ask
        EXPECT_TRUE(s.fake.messages.asked.empty());
        EXPECT_EQ(s.app->ui.statusText, "Sauvé dans data.cfg");

        s.control(s.controls().townList).SelectLine(LineOfTown(*s.app, 2));
        TypeFields(s, "Egypte", "Louxor", "25.6872", "32.6396", 14, 0, 1);
        s.fake.messages.answers = {yes};
        s.window().SendCommand(kIdSave);
        ASSERT_EQ(s.fake.messages.asked.size(), 1u);
        EXPECT_EQ(s.fake.messages.asked[0].caption, "Sauve");
        EXPECT_EQ(s.fake.messages.asked[0].text,
                  "Les champs diffèrent de la ville qui sera sauvée. Les appliquer d'abord, "
                  "comme Modifie ?");
        const std::string after = ReadFile(s.DataCfg().string());
        EXPECT_EQ(after.find("Louxor") != std::string::npos, yes) << after;
        EXPECT_EQ(s.app->engine.tables.TownSelected, yes ? 2 : 1);
        EXPECT_NE(after.find(yes ? "\n2 Egypte           Louxor           25.687200   32.639600   "
                                   "2        0   1 \n"
                                 : "\n2 Morocco          Rabat  "),
                  std::string::npos)
            << after;
    }
}

// Not a number, or out of range, names the field and changes nothing; the
// ends of the ranges are accepted.
TEST(TownCommands, CoordinateFieldsOutsideTheirRangeAreRefused) {
    const struct {
        const char* latitude;
        const char* longitude;
        const char* refused;  // nullptr: accepted
    } cases[] = {
        {"abc", "2", "Latitude: \"abc\" is not a number from -90 to 90. Nothing was changed."},
        {"90.000001", "2", "Latitude: \"90.000001\" is not a number from -90 to 90."},
        {"12abc", "2", "Latitude: \"12abc\""},
        {"", "2", "Latitude: \"\""},
        {"45", "-180.5", "Longitude: \"-180.5\" is not a number from -180 to 180."},
        {"45", "nan", "Longitude: \"nan\""},
        {"-90", "180", nullptr},
        {" 90 ", "-180", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.latitude) + " " + c.longitude);
        Started s(kFourTowns, 1);
        s.GoToPage(kPageConfiguration);
        const CurrentPlace before = s.app->engine.place;
        s.control(s.controls().townList).SelectLine(LineOfTown(*s.app, 3));
        TypeFields(s, "X", "Y", c.latitude, c.longitude, 12, 0, 0);
        s.fake.messages.shown.clear();
        for (int id : {kIdModify, kIdAdd}) s.window().SendCommand(id);
        if (c.refused == nullptr) {
            EXPECT_TRUE(s.fake.messages.shown.empty());
            EXPECT_EQ(s.app->engine.tables.NumberOfTowns, 5);
            EXPECT_EQ(s.app->engine.place.Name, "Y");
            continue;
        }
        ASSERT_EQ(s.fake.messages.shown.size(), 2u);
        EXPECT_EQ(s.fake.messages.shown[0].caption, "Invalid field");
        EXPECT_EQ(s.fake.messages.shown[0].text.rfind(c.refused, 0), 0u)
            << s.fake.messages.shown[0].text;
        EXPECT_EQ(s.app->engine.tables.TownSelected, 1);
        EXPECT_EQ(s.app->engine.tables.NumberOfTowns, 4);
        EXPECT_EQ(s.app->engine.place.Name, before.Name);
        EXPECT_EQ(s.app->engine.place.latitude, before.latitude);
        EXPECT_EQ(s.app->engine.place.TimeZone, before.TimeZone);
        EXPECT_TRUE(s.app->ui.statusText.empty());
    }
}

TEST(TownCommands, AddWithFourTownsGivesFiveAndSavesOnlyOnSave) {
    Started s(kFourTowns, 1);
    const std::string before = ReadFile(s.DataCfg().string());
    s.GoToPage(kPageConfiguration);
    TypeFields(s, "Turkey", "Istanbul", "41.0082", "28.9784", 15, 0, 0);
    s.window().SendCommand(kIdAdd);

    const ConfigTables& tables = s.app->engine.tables;
    EXPECT_EQ(tables.NumberOfTowns, 5);
    ASSERT_EQ(tables.Towns.size(), 5u);
    EXPECT_EQ(tables.TownSelected, 4);
    EXPECT_EQ(tables.Towns[4].Name, "Istanbul");
    EXPECT_EQ(tables.Towns[4].TimeZone, 3);
    EXPECT_NEAR(tables.Towns[4].latitude, 41.0082, 1e-12);
    const FakeControl& list = s.control(s.controls().townList);
    ASSERT_EQ(list.lines.size(), 5u);
    EXPECT_EQ(list.lines[4], "Turkey : Istanbul");
    EXPECT_EQ(list.selected, 4);
    EXPECT_EQ(ReadFile(s.DataCfg().string()), before);

    s.window().SendCommand(kIdSave);
    const std::string after = ReadFile(s.DataCfg().string());
    EXPECT_NE(after.find("\n1 5              4             0      \n"), std::string::npos);
    EXPECT_NE(after.find("\n2 Turkey           Istanbul         41.008200   28.978400   3 "),
              std::string::npos);
}

// The zone chooser: the selected town's zone, the lists it fills and locks,
// none, an unknown name, and Add in the desktop's zone.
TEST(TownCommands, ZoneChooser) {
    Started s(std::string(ORVANO_TEST_DATA) + "/app_pages_zone_town.cfg", 1);
    s.GoToPage(kPageConfiguration);
    FakeControl& chooser = s.control(s.controls().zoneChooser);
    FakeControl& zones = s.control(s.controls().timeZoneList);
    FakeControl& dst = s.control(s.controls().dstList);
    auto lineOf = [&](const std::string& name) {
        const auto at = std::find(chooser.lines.begin(), chooser.lines.end(), name);
        return static_cast<int>(at - chooser.lines.begin());
    };
    EXPECT_TRUE(chooser.visible);
    EXPECT_EQ(chooser.lines[0], "(no zone)");
    ASSERT_GE(chooser.selected, 1);
    EXPECT_EQ(chooser.lines[static_cast<size_t>(chooser.selected)], "Asia/Kolkata");
    EXPECT_EQ(zones.selected, 5 + 12);
    EXPECT_FALSE(zones.enabled);
    EXPECT_FALSE(dst.enabled);

    chooser.SelectLine(lineOf("Pacific/Chatham"));
    s.window().SendCommand(kIdZoneChooser, kNotifySelectionChange);
    EXPECT_EQ(zones.selected, 12 + 12);
    EXPECT_EQ(dst.selected, 1);
    s.window().SendCommand(kIdModify);
    EXPECT_EQ(s.app->engine.place.Zone, "Pacific/Chatham");
    EXPECT_EQ(s.app->engine.place.TimeZone, 12);

    chooser.SelectLine(0);
    s.window().SendCommand(kIdZoneChooser, kNotifySelectionChange);
    EXPECT_TRUE(zones.enabled);
    EXPECT_TRUE(dst.enabled);
    s.window().SendCommand(kIdModify);
    EXPECT_EQ(s.app->engine.place.Zone, "");

    // Add starts the new town in the desktop's zone, unless one was chosen for it.
    FillConfigFields(*s.app);
    {
        const testing::DesktopZone newfoundland("America/St_Johns");
        s.control(s.controls().townField).SetText("Gander");
        s.window().SendCommand(kIdAdd);
    }
    ASSERT_EQ(s.app->engine.tables.Towns.size(), 2u);
    const Town& added = s.app->engine.tables.Towns[1];
    EXPECT_EQ(added.Zone, "America/St_Johns");
    EXPECT_EQ(added.TimeZone, -3);
    EXPECT_EQ(added.DST, 1);
    EXPECT_EQ(chooser.lines[static_cast<size_t>(chooser.selected)], "America/St_Johns");

    // An unknown name is shown as such, and Save writes it back as read.
    s.app->engine.place.Zone = "Asia/Atlantis";
    FillConfigFields(*s.app);
    EXPECT_EQ(chooser.lines[static_cast<size_t>(chooser.selected)], "Asia/Atlantis (unknown)");
    EXPECT_TRUE(zones.enabled);
    s.window().SendCommand(kIdModify);
    s.window().SendCommand(kIdSave);
    EXPECT_NE(ReadFile(s.DataCfg().string()).find("\n8 zone Asia/Atlantis\n"), std::string::npos);
}

TEST(TownCommands, TouchingTheTownListLosesAnUnsavedModify) {
    Started s(kFourTowns, 1);
    s.GoToPage(kPageConfiguration);
    s.control(s.controls().townList).SelectLine(LineOfTown(*s.app, 2));
    TypeFields(s, "X", "Y", "1", "2", 0, 0, 0);
    s.window().SendCommand(kIdModify);
    EXPECT_EQ(s.app->engine.place.Name, "Y");
    // Opening the drop-down without choosing repeats the selection.
    s.window().SendCommand(kIdTownList, kNotifyDropDown);
    EXPECT_EQ(s.app->engine.place.Name, "Cairo");
    EXPECT_EQ(s.app->engine.place.latitude, Degrees{30.04});
    EXPECT_EQ(s.app->engine.place.TimeZone, 2);
    EXPECT_EQ(s.app->engine.place.DST, 2);
    EXPECT_EQ(s.app->engine.place.Convention, 1);
    EXPECT_EQ(s.control(s.controls().townField).GetText(), "Cairo");
}

TEST(TownCommands, TownListWithoutASelectionChangesNothing) {
    Started s(kFourTowns, 1);
    s.GoToPage(kPageConfiguration);
    s.control(s.controls().townList).SelectLine(-1);
    s.window().SendCommand(kIdTownList, kNotifySetFocus);
    EXPECT_EQ(s.app->engine.tables.TownSelected, 1);
    EXPECT_EQ(s.app->engine.place.Name, "Rabat");
    s.control(s.controls().townList).SelectLine(LineOfTown(*s.app, 3));
    s.window().SendCommand(kIdTownList, kNotifySelectionChange);
    EXPECT_EQ(s.app->engine.tables.TownSelected, 3);
    EXPECT_EQ(s.app->engine.place.Name, "Karachi");
    EXPECT_EQ(s.app->engine.place.longitude, Degrees{67.0});
    EXPECT_EQ(s.control(s.controls().latitudeField).GetText(), "24.860000");
}

TEST(TownCommands, ModifyWithoutASelectedTownChangesNothing) {
    Started s(kFourTowns, 1);
    s.GoToPage(kPageConfiguration);
    s.control(s.controls().townList).SelectLine(-1);
    TypeFields(s, "X", "Y", "1", "2", 0, 0, 0);
    s.window().SendCommand(kIdModify);
    EXPECT_EQ(s.app->engine.place.Name, "Rabat");
    EXPECT_EQ(s.app->engine.tables.TownSelected, 1);
}

TEST(TownCommands, FieldsAreCutAt79Characters) {
    Started s(kFourTowns, 1);
    s.GoToPage(kPageConfiguration);
    const std::string longName(100, 'a');
    // Two-byte characters are cut whole.
    std::string accented;
    for (int i = 0; i < 90; ++i) accented += "é";
    TypeFields(s, accented, longName, "1", "2", 12, 0, 0);
    s.window().SendCommand(kIdModify);
    EXPECT_EQ(s.app->engine.place.Name, std::string(79, 'a'));
    EXPECT_EQ(s.app->engine.place.Country.size(), 79u * 2);
}

// Running on the installed file because the user's copy could not be made.
TEST(TownCommands, SaveOnTheInstalledFileIsRefused) {
    Started s(kFourTowns, 1);
    s.app->files.readOnly = true;
    const std::string before = ReadFile(s.DataCfg().string());
    s.fake.messages.shown.clear();
    s.window().SendCommand(kIdSave);
    ASSERT_EQ(s.fake.messages.shown.size(), 1u);
    EXPECT_EQ(s.fake.messages.shown[0].caption, "File open error for writing data.cfg");
    EXPECT_EQ(s.fake.messages.shown[0].text, s.DataCfg().string());
    EXPECT_EQ(ReadFile(s.DataCfg().string()), before);
}

TEST(TownCommands, SaveAndCalendarWithAnEmptyTableTouchNothing) {
    for (const auto& [lang, caption] : {std::pair{1u, "No town"}, std::pair{2u, "Aucune ville"}}) {
        SCOPED_TRACE(caption);
        Started s("", lang);  // no data.cfg: no town was read
        s.fake.messages.shown.clear();
        s.window().SendCommand(kIdSave);
        ASSERT_EQ(s.fake.messages.shown.size(), 1u);
        EXPECT_EQ(s.fake.messages.shown[0].caption, caption);
        EXPECT_FALSE(fs::exists(s.DataCfg()));
        EXPECT_TRUE(s.app->engine.tables.Towns.empty());
        EXPECT_EQ(s.app->engine.tables.NumberOfTowns, 0);

        s.window().SendCommand(kIdCalendar);
        ASSERT_EQ(s.fake.messages.shown.size(), 2u);
        EXPECT_EQ(s.fake.messages.shown[1].caption, caption);
        EXPECT_TRUE(s.fake.shell.opened.empty());
        EXPECT_TRUE(s.Files().empty());
        if (lang == 1u) {
            EXPECT_NE(s.fake.messages.shown[0].text.find("empty"), std::string::npos);
        }
    }
}

TEST(CalendarCommand, WritesTheMonthAndOpensIt) {
    Started s(kFourTowns, 1);
    s.window().SendCommand(kIdCalendar);
    ASSERT_EQ(s.fake.shell.opened.size(), 1u);
    const fs::path page = s.fake.shell.opened[0];
    EXPECT_EQ(page.parent_path(), s.folder());
    EXPECT_EQ(page.filename(), "Rabat_Mars2024.html");  // the fake clock's 15 March 2024
    EXPECT_TRUE(fs::exists(page));
}

TEST(PageCommands, NextOnPage3HidesNextPreviousOnPage1HidesPrevious) {
    Started s(kFourTowns, 1);
    s.GoToPage(kPageConfiguration);
    s.window().SendCommand(kIdNext);
    EXPECT_EQ(s.app->ui.requestedPage, kPageAbout);
    EXPECT_EQ(s.app->ui.currentPage, kPageAbout);
    EXPECT_FALSE(s.control(s.controls().next).IsVisible());
    EXPECT_TRUE(s.control(s.controls().help).IsVisible());
    // A command from elsewhere cannot go past the last page.
    s.window().SendCommand(kIdNext);
    EXPECT_EQ(s.app->ui.requestedPage, kPageAbout);

    s.GoToPage(kPageQibla);
    s.window().SendCommand(kIdPrevious);
    EXPECT_EQ(s.app->ui.requestedPage, kPageHome);
    EXPECT_FALSE(s.control(s.controls().previous).IsVisible());
    s.window().SendCommand(kIdPrevious);
    EXPECT_EQ(s.app->ui.requestedPage, kPageHome);
}

TEST(ShellCommands, HelpOpensThePageOfTheLanguage) {
    Started s(kFourTowns, 2);
    s.window().SendCommand(kIdHelp);
    ASSERT_EQ(s.fake.shell.opened.size(), 1u);
    EXPECT_EQ(s.fake.shell.opened[0], (s.folder() / "help.html").string());
    UseLanguage("en");
    s.window().SendCommand(kIdHelp);
    EXPECT_EQ(s.fake.shell.opened[1], (s.folder() / "helpen.html").string());
}

// The button leads to the home page the build names, and is not there without one.
TEST(ShellCommands, UpdateButtonOpensTheConfiguredHomePage) {
    for (const std::string url : {"https://orvano.example.net/releases", ""}) {
        Started s(kFourTowns, 1);
        s.app->updateUrl = url;
        s.app->ui.requestedPage = kPageAbout;
        ShowPage(*s.app, s.window());
        EXPECT_EQ(s.control(s.controls().checkVersion).visible, !url.empty()) << url;
        s.window().SendCommand(kIdCheckVersion);
        EXPECT_EQ(s.fake.shell.opened,
                  url.empty() ? std::vector<std::string>{} : std::vector<std::string>{url});
    }
}

TEST(PickerCommands, ExploreThenNow) {
    Started s(kFourTowns, 1);
    const size_t before = s.window().invalidations.size();
    s.window().SendCommand(kIdExplore);
    EXPECT_EQ(s.app->ui.exploring, 1);
    EXPECT_EQ(s.window().invalidations.size(), before + 1);
    EXPECT_FALSE(s.window().invalidations.back().area.has_value());
    EXPECT_TRUE(s.window().invalidations.back().flags.erase);

    s.control(s.controls().datePicker).SetDateTime(LocalTime{2001, 2, 0, 3, 4, 5, 6, 0});
    s.fake.clock.now = LocalTime{2030, 12, 2, 31, 23, 59, 58, 0};
    s.window().SendCommand(kIdNow);
    EXPECT_EQ(s.app->ui.exploring, 0);
    const LocalTime date = s.control(s.controls().datePicker).GetDateTime();
    const LocalTime time = s.control(s.controls().timePicker).GetDateTime();
    EXPECT_EQ(date.year, 2030);
    EXPECT_EQ(date.day, 31);
    EXPECT_EQ(time.hour, 23);
    EXPECT_EQ(time.second, 58);
    EXPECT_EQ(s.window().invalidations.size(), before + 2);

    for (int id : {kIdDatePicker, kIdTimePicker}) {
        s.window().SendCommand(id, kNotifyDateTimeChange);
    }
    EXPECT_EQ(s.window().invalidations.size(), before + 4);
}

TEST(WindowCommands, CloseAndUnknownIdentifiers) {
    Started s(kFourTowns, 1);
    s.window().SendCommand(kIdConfigField, kNotifyEditTextChange);
    s.window().SendCommand(12345);
    EXPECT_FALSE(s.window().closed);
    EXPECT_TRUE(s.fake.messages.shown.empty());
    s.window().SendCommand(kIdExit);
    EXPECT_TRUE(s.window().closed);
}

// Algiers (36.75 N, 3.05 E, zone +1) on 21 June 2010 at 16:00:00 local time.
TEST(SunPositionCommand, TextHasTheTwelvePieces) {
    Started s(kFourTowns, 1);
    EngineState& engine = s.app->engine;
    engine.place.Name = "Alger";
    engine.place.latitude = Degrees{36.75};
    engine.place.longitude = Degrees{3.05};
    engine.place.TimeZone = 1;
    engine.place.DST = 0;
    engine.observation = Observation{21, 6, 2010, 16, 0, 0};
    s.fake.messages.shown.clear();
    s.window().SendCommand(kIdSunPosition);

    ASSERT_EQ(s.fake.messages.shown.size(), 1u);
    EXPECT_EQ(s.fake.messages.shown[0].caption, "Sun position");
    const std::string text = s.fake.messages.shown[0].text;
    ASSERT_EQ(s.fake.console.debug.size(), 1u);
    EXPECT_EQ(s.fake.console.debug[0], text);
    EXPECT_FALSE(s.window().invalidations.back().area.has_value());

    const SunState& sun = engine.sun;
    const double d = kRadToDeg;
    const std::string expected =
        "Alger, la=" + ReadableDmsText(36.75 * kDegToRad) +
        " lg=" + ReadableDmsText(3.05 * kDegToRad) + "\n" + "21/6/2010 à 15h UT TZ(inc.DST)=1\n" +
        Format("T=%g JC, ", sun.T) +
        Format("Soleil lg=%g° ie : %s, ", sun.L * d, ReadableHmsText(sun.L).c_str()) +
        Format("theta0=%g° ie : %s, ", sun.theta0 * d, ReadableHmsText(sun.theta0).c_str()) +
        Format("theta=%g° ie h. sid. %s, ", sun.theta * d, ReadableHmsText(sun.theta).c_str()) +
        Format("RA=%g° ie : %s, ", sun.RA * d, ReadableHmsText(sun.RA).c_str()) +
        Format("delta=%g° ie DE %s,", sun.delta * d, ReadableDmsText(sun.delta).c_str()) +
        Format("tau=%g° ie angle hor. %s\n", sun.tau * d, ReadableHmsText(sun.tau).c_str()) +
        Format("az=%g° (org.Sud) ie %s, ", sun.az * d, ReadableDmsText(sun.az).c_str()) +
        Format("h=%g° ie %s", sun.h * d, ReadableDmsText(sun.h).c_str());
    EXPECT_EQ(text, expected);
    // The values the text carries are those of the worked example.
    EXPECT_NE(text.find("tau=47.59"), std::string::npos) << text;
    EXPECT_NE(text.find("az=85.65"), std::string::npos) << text;
    EXPECT_NE(text.find("h=47.20"), std::string::npos) << text;
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 3);
}

TEST(SunPositionCommand, PrintsTheUtDateAndKeepsTheObservation) {
    Started s(kFourTowns, 2);
    EngineState& engine = s.app->engine;
    engine.place.Name = "Alger";
    engine.place.TimeZone = 1;
    engine.place.DST = 0;
    // 00:30 local on 1 March is 23:30 UT on 28 February.
    engine.observation = Observation{1, 3, 2010, 0, 30, 0};
    s.fake.messages.shown.clear();
    s.window().SendCommand(kIdSunPosition);
    ASSERT_EQ(s.fake.messages.shown.size(), 1u);
    EXPECT_EQ(s.fake.messages.shown[0].caption, "Position du Soleil");
    EXPECT_NE(s.fake.messages.shown[0].text.find("\n28/2/2010 à 23.5h UT TZ(inc.DST)=1\n"),
              std::string::npos)
        << s.fake.messages.shown[0].text;
    EXPECT_EQ(engine.observation.day, 1);
    EXPECT_EQ(engine.observation.month, 3);
    // A second look gives the same date: nothing drifted.
    s.window().SendCommand(kIdSunPosition);
    EXPECT_EQ(s.fake.messages.shown[1].text, s.fake.messages.shown[0].text);
}

}  // namespace
}  // namespace orvano

namespace orvano {
namespace {

// What the user does in a dialog: types, picks a line (-1: none) and ends it
// with OK, a double click or Cancel; the lines listed after the typing are kept.
struct DialogPlay {
    const char* typed;
    int line;
    int endWith;  // kIdDialogOk, kIdDialogResults (double click) or kIdDialogCancel
};

std::function<void(testing::FakeDialog&)> Play(const DialogPlay& play,
                                               std::vector<std::string>& listed) {
    return [play, &listed](testing::FakeDialog& dialog) {
        dialog.Type(kIdDialogSearch, play.typed);
        FakeControl* results = dialog.ById(kIdDialogResults);
        ASSERT_NE(results, nullptr);
        listed = results->lines;
        results->SelectLine(play.line);
        dialog.SendCommand(play.endWith,
                           play.endWith == kIdDialogResults ? kNotifyDoubleClick : kNotifyClicked);
    };
}

// A place chosen in the search becomes a new town, selected and not yet saved,
// with the place's country, coordinates, zone and its country's method; a
// town the file has is selected instead.
TEST(FindCommand, ChosenPlaceBecomesTheSelectedTownWithItsCountrysMethod) {
    const struct {
        DialogPlay play;
        const char* firstLine;  // of the results
        const char* selected;   // "Country/Name zone method" afterwards
        int towns;
        const char* status;
    } cases[] = {
        // clang-format off
        {{"oslo", 0, kIdDialogOk}, "Oslo, Norway (Europe/Oslo)", "Norway/Oslo Europe/Oslo mwl",
         5, "Added: Save stores it"},
        {{"kuala lum", 0, kIdDialogResults}, "Kuala Lumpur, Malaysia (Asia/Kuala_Lumpur)",
         "Malaysia/Kuala_Lumpur Asia/Kuala_Lumpur jakim", 5, "Added: Save stores it"},
        {{"hyderabad", 1, kIdDialogOk}, "Hyderabad, Telangana, India (Asia/Kolkata)",
         "Pakistan/Hyderabad Asia/Karachi karachi-hanafi", 5, "Added: Save stores it"},
        {{"cairo, egypt", 0, kIdDialogOk}, "Cairo, Egypt (Africa/Cairo)", "Egypt/Cairo  ", 4,
         "Already in data.cfg"},
        {{"oslo", 0, kIdDialogCancel}, "Oslo, Norway (Europe/Oslo)", "Morocco/Rabat  ", 4, ""},
        {{"zzzz", -1, kIdDialogOk}, "", "Morocco/Rabat  ", 4, ""},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.play.typed);
        Started s(kFourTowns, 1, nullptr, true);
        const std::string before = ReadFile(s.DataCfg().string());
        s.GoToPage(kPageConfiguration);
        std::vector<std::string> listed;
        s.window().dialogScript = Play(c.play, listed);
        EXPECT_FALSE(s.app->gazetteer.has_value());  // start-up never reads it
        s.window().SendCommand(kIdFind);
        ASSERT_EQ(s.window().dialogs.size(), 1u);
        EXPECT_EQ(s.window().dialogs[0]->spec.caption, "Find a town");
        EXPECT_EQ(listed.empty() ? "" : listed.front(), std::string(c.firstLine));
        EXPECT_EQ(ReadFile(s.DataCfg().string()), before);  // Save writes it
        EXPECT_EQ(s.app->ui.statusText, c.status);
        EXPECT_EQ(s.app->engine.tables.NumberOfTowns, c.towns);
        const CurrentPlace& p = s.app->engine.place;
        EXPECT_EQ(p.Country + "/" + p.Name + " " + p.Zone + " " + p.Method, c.selected);
        const int line = s.control(s.controls().townList).selected;
        EXPECT_EQ(TownOfLine(*s.app, line), s.app->engine.tables.TownSelected);
        EXPECT_EQ(s.control(s.controls().townField).text, p.Name);
        if (c.towns == 4) continue;
        // Save writes the zone and method records after the town line.
        s.window().SendCommand(kIdSave);
        EXPECT_NE(ReadFile(s.DataCfg().string())
                      .find("8 zone " + p.Zone + "\n8 method " + p.Method + "\n"),
                  std::string::npos);
    }
}

TEST(FindCommand, AMissingGazetteerIsToldAndNothingChanges) {
    Started s(kFourTowns, 1);
    s.GoToPage(kPageConfiguration);
    s.window().SendCommand(kIdFind);
    EXPECT_TRUE(s.window().dialogs.empty());
    ASSERT_EQ(s.fake.messages.shown.size(), 1u);
    EXPECT_EQ(s.fake.messages.shown[0].text,
              "The list of places cannot be read: " + (s.folder() / "gazetteer.tsv").string() +
                  ": cannot be opened (No such file or directory)");
    EXPECT_EQ(s.app->engine.tables.NumberOfTowns, 4);
}

// The method dialog lists the file's slots and the catalogue's methods,
// filtered by what is typed; the choice is the town's until Save writes it.
TEST(MethodCommand, ChosenMethodIsTheTownsAndSaveWritesItsRecord) {
    const struct {
        DialogPlay play;
        std::vector<std::string> listed;
        const char* method;  // the town's afterwards
        int convention;
        bool listEnabled;
        const char* record;  // in data.cfg after Save; nullptr: none
    } cases[] = {
        // clang-format off
        {{"jakim", 0, kIdDialogOk}, {"JAKIM, Malaysia (jakim)"}, "jakim", 0, false,
         "8 method jakim\n"},
        {{"egypt", 0, kIdDialogResults}, {"Egyptian General Authority of Survey (slot1)",
          "Egyptian General Authority of Survey (egypt)"}, "", 1, true, nullptr},
        {{"jakim", 0, kIdDialogCancel}, {"JAKIM, Malaysia (jakim)"}, "", 0, true, nullptr},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.play.typed);
        Started s(kFourTowns, 1, nullptr, true);
        s.GoToPage(kPageConfiguration);
        std::vector<std::string> listed;
        s.window().dialogScript = Play(c.play, listed);
        s.window().SendCommand(kIdMethod);
        EXPECT_EQ(listed, c.listed);
        const CurrentPlace& place = s.app->engine.place;
        EXPECT_EQ(place.Method, c.method);
        EXPECT_EQ(place.Convention, c.convention);
        FakeControl& conventions = s.control(s.controls().conventionList);
        EXPECT_EQ(conventions.enabled, c.listEnabled);
        if (!c.listEnabled) {
            EXPECT_EQ(conventions.text, s.app->engine.methods.at(c.method).Name);
        }
        // The day shown is the method's.
        EngineState expected = s.app->engine;
        ComputeDaySchedule(expected);
        EXPECT_EQ(s.app->engine.schedule.shown, expected.schedule.shown);
        s.window().SendCommand(kIdSave);
        const std::string saved = ReadFile(s.DataCfg().string());
        EXPECT_EQ(saved.find("8 method") != std::string::npos, c.record != nullptr);
        if (c.record != nullptr) {
            EXPECT_NE(saved.find(c.record), std::string::npos);
        }
    }
}

// Deleting asks first, writes data.cfg at once, and selects the town that
// took the deleted one's line; the last town cannot be deleted.
TEST(DeleteCommand, AConfirmedDeleteWritesDataCfgWithoutTheTown) {
    const struct {
        int line;  // of the town list: Algiers, Cairo, Rabat, Karachi
        bool answer;
        int towns;          // afterwards
        const char* gone;   // the name no longer in data.cfg; nullptr: unchanged
        const char* shown;  // the selected town afterwards
    } cases[] = {
        {2, true, 3, "Rabat", "Karachi"},
        {3, true, 3, "Karachi", "Rabat"},
        {0, true, 3, "Algiers", "Cairo"},
        {2, false, 4, nullptr, "Rabat"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        Started s(kFourTowns, 1);
        const std::string before = ReadFile(s.DataCfg().string());
        s.GoToPage(kPageConfiguration);
        s.control(s.controls().townList).SelectLine(c.line);
        s.window().SendCommand(kIdTownList, kNotifySelectionChange);
        s.fake.messages.answers = {c.answer};
        s.window().SendCommand(kIdDelete);
        ASSERT_EQ(s.fake.messages.asked.size(), 1u);
        EXPECT_EQ(s.fake.messages.asked[0].caption, "Delete town");
        EXPECT_EQ(s.app->engine.tables.NumberOfTowns, c.towns);
        EXPECT_EQ(s.app->engine.place.Name, c.shown);
        const Town& selected = s.app->engine.tables.Towns[static_cast<size_t>(
            TownOfLine(*s.app, s.control(s.controls().townList).selected))];
        EXPECT_EQ(selected.Name, c.shown);
        const std::string after = ReadFile(s.DataCfg().string());
        if (c.gone == nullptr) {
            EXPECT_EQ(after, before);
            continue;
        }
        EXPECT_EQ(after.find(c.gone), std::string::npos);
        ConfigTables reread;
        CurrentPlace place;
        testing::RecordingMessageSink boxes;
        ASSERT_EQ(ReadDataCfg(s.DataCfg().string(), "", reread, place, boxes, nullptr), kReadOk);
        EXPECT_EQ(reread.NumberOfTowns, c.towns);
        EXPECT_EQ(place.Name, c.shown);
        EXPECT_EQ(s.app->ui.statusText, "Deleted from data.cfg");
    }
}

TEST(DeleteCommand, TheLastTownIsRefused) {
    const testing::TempFolder folder;
    const std::string config = (fs::path(folder.path()) / "one.cfg").string();
    std::string text = ReadFile(kFourTowns);
    text.replace(text.find("1 4 "), 4, "1 1 ");
    testing::WriteFile(config, text);
    Started s(config, 1);
    const std::string before = ReadFile(s.DataCfg().string());
    s.GoToPage(kPageConfiguration);
    s.control(s.controls().townList).SelectLine(0);
    s.fake.messages.shown.clear();
    s.window().SendCommand(kIdDelete);
    EXPECT_TRUE(s.fake.messages.asked.empty());
    ASSERT_EQ(s.fake.messages.shown.size(), 1u);
    EXPECT_EQ(s.fake.messages.shown[0].text,
              "Algeria : Algiers is the only town of data.cfg: add another before deleting it.");
    EXPECT_EQ(ReadFile(s.DataCfg().string()), before);
}

// The adhan dialog stores [Adhan], [Reminders], [Iqama] and [Jumuah] on OK
// when every field is valid, all in one write; a refused field is named and
// nothing is stored, Cancel stores nothing either, and a store that cannot
// write is reported as having saved nothing.
TEST(AdhanCommand, OkStoresTheKeysAndARefusedFieldStoresNothing) {
    auto field = [](DialogSlot slot) { return kIdDialogField + static_cast<int>(slot); };
    constexpr const char* kNotSaved =
        "settings.ini cannot be written: the adhan and reminders were not saved.";
    struct Case {
        DialogSlot slot;  // the field typed last
        const char* typed;
        int button;           // OK or Cancel
        const char* refusal;  // nullptr: accepted (OK) or left (Cancel)
        bool failWrites = false;
    };
    const Case cases[] = {
        {DialogSlot::Volume, "65", kIdDialogOk, nullptr},
        {DialogSlot::Volume, "65", kIdDialogCancel, nullptr},
        {DialogSlot::Volume, "65", kIdDialogOk, kNotSaved, true},
        {DialogSlot::Volume, "101", kIdDialogOk,
         "Volume: \"101\" is not a number from 0 to 100. Nothing was saved."},
        {PrayerRowSlot(DialogSlot::Reminder, 2), "121", kIdDialogOk,
         "Asr reminder: \"121\" is not a number from 0 to 120. Nothing was saved."},
        {PrayerRowSlot(DialogSlot::Iqama, 1), "25:00", kIdDialogOk,
         "Zuhr iqama: \"25:00\" is neither minutes from 1 to 180 nor a time as HH:MM. Nothing "
         "was saved."},
        {DialogSlot::JumuahTime, "1:15", kIdDialogOk,
         "Jumu'ah time: \"1:15\" is not a time as HH:MM. Nothing was saved."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(DialogSlotName(c.slot)) + " " + c.typed);
        Started s(kFourTowns, 1);
        s.fake.messages.shown.clear();
        s.fake.settings.failWrites = c.failWrites;
        s.fake.settings.log.clear();
        s.window().dialogScript = [&](testing::FakeDialog& dialog) {
            dialog.Type(field(DialogSlot::AdhanFile), "/home/u/adhan.ogg");
            dialog.Type(field(PrayerRowSlot(DialogSlot::Reminder, 2)), "15");
            dialog.Type(field(PrayerRowSlot(DialogSlot::Iqama, 1)), "13:30");
            dialog.Type(field(DialogSlot::JumuahIqama), "10");
            FakeControl* onOff = dialog.ById(field(DialogSlot::JumuahSwitch));
            ASSERT_NE(onOff, nullptr);
            EXPECT_EQ(onOff->selected, 0);  // off at first
            onOff->SelectLine(1);
            dialog.Type(field(c.slot), c.typed);
            dialog.SendCommand(c.button);
            if (!dialog.result) dialog.SendCommand(kIdDialogCancel);
        };
        s.window().SendCommand(kIdAdhan);
        ASSERT_EQ(s.window().dialogs.size(), 1u);
        EXPECT_EQ(s.window().dialogs[0]->spec.caption, "Adhan and reminders");
        const bool stored = c.refusal == nullptr && c.button == kIdDialogOk;
        const bool refused = c.refusal != nullptr && !c.failWrites;
        if (c.refusal != nullptr) {
            EXPECT_EQ(s.fake.messages.shown,
                      (std::vector<testing::RecordingMessageSink::Shown>{
                          {c.refusal, refused ? "Invalid field" : "Adhan and reminders"}}));
        } else {
            EXPECT_TRUE(s.fake.messages.shown.empty());
        }
        const auto writes =
            std::count_if(s.fake.settings.log.begin(), s.fake.settings.log.end(),
                          [](const std::string& entry) { return entry.rfind("write", 0) == 0; });
        EXPECT_EQ(writes, refused || c.button == kIdDialogCancel ? 0 : 1);
        auto text = [&s](const char* group, const char* name) {
            const auto bytes = s.fake.settings.Value(group, name);
            return bytes ? std::optional<std::string>(std::string(bytes->begin(), bytes->end()))
                         : std::nullopt;
        };
        for (const char* group : {"Adhan", "Reminders", "Iqama", "Jumuah"}) {
            EXPECT_EQ(s.fake.settings.keys.count(group), stored ? 1U : 0U) << group;
        }
        if (!stored) continue;
        EXPECT_EQ(text("Adhan", "File"), "/home/u/adhan.ogg");
        EXPECT_EQ(text("Adhan", "FajrFile"), "");
        EXPECT_EQ(text("Adhan", "Volume"), "65");
        EXPECT_EQ(text("Reminders", "Asr"), "15");
        EXPECT_EQ(text("Reminders", "Fajr"), "");
        EXPECT_EQ(text("Iqama", "Zuhr"), "13:30");
        EXPECT_EQ(text("Jumuah", "Enabled"), "1");
        EXPECT_EQ(text("Jumuah", "Time"), "");
        EXPECT_EQ(text("Jumuah", "Iqama"), "10");
        // The window reads them again at once.
        EXPECT_EQ(s.app->extras.reminderMinutes[Asr], 15);
        EXPECT_EQ(s.app->extras.iqama[Zuhr], (IqamaRule{IqamaRule::Kind::At, 13 * 60 + 30}));
        EXPECT_TRUE(s.app->extras.jumuah.enabled);
    }
}

}  // namespace
}  // namespace orvano
