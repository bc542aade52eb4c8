// The five pages drawn on the recording surface: every text, line, bitmap and
// icon with its place, colour and font, at 96 and at 192 DPI.
#include "app/paint.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "astro/angle_text.h"
#include "astro/constants.h"
#include "astro/julian_time.h"
#include "astro/sun_report.h"
#include "engine/schedule.h"
#include "tests/app_pages/recorded_ops.h"

namespace orvano {
namespace {

using testing::AllReleased;
using testing::CountTexts;
using testing::FindText;
using testing::Lines;
using testing::Texts;

constexpr Colour kTitle{0, 153, 255};
constexpr Colour kBlack{0, 0, 0};
constexpr Colour kRed{255, 0, 0};
constexpr Colour kGold{255, 204, 0};
const Colour kPrayer[6] = {{0, 153, 255}, {255, 204, 0}, {255, 102, 255},
                           {51, 255, 0},  {255, 0, 0},   {0, 0, 255}};

// The 96-DPI places come from the layout table the painting reads; the table's
// own values are pinned by LayoutTable.PaintedPlacesAt96Dpi.
const PageLayout kL = MakeLayout(Rect{0, 0, 240, 300}, 96, 96);

void ExpectText(const DrawOp& op, Anchor at, const std::string& text, TextAlign align,
                int fontHeight, Colour colour) {
    SCOPED_TRACE(text);
    EXPECT_EQ(op.kind, DrawOp::Kind::Text);
    EXPECT_EQ((Anchor{op.x, op.y}), at);
    EXPECT_EQ(op.text, text);
    EXPECT_EQ(op.align, align);
    EXPECT_EQ(op.font, (FontSpec{"ARIAL", fontHeight, 700}));
    EXPECT_EQ(op.colour, colour);
}

void ExpectImage(const DrawOp& op, DrawOp::Kind kind, int id, Anchor at) {
    EXPECT_EQ(op.kind, kind) << id;
    EXPECT_EQ(op.resourceId, id);
    EXPECT_EQ((Anchor{op.x, op.y}), at) << id;
}

void ExpectLine(const DrawOp& op, int x1, int y1, int x2, int y2, Colour colour) {
    EXPECT_EQ(op.kind, DrawOp::Kind::Line);
    EXPECT_EQ((std::array{op.x, op.y, op.x2, op.y2}), (std::array{x1, y1, x2, y2}));
    EXPECT_EQ(op.penWidth, 2);
    EXPECT_EQ(op.colour, colour);
}

// Algiers in the engine's records, with a hand-set schedule so that the
// pages' texts are known without the solver.
EngineState Algiers() {
    EngineState engine;
    engine.place.Name = "Algiers";
    engine.place.Country = "Algeria";
    engine.place.latitude = Degrees{36.75};
    engine.place.longitude = Degrees{3.05};
    engine.place.TimeZone = 1;
    engine.observation = Observation{15, 3, 2024, 13, 45, 30};
    engine.timeZoneInEffect = 1;
    engine.sun.T = JulianCenturies(15, 3, 2024, 12.0);
    // 05:30, 06:15, 12:59:56 (rounds up to 13:00), 16:00, 18:54, 20:16.
    engine.schedule.adjusted = {5.5, 6.25, 12.999, 16.0, 18.9, 20.27};
    engine.schedule.shown = engine.schedule.adjusted;
    return engine;
}

PaintInput Input(int page, std::uint32_t lang = 1, bool exploring = false) {
    PaintInput input;
    input.client = Rect{0, 0, 240, 300};
    input.requestedPage = page;
    input.language = lang == 2 ? "fr" : lang == 4 ? "tr" : "en";
    input.exploring = exploring;
    input.now = LocalTime{2024, 3, 5, 15, 9, 5, 7, 0};
    return input;
}

// Algiers on the pages, each painted as the window readies and paints it; any
// paint leaves nothing made and not released.
class PaintTest : public ::testing::Test {
  protected:
    RecordingSurface Paint(PaintInput input, bool night = false) {
        input.qibla = PreparePage(input.requestedPage, std::nullopt, std::nullopt, nullptr, engine);
        input.home = PrepareHome(engine, night);
        RecordingSurface surface(input.dpiY, input.client);
        PaintMainWindow(surface, input, engine);
        EXPECT_TRUE(AllReleased(surface));
        return surface;
    }
    RecordingSurface Paint(int page, std::uint32_t lang = 1, bool exploring = false) {
        return Paint(Input(page, lang, exploring));
    }

