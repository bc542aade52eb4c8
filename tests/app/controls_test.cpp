#include "app/controls.h"

#include <array>

#include "app/layout.h"
#include "astro/constants.h"
#include "language/messages.h"
#include "tests/app/app_fixture.h"

namespace orvano::testing {
namespace {

struct Expected {
    ControlClass kind;
    const char* english;
    const char* french;
    int id;
    int x;
    int y;
    int width;
    int height;
    bool visible;
};

using K = ControlClass;

// Creation order, classes, labels, identifiers and places on a 240 x 300
// client at 96 DPI: the 22 controls of the pages, then the Configuration page's
// later ones in their layout slots (zone chooser, method, search, delete), the
// Home page's Night button and the About page's Adhan button.
const Expected kAt96[28] = {
    {K::Button, "<", "<", 40001, 5, 260, 64, 32, true},
    {K::Button, ">", ">", 40002, 171, 260, 64, 32, true},
    {K::DatePicker, "", "", 1008, 10, 30, 220, 25, false},
    {K::TimePicker, "", "", 1009, 10, 60, 100, 25, false},
    {K::Button, "Now", "Maintenant", 1010, 135, 60, 90, 25, false},
    {K::Button, "Sun Position", "Position du Soleil", 40022, 60, 115, 120, 25, false},
    {K::Button, "Explore", "Explore", 40024, 25, 155, 70, 25, false},
    {K::Button, "Calendar", "Calendrier", 40023, 145, 155, 70, 25, false},
    {K::ComboBox, "", "", 1005, 10, 10, 70, 50, false},
    {K::ComboBox, "", "", 1006, 90, 10, 140, 150, false},
    {K::Button, "Modify", "Modifie", 1016, 4, 212, 54, 25, false},
    {K::Button, "Add", "Ajoute", 1017, 62, 212, 54, 25, false},
    {K::Button, "Save", "Sauve", 1007, 178, 212, 54, 25, false},
    {K::Edit, "Country", "Pays", 1018, 10, 55, 100, 20, false},
    {K::Edit, "Town", "Ville", 1018, 130, 55, 100, 20, false},
    {K::Edit, "latitude", "latitude", 1018, 10, 95, 100, 20, false},
    {K::Edit, "longitude", "longitude", 1018, 130, 95, 100, 20, false},
    {K::ComboBox, "", "", 0, 72, 120, 38, 150, false},
    {K::ComboBox, "", "", 0, 192, 120, 38, 80, false},
    {K::ComboBox, "", "", 0, 95, 150, 70, 150, false},
    {K::Button, "Help", "Aide", 32779, 90, 150, 60, 25, false},
    {K::Button, "Check updated version", "Vérifie la mise à jour", 32778, 45, 180, 150, 25, false},
    {K::ComboBox, "", "", kIdZoneChooser, 10, 180, 135, 150, false},
    {K::Button, "Method…", "Méthode…", kIdMethod, 168, 150, 64, 25, false},
    {K::Button, "Find…", "Cherche…", kIdFind, 150, 180, 80, 25, false},
    {K::Button, "Delete", "Retire", kIdDelete, 120, 212, 54, 25, false},
    {K::Button, "Night", "Nuit", kIdNightToggle, 5, 260, 64, 32, false},
    {K::Button, "Adhan…", "Adhan…", kIdAdhan, 171, 260, 64, 32, false},
};

// The same on a 480 x 600 client at 192 DPI: every scaled length doubles, and
// the fractions of the width fall where the wider client puts them.
const std::array<int, 4> kAt192[22] = {
    {10, 520, 128, 64},  {342, 520, 128, 64}, {20, 60, 440, 50},   {20, 120, 200, 50},
    {270, 120, 180, 50}, {120, 230, 240, 50}, {50, 310, 140, 50},  {290, 310, 140, 50},
    {20, 20, 140, 100},  {180, 20, 280, 300}, {8, 424, 108, 50},   {124, 424, 108, 50},
    {356, 424, 108, 50}, {20, 110, 200, 40},  {260, 110, 200, 40}, {20, 190, 200, 40},
    {260, 190, 200, 40}, {144, 240, 76, 300}, {384, 240, 76, 160}, {190, 300, 140, 300},
    {180, 300, 120, 50}, {90, 360, 300, 50},
};

class ControlsTest : public AppFixture {
  protected:
    // Makes the controls on a client of the given size, as start-up does.
    // `failing`: identifiers whose creation fails.
    void Create(Rect client = {0, 0, 240, 300}, int dpi = 96, std::uint32_t lang = 2,
                std::vector<int> failing = {}) {
        fake.screen.dpiX = dpi;
        fake.screen.dpiY = dpi;
        app->ui.Lang = lang;
        UseLanguage(lang == 2 ? "fr" : "en");
        fake.windows.clientOverride = client;
        MainWindowSpec spec;
        spec.clientWidth = client.width();
        spec.clientHeight = client.height();
        fake.windows.CreateMainWindow(spec, handler_);
        window().failingControls = std::move(failing);
        CreateControls(*app, window());
    }
    std::array<int, 4> Box(size_t index) {
        const ControlSpec& s = window().controls[index]->spec;
        return {s.x, s.y, s.width, s.height};
    }

    // Ten towns, the fourth selected, and nine conventions with two empty names.
    void FillTables() {
        ConfigTables& t = app->engine.tables;
        t.Towns.clear();
        const char* names[10][2] = {{"Algérie", "Alger"},   {"France", "Paris"},
                                    {"Maroc", "Rabat"},     {"Tunisie", "Tunis"},
                                    {"Egypte", "Le Caire"}, {"Sénégal", "Dakar"},
                                    {"Canada", "Montréal"}, {"USA", "New York"},
                                    {"Norvège", "Tromsø"},  {"Arabie", "La Mecque"}};
        for (const auto& n : names) {
            Town town;
            town.Country = n[0];
            town.Name = n[1];
            t.Towns.push_back(town);
        }
        t.NumberOfTowns = 10;
        t.TownSelected = 3;
        for (int i = 0; i < kConventionCount; ++i) {
            t.Conventions[static_cast<size_t>(i)].Name = "Convention " + std::to_string(i);
        }
        t.Conventions[4].Name = "";
        t.Conventions[8].Name = "";
        CurrentPlace& p = app->engine.place;
        p.Country = "Tunisie";
        p.Name = "Tunis";
        p.latitude = Degrees{36.8};
        p.longitude = Degrees{10.18};
        p.TimeZone = -5;
        p.DST = 2;
        p.Convention = 6;
    }

    // The usual start of a Configuration page test: French, ten towns, the page entered.
    void OnConfigurationPage() {
        Create();
        FillTables();
        Enter(3);
    }

    void Enter(int page) {
        app->ui.requestedPage = page;
        ShowPage(*app, window());
    }