    EngineState engine = Algiers();
};
using PaintHome = PaintTest;
using PaintPages = PaintTest;
using PaintQibla = PaintTest;
using PaintCompute = PaintTest;
using PaintConfiguration = PaintTest;
using PaintAbout = PaintTest;

TEST_F(PaintHome, EveryItemAtItsPlace) {
    const RecordingSurface surface = Paint(0);
    const std::vector<DrawOp>& ops = surface.ops();
    ASSERT_EQ(ops.size(), 24u);
    ExpectText(ops[0], kL.title, "Home", TextAlign::Centre, -13, kTitle);
    ExpectText(ops[1], kL.homeTown, "Algiers, Algeria", TextAlign::Centre, -13, kBlack);
    // English is wholly English, dates included.
    ExpectText(ops[2], kL.homeDate, "Friday  15  March  2024", TextAlign::Centre, -13, kBlack);
    // "%2d": the hour keeps its leading space.
    ExpectText(ops[3], kL.homeClock, " 9:05:07", TextAlign::Centre, -19, kBlack);
    const char* times[6] = {"05:30 ", "06:15 ", "13:00 ", "16:00 ", "18:54 ", "20:16 "};
    // Friday 15 March 2024 is 5 Ramadan 1445: Maghrib ends the fast.
    const char* names[6] = {"Fajr", "Chourouk", "Zuhr", "Asr", "Iftar", "Isha"};
    for (std::size_t i = 0; i < 6; ++i) {
        ExpectText(ops[4 + i], {kL.homeTimeX, kL.homeTimeY[i]}, times[i], TextAlign::Centre, -19,
                   kPrayer[i]);
        ExpectText(ops[10 + i], {kL.homeNameX, kL.homeNameY[i]}, names[i], TextAlign::Left, -13,
                   kPrayer[i]);
        ExpectImage(ops[17 + i], DrawOp::Kind::Bitmap, 134 + static_cast<int>(i),
                    {kL.homeImageX, kL.homeImageY[i]});
    }
    ExpectText(ops[16], kL.homeHijri, "5 Ramadan 1445", TextAlign::Centre, -13, kBlack);
    ExpectImage(ops[23], DrawOp::Kind::Icon, 111, kL.homeMoon);
    EXPECT_TRUE(surface.transparentBackground());
    // Three fonts, six bitmaps and one icon, all made and released in this paint.
    EXPECT_EQ(surface.ObjectsMade(), 10);
}

// Arabic reads from the right: the page is mirrored, the names are the
// catalogue's (no Arabic-name images beside them), and with [Language]
// Digits=arabic the times and dates take Arabic-Indic digits (U+0660..U+0669).
TEST_F(PaintHome, ArabicIsMirroredWithItsOwnDigits) {
    PaintInput input = Input(0);
    input.language = "ar";
    input.digits = DigitStyle::Arabic;
    const RecordingSurface surface = Paint(input);
    const PageLayout rtl = MakeLayout(Rect{0, 0, 240, 300}, 96, 96, true);
    const std::vector<DrawOp>& ops = surface.ops();
    ASSERT_EQ(ops.size(), 18u);
    EXPECT_EQ(ops[2].text, "الجمعة  \u0661\u0665  مارس  \u0662\u0660\u0662\u0664");
    EXPECT_EQ(ops[3].text, " \u0669:\u0660\u0665:\u0660\u0667");
    EXPECT_EQ(ops[4].text, "\u0660\u0665:\u0663\u0660 ");
    const char* names[6] = {"فجر", "شروق", "ظهر", "عصر", "إفطار", "عشاء"};
    for (std::size_t i = 0; i < 6; ++i) {
        const DrawOp& name = ops[10 + i];
        EXPECT_EQ(name.text, names[i]);
        EXPECT_EQ((Anchor{name.x, name.y}), (Anchor{rtl.homeNameX, rtl.homeNameY[i]}));
        EXPECT_EQ(name.align, TextAlign::Right);
        EXPECT_EQ(name.font.face, "Noto Naskh Arabic");
    }
    EXPECT_GT(rtl.homeNameX, rtl.homeTimeX);
    EXPECT_EQ(ops[16].text, "\u0665 رمضان \u0661\u0664\u0664\u0665");
    EXPECT_EQ(ops[17].kind, DrawOp::Kind::Icon);

    // The same setting leaves an English page's digits alone.
    input.language = "en";
    EXPECT_EQ(Paint(input).ops()[4].text, "05:30 ");
}

// The texts that change with the language (any value but 2 is English), by
// their place among the page's texts; a trailing '~' asks only for the start.
TEST_F(PaintPages, TextsOfEachLanguage) {
    struct Case {
        int page;
        std::uint32_t lang;
        size_t count;
        std::vector<std::pair<size_t, std::string>> texts;
    };
    const Case cases[] = {
        {0, 2, 17, {{0, "Accueil"}, {2, "Vendredi  15  Mars  2024"}}},
        {0, 3, 17, {{0, "Home"}, {2, "Friday  15  March  2024"}}},
        {0, 4, 17, {{0, "Ana sayfa"}, {2, "Cuma  15  Mart  2024"}}},
        {1,
         2,
         6,
         {{0, "Quibla :"},
          {1, "à partir du Nord : ~"},
          {2, "à partir du Soleil : ~"},
          {3, "Soleil à partir du Nord à "},
          {5, "Quibla"}}},
        {2, 2, 15, {{0, "Calculs"}, {1, "Exploration à la date :"}}},
        {4,
         2,
         9,
         {{0, "A propos"},
          {1, "Version : 1.60"},
          {4, "par ~"},
          {5, "Lieux : GeoNames (geonames.org),"},
          {6, "sous licence CC BY 4.0,"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("page " + std::to_string(c.page) + " lang " + std::to_string(c.lang));
        engine = Algiers();
        const std::vector<DrawOp> texts = Texts(Paint(c.page, c.lang));
        ASSERT_EQ(texts.size(), c.count);
        for (const auto& [index, text] : c.texts) {
            if (text.back() == '~') {
                EXPECT_EQ(texts[index].text.rfind(text.substr(0, text.size() - 1), 0), 0u)
                    << texts[index].text;
            } else {
                EXPECT_EQ(texts[index].text, text);
            }
        }
    }
}

TEST_F(PaintHome, WeekdayIsThatOfTheLocalDate) {
    // 23:30 UT on Thursday 14 March is 00:30 on Friday in zone +1.
    engine.sun.T = JulianCenturies(14, 3, 2024, 23.5);
    EXPECT_EQ(Paint(0, 2).ops()[2].text, "Vendredi  15  Mars  2024");
    engine.timeZoneInEffect = 0;
    EXPECT_EQ(Paint(0, 2).ops()[2].text, "Jeudi  15  Mars  2024");
}

TEST_F(PaintHome, EstimatedTimesCarryTheMarkAndTheLegendNoneHasNoTime) {
    struct Case {
        int page;
        std::uint32_t lang;
        Anchor at;
        TextAlign align;
        const char* legend;
    };
    const Case cases[] = {
        {0, 1, kL.homeLegend, TextAlign::Left, "* 1/7 night"},
        {0, 2, kL.homeLegend, TextAlign::Left, "* 1/7 nuit"},
        {2, 1, kL.computeLegend, TextAlign::Centre, "* estimated: 1/7 of the night"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.legend);
        engine = Algiers();
        engine.schedule.status = {PrayerStatus::Estimated, PrayerStatus::Ok,
                                  PrayerStatus::Ok,        PrayerStatus::None,
                                  PrayerStatus::Ok,        PrayerStatus::Estimated};
        engine.schedule.shown = {3.72, 6.25, 12.999, NAN, 18.9, 25.5};
        const RecordingSurface surface = Paint(c.page, c.lang);
        for (const char* time : {"03:43*", "06:15 ", "13:00 ", "--:-- ", "18:54 ", "01:30*"}) {
            EXPECT_NE(FindText(surface, time), nullptr) << time;
        }
        const DrawOp* legend = FindText(surface, c.legend);
        ASSERT_NE(legend, nullptr);
        ExpectText(*legend, c.at, c.legend, c.align, -12, kBlack);

        // Without an estimate there is no legend.
        engine.schedule.status[Fajr] = engine.schedule.status[Isha] = PrayerStatus::Ok;
        EXPECT_EQ(FindText(Paint(c.page, c.lang), c.legend), nullptr);
    }
}

// The Hijri line shows the date now, the next day's from the shown Maghrib
// (18:54) on; Maghrib is named Iftar on a day whose daylight is in Ramadan.
TEST_F(PaintHome, HijriLineTurnsAtMaghribAndIftarInRamadan) {
    const struct {
        int day, month, hour, minute;
        bool exploring;
        std::uint32_t lang;
        const char* hijri;
        const char* maghrib;
    } cases[] = {
        {15, 3, 18, 53, false, 1, "5 Ramadan 1445", "Iftar"},
        {15, 3, 18, 54, false, 1, "6 Ramadan 1445", "Iftar"},
        {10, 3, 12, 0, false, 2, "29 Chaabane 1445", "Maghrib"},
        {10, 3, 19, 0, false, 2, "1 Ramadan 1445", "Maghrib"},
        {9, 4, 12, 0, false, 1, "30 Ramadan 1445", "Iftar"},
        {9, 4, 19, 0, false, 2, "1 Chawwal 1445", "Iftar"},
        // Exploring, the moment explored counts, not the clock (15:09).
        {9, 4, 19, 0, true, 1, "1 Shawwal 1445", "Iftar"},
        {10, 4, 12, 0, true, 1, "1 Shawwal 1445", "Maghrib"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.hijri);
        engine = Algiers();
        engine.observation = Observation{c.day, c.month, 2024, c.hour, c.minute, 0};
        PaintInput input = Input(0, c.lang, c.exploring);
        if (!c.exploring) input.now = LocalTime{2024, c.month, 0, c.day, c.hour, c.minute, 0, 0};
        const RecordingSurface surface = Paint(input);
        const DrawOp* hijri = FindText(surface, c.hijri);
        ASSERT_NE(hijri, nullptr);
        EXPECT_EQ((Anchor{hijri->x, hijri->y}), kL.homeHijri);
        EXPECT_NE(FindText(surface, c.maghrib), nullptr);
    }
}

// Behind [Night] Show, the night times take the icon's place, estimated ones
// marked and the legend moved under them.
TEST_F(PaintHome, NightTimesInPlaceOfTheIcon) {
    const RecordingSurface hidden = Paint(0, 1);
    EXPECT_EQ(FindText(hidden, "Imsak"), nullptr);

    engine.schedule.status[Maghrib] = PrayerStatus::Estimated;
    const RecordingSurface shown = Paint(Input(0, 2), true);
    const std::vector<DrawOp> texts = Texts(shown);
    ASSERT_EQ(texts.size(), 24u);
    // 05:30 less ten minutes; the night from 18:54 to the next day's Fajr.
    const NightTimes night = ComputeNightOfDay(engine);
    const char* names[3] = {"Imsak", "Minuit", "Dernier tiers"};
    for (size_t i = 0; i < 3; ++i) {
        const std::string time =
            ShownClockText(night.status[i], night.hour[i]) + (i == 0 ? "" : "*");
        ExpectText(texts[17 + 2 * i], {kL.homeNightX[i], kL.homeNightNameY}, names[i],
                   TextAlign::Centre, -12, kBlack);
        ExpectText(texts[18 + 2 * i], {kL.homeNightX[i], kL.homeNightTimeY}, time,
                   TextAlign::Centre, -12, kBlack);
    }
    EXPECT_EQ(texts[17 + 1].text, "05:20");
    ExpectText(texts[23], kL.homeNightLegend, "* 1/7 nuit", TextAlign::Left, -12, kBlack);
    for (const DrawOp& op : shown.ops()) EXPECT_NE(op.kind, DrawOp::Kind::Icon);
}

TEST_F(PaintHome, TimesKeepFiveCharactersAndOneSpace) {
    // Past 23:59:30 the page shows the next midnight, in the day's own row.
    engine.schedule.shown[5] = 23.9999;
    EXPECT_EQ(Paint(0).ops()[9].text, "00:00 ");
    EXPECT_EQ(PaddedClockText(7.0), "07:00 ");
}

TEST_F(PaintQibla, CompassArrowsAndTextBlock) {
    // 21 June 2010, 16:00 local: the Sun stands 94.343 degrees west of North.
    engine.observation = Observation{21, 6, 2010, 16, 0, 0};
    const RecordingSurface surface = Paint(1);
    const std::vector<DrawOp>& ops = surface.ops();
    ASSERT_EQ(ops.size(), 15u);
    ExpectImage(ops[0], DrawOp::Kind::Bitmap, 130, {45, 6});
    EXPECT_EQ(ops[1].resourceId, 132);
    for (std::size_t i = 2; i < 5; ++i) EXPECT_EQ(ops[i].colour, (Colour{255, 255, 0}));
    EXPECT_EQ(ops[5].resourceId, 131);
    for (std::size_t i = 6; i < 9; ++i) EXPECT_EQ(ops[i].colour, kBlack);
    // Both shafts start at the compass centre (120, 81.8), raised clear of "Quibla:".
    EXPECT_EQ((Anchor{ops[2].x, ops[2].y}), (Anchor{120, 81}));
    EXPECT_EQ((Anchor{ops[6].x, ops[6].y}), (Anchor{120, 81}));

    const double q = QiblaBearing(engine.place.latitude, engine.place.longitude);
    const QiblaView view = PreparePage(1, std::nullopt, std::nullopt, nullptr, engine);
    const double s = view.sun;
    EXPECT_NEAR(s * kRadToDeg, -94.343, 0.001);
    // The block's lines, one step apart around the layout's base line.
    const auto line = [](int x, int k) {
        return Anchor{x, static_cast<int>(kL.quiblaBase + k * kL.quiblaStep)};
    };
    ExpectText(ops[9], line(kL.quiblaHeadX, -1), "Quibla:", TextAlign::Left, -15, kBlack);
    ExpectText(ops[10], line(kL.quiblaLineX, 0), "from North: " + BearingText(q), TextAlign::Left,
               -15, kBlack);
    ExpectText(ops[11], line(kL.quiblaLineX, 1),
               "from Sun: " + ReadableDmsText(AngleDifference(s, q)), TextAlign::Left, -15, kBlack);
    ExpectText(ops[12], line(kL.quiblaHeadX, 2), "Sun from North:", TextAlign::Left, -15, kGold);
    ExpectText(ops[13], line(kL.quiblaSunX, 3), "16:00 : " + BearingText(s), TextAlign::Left, -15,
               kBlack);
    ExpectText(ops[14], kL.title, "Quibla", TextAlign::Centre, -13, kTitle);
    EXPECT_EQ(BearingText(s), "265°39'24\"");
    // Neither the observation nor the day's Sun and zone are moved by looking at the Sun.
    EXPECT_EQ(engine.observation.day, 21);
    EXPECT_EQ(engine.sun.T, Algiers().sun.T);
    EXPECT_EQ(engine.timeZoneInEffect, 1);
}

TEST_F(PaintQibla, BearingOfATownWestAndOfATownEastOfTheKaaba) {
    RecordingSurface surface = Paint(1);
    const double q = QiblaBearing(engine.place.latitude, engine.place.longitude) * kRadToDeg;
    EXPECT_GT(q, 104.5);
    EXPECT_LT(q, 105.5);
    EXPECT_EQ(Texts(surface)[1].text.rfind("from North: 105°", 0), 0u) << Texts(surface)[1].text;
    // The Qibla arrow points right and a little down: 56.25 pixels at 105 degrees
    // puts its tip at (120 + 54.3, 81.8 + 14.6).
    const std::vector<DrawOp> lines = Lines(surface);
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ((Anchor{lines[3].x2, lines[3].y2}), (Anchor{174, 96}));

    engine.place.Name = "Karachi";
    engine.place.latitude = Degrees{24.8607};
    engine.place.longitude = Degrees{67.0011};
    const RecordingSurface karachiPage = Paint(1);
    const std::string karachi = Texts(karachiPage)[1].text;
    EXPECT_EQ(karachi.rfind("from North: 267°", 0), 0u) << karachi;
    // Nearly due west, the arrow stops short of the rose's "W" (55 pixels out,
    // 6 either side): its tip is 43.5 pixels from the centre, not 56.25.
    const std::vector<DrawOp> west = Lines(karachiPage);
    ASSERT_EQ(west.size(), 6u);
    const double reach = std::hypot(west[3].x2 - 120, west[3].y2 - 81);
    EXPECT_GT(reach, 42);
    EXPECT_LT(reach, 48);
}

TEST_F(PaintQibla, LocalHourWrapsIntoTheDay) {
    // 00:30 local in zone +1 is 23:30 UT the day before: shown as 00:30.
    engine.observation = Observation{21, 6, 2010, 0, 30, 0};
    EXPECT_EQ(Texts(Paint(1))[4].text.substr(0, 8), "00:30 : ");
    // 22:30 local in zone -3 is 25:30 UT, kept unreduced by the Sun's computation.
    engine.place.TimeZone = -3;
    engine.observation = Observation{21, 6, 2010, 22, 30, 0};
    const RecordingSurface late = Paint(1);
    EXPECT_EQ(Texts(late)[4].text.substr(0, 8), "22:30 : ");
}

TEST(DrawDirectionArrow, ShaftAndBarbsForTheFourQuarters) {
    struct Case {
        double bearingDegrees;
        Anchor bitmap;
        int tipX, tipY, barb1X, barb1Y, barb2X, barb2Y;
    };
    // Centre (120, 101.8), radius 75: the tip at 56.25 pixels, the bitmap at 67.5;
    // pointing at a compass letter, the tip stops at 43.5 pixels.
    const Case cases[] = {
        {0, {112, 26}, 120, 58, 115, 66, 125, 66},
        {90, {179, 93}, 163, 101, 154, 96, 154, 106},
        {180, {112, 161}, 120, 145, 125, 136, 115, 136},
        {-90, {44, 93}, 76, 101, 85, 106, 85, 96},
        {45, {159, 46}, 159, 62, 150, 64, 157, 71},
    };
    const Colour pen{1, 2, 3};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bearingDegrees);
        RecordingSurface surface;
        DrawDirectionArrow(surface, c.bearingDegrees * kDegToRad, 131, pen, 120.0, 101.8);
        const std::vector<DrawOp>& ops = surface.ops();
        ASSERT_EQ(ops.size(), 4u);
        ExpectImage(ops[0], DrawOp::Kind::Bitmap, 131, c.bitmap);
        ExpectLine(ops[1], 120, 101, c.tipX, c.tipY, pen);
        ExpectLine(ops[2], c.tipX, c.tipY, c.barb1X, c.barb1Y, pen);
        ExpectLine(ops[3], c.tipX, c.tipY, c.barb2X, c.barb2Y, pen);
        EXPECT_TRUE(AllReleased(surface));
    }
}

// An estimated time keeps its mark whole in the last column: it moves in from
// the page's edge rather than being cut to "23:…".
TEST_F(PaintCompute, EstimatedIshaStaysWholeInTheLastColumn) {
    engine.schedule.status.fill(PrayerStatus::Ok);
    engine.schedule.status[Isha] = PrayerStatus::Estimated;
    engine.schedule.shown = {5.5, 7.0, 12.5, 15.75, 18.25, 23.2};
    PaintInput input = Input(2);
    // Wide glyphs: 8 pixels a character, so that "23:12*" passes the right edge
    // when centred on its column.
    RecordingSurface surface(input.dpiY, input.client, [](const FontSpec&, const std::string& t) {
        const int width = 8 * static_cast<int>(t.size());
        const size_t inked = t.find_last_not_of(' ');
        return TextExtent{width, 0, 12,
                          inked == std::string::npos ? 0 : 8 * static_cast<int>(inked + 1)};
    });
    PaintMainWindow(surface, input, engine);
    const DrawOp* isha = FindText(surface, "23:12*");
    ASSERT_NE(isha, nullptr);
    EXPECT_LE(isha->x - 24 + 48, kL.right - kL.textMargin);
    EXPECT_LT(isha->x, kL.computeColumnX[Isha]);
    // The other columns stay on their centres.
    const DrawOp* maghrib = FindText(surface, "18:15 ");
    ASSERT_NE(maghrib, nullptr);
    EXPECT_EQ(maghrib->x, kL.computeColumnX[Maghrib]);
}

TEST_F(PaintCompute, PickersBecomeTheObservationAndTheScheduleIsRecomputed) {
    const PaintInput input = Input(2);
    int recomputed = 0;
    Observation seen;
    PreparePage(
        2, LocalTime{2011, 7, 0, 4, 1, 2, 3, 0}, LocalTime{1999, 1, 0, 1, 22, 33, 44, 0},
        [&] {
            ++recomputed;
            seen = engine.observation;
        },
        engine);
    const RecordingSurface surface = Paint(input);
    EXPECT_EQ(recomputed, 1);
    EXPECT_EQ((std::array{seen.day, seen.month, seen.year, seen.hour, seen.minute, seen.second}),
              (std::array{4, 7, 2011, 22, 33, 44}));

    const std::vector<DrawOp>& ops = surface.ops();
    ASSERT_EQ(ops.size(), 15u);
    ExpectText(ops[0], kL.title, "Compute", TextAlign::Centre, -13, kTitle);
    ExpectText(ops[1], kL.computeHeading, "Explore at the date:", TextAlign::Centre, -13, kBlack);
    ExpectText(ops[2], kL.computeTown, "Algiers, Algeria", TextAlign::Centre, -13, kBlack);
    const char* names[6] = {"Fajr", "Churuk", "Zuhr", "Asr", "Maghrib", "Isha"};
    const char* times[6] = {"05:30 ", "06:15 ", "13:00 ", "16:00 ", "18:54 ", "20:16 "};
    for (std::size_t i = 0; i < 6; ++i) {
        const int x = kL.computeColumnX[i];
        ExpectText(ops[3 + 2 * i], {x, kL.computeNameY}, names[i], TextAlign::Centre, -12,
                   kPrayer[i]);
        ExpectText(ops[4 + 2 * i], {x, kL.computeTimeY}, times[i], TextAlign::Centre, -12,
                   kPrayer[i]);
    }
}

TEST_F(PaintConfiguration, LabelsInBothLanguages) {
    const std::pair<const char*, const char*> labels[] = {
        {"Country:", "Pays :"},
        {"Town:", "Ville :"},
        {"Latitude(°):", "Latitude(°) :"},
        {"Longitude(°):", "Longitude(°) :"},
        {"TimeZN:", "TimeZN :"},
        {"DST:", "DST :"},
        {"Convention:", "Convention :"},
    };
    for (std::uint32_t lang : {1u, 2u}) {
        engine = Algiers();
        const RecordingSurface surface = Paint(3, lang);
        const std::vector<DrawOp>& ops = surface.ops();
        ASSERT_EQ(ops.size(), 8u);
        for (std::size_t i = 0; i < 7; ++i) {
            ExpectText(ops[i], kL.configLabels[i], lang == 2 ? labels[i].second : labels[i].first,
                       TextAlign::Left, -13, kBlack);
        }
        ExpectText(ops[7], kL.title, "Configuration", TextAlign::Centre, -13, kTitle);
    }
}

TEST_F(PaintAbout, NameVersionCreditsAndIcons) {
    const RecordingSurface surface = Paint(4);
    const std::vector<DrawOp>& ops = surface.ops();
    ASSERT_EQ(ops.size(), 11u);
    ExpectText(ops[0], kL.title, "About", TextAlign::Centre, -13, kTitle);
    ExpectText(ops[1], kL.aboutVersion, "Version: 1.60", TextAlign::Centre, -13, kGold);
    EXPECT_EQ(ops[2].y, kL.aboutRights.y);
    EXPECT_NE(ops[2].text.find("2026"), std::string::npos);
    EXPECT_EQ(ops[3].y, kL.aboutPublisher.y);
    EXPECT_EQ(ops[4].y, kL.aboutAuthor.y);
    EXPECT_EQ(ops[4].text.rfind("by ", 0), 0u) << ops[4].text;
    for (std::size_t i = 2; i < 5; ++i) EXPECT_EQ(ops[i].colour, kBlack);
    // The gazetteer's source and licence, as CC BY 4.0 asks.
    const char* const credits[] = {"Places: GeoNames (geonames.org),", "licensed under CC BY 4.0,",
                                   "creativecommons.org/licenses/by/4.0"};
    for (std::size_t i = 0; i < 3; ++i) {
        ExpectText(ops[5 + i], kL.aboutCredits[i], credits[i], TextAlign::Centre, -11, kBlack);
    }
    ExpectText(ops[8], kL.aboutName, "Orvano", TextAlign::Centre, -21, kTitle);
    ExpectImage(ops[9], DrawOp::Kind::Icon, 111, kL.aboutRightIcon);
    ExpectImage(ops[10], DrawOp::Kind::Icon, 110, kL.aboutLeftIcon);
}

TEST_F(PaintPages, ExploreMarkerOnlyOnHomeAndQiblaWhileExploring) {
    for (int page = 0; page < 5; ++page) {
        for (bool exploring : {false, true}) {
            SCOPED_TRACE(std::to_string(page) + " " + std::to_string(exploring));
            engine = Algiers();
            const RecordingSurface surface = Paint(page, 1, exploring);
            const int expected = (exploring && page <= 1) ? 1 : 0;
            EXPECT_EQ(CountTexts(surface, "(!)"), expected);
            if (expected == 0) continue;
            const DrawOp* marker = FindText(surface, "(!)");
            ASSERT_NE(marker, nullptr);
            EXPECT_EQ(marker->colour, kRed);
            EXPECT_EQ((Anchor{marker->x, marker->y}),
                      page == 0 ? kL.homeExploring
                                : (Anchor{kL.quiblaHeadX,
                                          static_cast<int>(kL.quiblaBase + 3 * kL.quiblaStep)}));
            EXPECT_EQ(marker->align, page == 0 ? TextAlign::Centre : TextAlign::Left);
        }
    }
}

TEST_F(PaintPages, OtherPageValuesDrawNothing) {
    for (int page : {-1, 5, 99}) {
        engine = Algiers();
        EXPECT_TRUE(Paint(page).ops().empty()) << page;
    }
}

TEST_F(PaintPages, MissingImagesAndFontsDrawNothingInTheirPlace) {
    RecordingSurface surface;
    surface.MakeUnavailable(136);
    surface.MakeUnavailable(111);
    surface.FailFontCreation();
    PaintMainWindow(surface, Input(0), engine);
    // Texts still come, in the surface's own font; bitmap 136 and the icon do not.
    EXPECT_EQ(Texts(surface).size(), 16u);
    EXPECT_EQ(Texts(surface)[0].font, RecordingSurface::DefaultFont());
    EXPECT_EQ(testing::OpsOfKind(surface, DrawOp::Kind::Bitmap).size(), 5u);
    EXPECT_TRUE(testing::OpsOfKind(surface, DrawOp::Kind::Icon).empty());
    EXPECT_TRUE(AllReleased(surface));
}

// At 192 DPI every scaled length doubles; the compass radius, the 75 added to
// its centre and the 150 added to the text base stay in pixels.
TEST_F(PaintPages, At192DpiOnlyScaledLengthsDouble) {
    PaintInput input = Input(1);
    input.client = Rect{0, 0, 480, 600};
    input.dpiX = 192;
    input.dpiY = 192;
    const RecordingSurface surface = Paint(input);
    const std::vector<DrawOp>& ops = surface.ops();
    ASSERT_EQ(ops.size(), 15u);
    // cy = 536 * 0.1 + 75 - ScaleY(20) = 88.6.
    ExpectImage(ops[0], DrawOp::Kind::Bitmap, 130, {165, 13});
    EXPECT_EQ((Anchor{ops[2].x, ops[2].y}), (Anchor{240, 88}));
    // The Qibla shaft is 56.25 pixels long at any resolution.
    const double length = std::hypot(ops[6].x2 - ops[6].x, ops[6].y2 - ops[6].y);
    EXPECT_NEAR(length, 56.25, 1.5);
    // base = 536 * 0.11 + 150 = 208.96; the step is ScaleY(20) = 40.
    const Anchor block[5] = {{10, 168}, {20, 208}, {20, 248}, {10, 288}, {60, 328}};
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_EQ((Anchor{ops[9 + i].x, ops[9 + i].y}), block[i]) << i;
        EXPECT_EQ(ops[9 + i].font.height, -29) << i;  // 11 points at 192 DPI
    }
    ExpectText(ops[14], {240, 536}, "Quibla", TextAlign::Centre, -27, kTitle);

    input.requestedPage = 0;
    const RecordingSurface home = Paint(input);
    ExpectText(home.ops()[3], {240, 92}, " 9:05:07", TextAlign::Centre, -37, kBlack);
    ExpectText(home.ops()[16], {240, 416}, "5 Ramadan 1445", TextAlign::Centre, -27, kBlack);
    ExpectImage(home.ops()[17], DrawOp::Kind::Bitmap, 134, {360, 140});
    ExpectImage(home.ops()[23], DrawOp::Kind::Icon, 111, {208, 452});
}

TEST(FontHeightForPoints, TheFiveSizesAt96Dpi) {
    const std::array<int, 3> cases[] = {{96, 9, -12},  {96, 10, -13}, {96, 11, -15},
                                        {96, 14, -19}, {96, 16, -21}, {192, 10, -27}};
    for (const auto& [dpi, points, height] : cases) {
        EXPECT_EQ(FontHeightForPoints(dpi, points), height) << dpi << " " << points;
    }
}

TEST(DumpOps, JsonHasOneObjectPerOperation) {
    RecordingSurface surface;
    surface.SetTextColour(Colour{1, 2, 3});
    const FontId font = surface.CreateFont(FontSpec{"ARIAL", -13, 700});
    surface.SelectFont(font);
    surface.DrawText(5, 6, "a\"b", TextAlign::Centre);
    surface.SelectFont(FontId{});
    surface.ReleaseFont(font);
    surface.MoveTo(1, 2);
    surface.LineTo(3, 4);
    const BitmapId bitmap = surface.LoadBitmap(130);
    surface.DrawBitmap(bitmap, 7, 8);
    surface.ReleaseBitmap(bitmap);
    // Without a measure the text's box is the estimate: three characters of
    // 13 * 3 / 5 pixels, inked from y + 13 / 6 down 13 rows.
    EXPECT_EQ(OpsToJson(surface.ops(), {ControlBox{1007, "save", Box{4, 5, 6, 7}}}),
              "[\n"
              "{\"op\":\"text\",\"x\":5,\"y\":6,\"align\":\"center\",\"text\":\"a\\\"b\","
              "\"font\":{\"face\":\"ARIAL\",\"height\":-13,\"weight\":700},\"color\":[1,2,3],"
              "\"box\":[-6,8,23,13]},\n"
              "{\"op\":\"line\",\"x1\":1,\"y1\":2,\"x2\":3,\"y2\":4,\"width\":1,"
              "\"color\":[0,0,0],\"box\":[1,2,3,3]},\n"
              "{\"op\":\"bitmap\",\"id\":130,\"x\":7,\"y\":8,\"box\":[7,8,150,150]},\n"
              "{\"op\":\"control\",\"id\":1007,\"name\":\"save\",\"box\":[4,5,6,7]}\n"
              "]\n");
    EXPECT_TRUE(AllReleased(surface));
}

TEST(RecordingSurface, SeesObjectsLeftOrReleasedWhileSelected) {
    RecordingSurface surface;
    const FontId font = surface.CreateFont(FontSpec{"ARIAL", -13, 700});
    surface.SelectFont(font);
    surface.ReleaseFont(font);
    EXPECT_EQ(surface.faults().size(), 1u);
    surface.CreateSolidPen(2, Colour{});
    EXPECT_EQ(surface.LiveObjects(), 1);
    EXPECT_FALSE(AllReleased(surface));
}

}  // namespace
}  // namespace orvano