    // A window procedure that does nothing: these tests call the functions directly.
    class Quiet final : public WindowHandler {
        void OnCreate(Window&) override {}
        void OnDestroy(Window&) override {}
        void OnActivate(Window&, bool) override {}
        void OnCommand(Window&, int, int) override {}
        void OnPaint(Window&, Surface&) override {}
        void OnTimer(Window&, int) override {}
    } handler_;
};

TEST_F(ControlsTest, TwentyEightControlsAt96Dpi) {
    for (std::uint32_t lang : {1u, 2u}) {
        Create({0, 0, 240, 300}, 96, lang);
        ASSERT_EQ(window().controls.size(), std::size(kAt96));
        for (size_t i = 0; i < std::size(kAt96); ++i) {
            const Expected& e = kAt96[i];
            const ControlSpec& s = window().controls[i]->spec;
            SCOPED_TRACE("control " + std::to_string(i + 1) + " lang " + std::to_string(lang));
            EXPECT_EQ(s.kind, e.kind);
            EXPECT_EQ(s.text, lang == 2 ? e.french : e.english);
            EXPECT_EQ(s.id, e.id);
            EXPECT_EQ(Box(i), (std::array{e.x, e.y, e.width, e.height}));
            EXPECT_EQ(s.visible, e.visible);
        }
    }
}

TEST_F(ControlsTest, ListsScrollExceptTheLanguageList) {
    Create();
    EXPECT_FALSE(window().At(8)->spec.verticalScroll);
    for (size_t i : {9u, 17u, 18u, 19u}) EXPECT_TRUE(window().At(i)->spec.verticalScroll) << i;
}

TEST_F(ControlsTest, AnyLanguageButFrenchIsEnglish) {
    Create({0, 0, 240, 300}, 96, 3);
    EXPECT_EQ(window().ById(kIdHelp)->spec.text, "Help");
    EXPECT_EQ(window().ById(kIdCheckVersion)->spec.text, "Check updated version");
}

TEST_F(ControlsTest, EveryLengthDoublesAt192Dpi) {
    Create(Rect{0, 0, 480, 600}, 192, 2);
    ASSERT_EQ(window().controls.size(), 28u);
    for (size_t i = 0; i < 22; ++i) EXPECT_EQ(Box(i), kAt192[i]) << "control " << i + 1;
}

TEST_F(ControlsTest, WiderClientMovesTheFractionalPositions) {
    Create(Rect{0, 0, 300, 300}, 96, 2);
    EXPECT_EQ(window().At(17)->spec.x, 87);   // time-zone list
    EXPECT_EQ(window().At(18)->spec.x, 237);  // DST list
    EXPECT_EQ(window().ById(kIdNext)->spec.x, 231);
    EXPECT_EQ(window().ById(kIdHelp)->spec.x, 120);
}

TEST_F(ControlsTest, ClientNotAtTheOriginPlacesTheArrowsFromItsSides) {
    Create(Rect{10, 20, 250, 320}, 96, 2);
    EXPECT_EQ(window().ById(kIdPrevious)->spec.x, 15);
    EXPECT_EQ(window().ById(kIdPrevious)->spec.y, 280);
    EXPECT_EQ(window().ById(kIdNext)->spec.x, 181);
}

TEST_F(ControlsTest, EachPageShowsItsOwnControls) {
    Create();
    FillTables();
    Enter(0);
    EXPECT_EQ(window().VisibleIndices(), (std::vector<size_t>{1, 26}));
    // Start-up applies page 0 over page 0: Previous is shown and hidden again.
    EXPECT_EQ(window().ById(kIdPrevious)->visibilityChanges, (std::vector<bool>{true, false}));

    const auto& visible = kVisibleOnPage;
    // The layout table's page of every control agrees.
    const PageLayout layout = MakeLayout(Rect{0, 0, 240, 300}, 96, 96);
    for (int page = 0; page < kPageCount; ++page) {
        std::vector<size_t> fromTable;
        for (size_t i = 0; i < kSlotCount; ++i) {
            if (layout.controls[i].pages & PageBit(page)) fromTable.push_back(i);
        }
        EXPECT_EQ(fromTable, visible[static_cast<size_t>(page)]) << page;
    }
    for (int page = 1; page < kPageCount; ++page) {
        Enter(page);
        EXPECT_EQ(app->ui.currentPage, page);
        EXPECT_EQ(window().VisibleIndices(), visible[static_cast<size_t>(page)]) << page;
    }
    for (int page = kPageCount - 2; page >= 0; --page) {
        Enter(page);
        EXPECT_EQ(window().VisibleIndices(), visible[static_cast<size_t>(page)]) << page;
    }
}

TEST_F(ControlsTest, PageChangeRepaintsTheWholeWindow) {
    Create();
    Enter(1);
    ASSERT_FALSE(window().invalidations.empty());
    const auto& last = window().invalidations.back();
    EXPECT_FALSE(last.area.has_value());
    EXPECT_TRUE(last.flags.erase);
    EXPECT_FALSE(last.flags.paintNow);
}

TEST_F(ControlsTest, ConfigurationPageAsksForTheInputPanelAndHidesItOnLeaving) {
    OnConfigurationPage();
    EXPECT_EQ(fake.shell.inputPanel, (std::vector<bool>{true}));
    Enter(4);
    EXPECT_EQ(fake.shell.inputPanel, (std::vector<bool>{true, false}));
}

TEST_F(ControlsTest, LanguageListSelectsTheLanguage) {
    const std::vector<std::string> names = {"English",          "Français",      "Türkçe",
                                            "Bahasa Indonesia", "Bahasa Melayu", "বাংলা",
                                            "العربية",          "اردو",          "فارسی"};
    const struct {
        const char* language;
        int line;
    } cases[] = {{"en", 0}, {"fr", 1}, {"tr", 2}, {"bn", 5}, {"ar", 6}, {"fa", 8}, {"xx", -1}};
    for (const auto& c : cases) {
        Create();
        app->ui.language = c.language;
        FillTables();
        Enter(3);
        const FakeControl* list = window().ById(kIdLanguageList);
        EXPECT_EQ(list->lines, names);
        EXPECT_EQ(list->selected, c.line) << c.language;
        // Entered twice: the lines are made afresh, not added again.
        Enter(2);
        Enter(3);
        EXPECT_EQ(list->lines.size(), names.size());
    }
}

// Sorted by country, then name; the selected town (Tunis, the fourth) chosen
// on its own line, and a line chosen selects its own town.
TEST_F(ControlsTest, TownListHasOneLinePerTownWithTheSelectedOneChosen) {
    OnConfigurationPage();
    const FakeControl* list = window().ById(kIdTownList);
    EXPECT_EQ(list->lines,
              (std::vector<std::string>{"Algérie : Alger", "Arabie : La Mecque",
                                        "Canada : Montréal", "Egypte : Le Caire", "France : Paris",
                                        "Maroc : Rabat", "Norvège : Tromsø", "Sénégal : Dakar",
                                        "Tunisie : Tunis", "USA : New York"}));
    EXPECT_EQ(list->selected, 8);
    EXPECT_EQ(TownOfLine(*app, 8), 3);
    EXPECT_EQ(TownOfLine(*app, 1), 9);
    EXPECT_EQ(LineOfTown(*app, 9), 1);
    EXPECT_EQ(TownOfLine(*app, 10), -1);
}

TEST_F(ControlsTest, LongTownLineIsCutToItsBufferWithoutSplittingACharacter) {
    Create();
    FillTables();
    // 3 + 79 bytes: the line would be 161 bytes; the buffer keeps 99.
    app->engine.tables.Towns[0].Country = std::string(79, 'a');
    app->engine.tables.Towns[0].Name = "é" + std::string(77, 'b');  // é is two bytes
    app->engine.tables.Towns[1].Country = std::string(95, 'c');
    app->engine.tables.Towns[1].Name = "éé";  // the cut falls inside the second é
    Enter(3);
    const FakeControl* list = window().ById(kIdTownList);
    const std::string first = list->lines[static_cast<size_t>(LineOfTown(*app, 0))];
    EXPECT_EQ(first, std::string(79, 'a') + " : é" + std::string(15, 'b'));
    EXPECT_EQ(first.size(), 99u);
    EXPECT_EQ(list->lines[static_cast<size_t>(LineOfTown(*app, 1))], std::string(95, 'c') + " : ");
}

TEST_F(ControlsTest, TownCountBeyondTheRowsReadDoesNotReadPastThem) {
    Create();
    FillTables();
    app->engine.tables.NumberOfTowns = 12;  // the file promised more towns than it held
    Enter(3);
    EXPECT_EQ(window().ById(kIdTownList)->lines.size(), 10u);
}

TEST_F(ControlsTest, ConfigurationFieldsShowTheCurrentPlace) {
    OnConfigurationPage();
    EXPECT_EQ((std::array{window().At(13)->text, window().At(14)->text, window().At(15)->text,
                          window().At(16)->text}),
              (std::array<std::string, 4>{"Tunisie", "Tunis", "36.800000", "10.180000"}));
    const FakeControl* zones = window().At(17);
    ASSERT_EQ(zones->lines.size(), 26u);
    EXPECT_EQ(
        (std::array{zones->lines.front(), zones->lines[7], zones->lines[12], zones->lines.back()}),
        (std::array<std::string, 4>{"-12", "-5", "0", "13"}));
    EXPECT_EQ(zones->selected, 7);
    EXPECT_EQ(window().At(18)->lines, (std::vector<std::string>{"0", "1", "2"}));
    EXPECT_EQ(window().At(18)->selected, 2);
    const FakeControl* conventions = window().At(19);
    ASSERT_EQ(conventions->lines.size(), 9u);
    EXPECT_EQ((std::array{conventions->lines[0], conventions->lines[4], conventions->lines[8]}),
              (std::array<std::string, 3>{"Convention 0", "", ""}));
    EXPECT_EQ(conventions->selected, 6);
}

TEST_F(ControlsTest, PlaceholdersStayUntilTheConfigurationPageIsEntered) {
    Create({0, 0, 240, 300}, 96, 1);
    FillTables();
    Enter(2);
    EXPECT_EQ(window().At(13)->text, "Country");
    EXPECT_EQ(window().At(16)->text, "longitude");
}

TEST_F(ControlsTest, ValuesWithoutALineLeaveTheirListsUnselected) {
    Create();
    FillTables();
    const int zones[] = {-13, 14, 2147483647, -2147483647 - 1};
    for (int zone : zones) {
        app->engine.place.TimeZone = zone;
        app->engine.place.DST = 3;
        app->engine.place.Convention = 9;
        FillConfigFields(*app);
        EXPECT_EQ((std::array{window().At(17)->selected, window().At(18)->selected,
                              window().At(19)->selected}),
                  (std::array{-1, -1, -1}))
            << zone;
    }
    app->engine.place.TimeZone = 13;
    app->engine.place.DST = 0;
    FillConfigFields(*app);
    EXPECT_EQ(window().At(17)->selected, 25);
    EXPECT_EQ(window().At(18)->selected, 0);
}

TEST_F(ControlsTest, ControlsThatCouldNotBeMadeAreSkipped) {
    Create({0, 0, 240, 300}, 96, 2, {kIdPrevious, kIdTownList, 0});
    EXPECT_EQ(window().controls.size(), 23u);  // 17 of the 22, the six made after them
    EXPECT_EQ(app->ui.controls.previous, nullptr);
    EXPECT_EQ(app->ui.controls.townList, nullptr);
    EXPECT_EQ(app->ui.controls.timeZoneList, nullptr);
    FillTables();
    for (int page : {0, 1, 2, 3, 4, 3, 0}) Enter(page);
    EXPECT_EQ(app->ui.currentPage, 0);
    EXPECT_EQ(window().ById(kIdModify)->visible, false);
}

// The painted items' places on the window's 240 x 300 client at 96 DPI: the
// pages' contents in their 268-pixel area, the title
// and the Home icon below them, the compass raised clear of its text block.
TEST(LayoutTable, PaintedPlacesAt96Dpi) {
    const PageLayout l = MakeLayout(Rect{0, 0, 240, 300}, 96, 96);
    const std::pair<Anchor, Anchor> anchors[] = {
        {l.title, {120, 268}},         {l.homeTown, {120, 10}},      {l.homeDate, {120, 30}},
        {l.homeClock, {120, 46}},      {l.homeExploring, {216, 46}}, {l.homeHijri, {120, 208}},
        {l.homeMoon, {104, 226}},      {l.homeLegend, {5, 236}},     {l.homeNightLegend, {5, 251}},
        {l.computeHeading, {120, 10}}, {l.computeTown, {120, 90}},   {l.computeLegend, {120, 240}},
        {l.aboutName, {120, 30}},      {l.aboutRights, {120, 60}},   {l.aboutPublisher, {120, 80}},
        {l.aboutAuthor, {120, 100}},   {l.aboutVersion, {120, 120}}, {l.aboutRightIcon, {188, 20}},
        {l.aboutLeftIcon, {20, 20}}};
    for (size_t i = 0; i < std::size(anchors); ++i) {
        EXPECT_EQ(anchors[i].first, anchors[i].second) << "anchor " << i;
    }
    EXPECT_EQ((std::array{l.H, l.B, l.homeTimeX, l.homeNameX, l.homeImageX, l.homeNightNameY,
                          l.homeNightTimeY, static_cast<int>(l.compassCy),
                          static_cast<int>(l.quiblaBase), l.quiblaStep, l.quiblaHeadX,
                          l.quiblaLineX, l.quiblaSunX, l.computeNameY, l.computeTimeY}),
              (std::array{268, 268, 120, 24, 180, 225, 238, 81, 179, 20, 5, 10, 30, 200, 220}));
    EXPECT_EQ(l.compassCx, 120.0);
    for (size_t i = 0; i < 6; ++i) {
        const int row = 66 + 24 * static_cast<int>(i);
        EXPECT_EQ((std::array{l.homeTimeY[i], l.homeNameY[i], l.homeImageY[i]}),
                  (std::array{row, row + 4, row + 4}));
    }
    EXPECT_EQ(l.homeNightX, (std::array<int, 3>{48, 120, 192}));
    EXPECT_EQ(l.computeColumnX, (std::array<int, 6>{23, 64, 104, 144, 184, 223}));
    EXPECT_EQ(l.configLabels, (std::array<Anchor, 7>{
                                  Anchor{10, 40}, Anchor{130, 40}, Anchor{10, 80}, Anchor{130, 80},
                                  Anchor{10, 120}, Anchor{130, 120}, Anchor{10, 150}}));
    EXPECT_EQ(l.aboutCredits,
              (std::array<Anchor, 3>{Anchor{120, 210}, Anchor{120, 224}, Anchor{120, 238}}));
    // The Configuration page's later controls.
    for (const Slot slot :
         {Slot::ZoneChooser, Slot::MethodButton, Slot::FindButton, Slot::Delete}) {
        EXPECT_EQ(l.at(slot).pages, PageBit(kPageConfiguration)) << SlotName(slot);
    }
}

}  // namespace
}  // namespace orvano::testing
