#include "app/paint.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "astro/angle_text.h"
#include "astro/constants.h"
#include "astro/julian_time.h"
#include "astro/sun_report.h"
#include "astro/trace.h"
#include "engine/schedule.h"
#include "language/date_names.h"
#include "language/digits.h"
#include "language/languages.h"
#include "language/messages.h"
#include "resources/resource_ids.h"

namespace orvano {

namespace {

constexpr Colour kTitleColour{0, 153, 255};
constexpr Colour kGold{255, 204, 0};
constexpr Colour kRed{255, 0, 0};
constexpr Colour kBlack{0, 0, 0};
constexpr Colour kSunPen{255, 255, 0};
constexpr Colour kQiblaPen{0, 0, 0};

constexpr std::array<Colour, kPrayerCount> kPrayerColours = {
    Colour{0, 153, 255}, Colour{255, 204, 0}, Colour{255, 102, 255},
    Colour{51, 255, 0},  Colour{255, 0, 0},   Colour{0, 0, 255}};

constexpr std::array<const char*, kPrayerCount> kHomeNames = {
    NC_("prayer", "Fajr"), NC_("prayer", "Chourouk"), NC_("prayer", "Zuhr"),
    NC_("prayer", "Asr"),  NC_("prayer", "Maghrib"),  NC_("prayer", "Isha")};
// Where the six names stand side by side, sunrise has a shorter name.
constexpr std::array<const char*, kPrayerCount> kComputeNames = {
    NC_("prayer, short", "Fajr"), NC_("prayer, short", "Churuk"),  NC_("prayer, short", "Zuhr"),
    NC_("prayer, short", "Asr"),  NC_("prayer, short", "Maghrib"), NC_("prayer, short", "Isha")};

constexpr size_t kRows = kPrayerCount;

constexpr double kCompassRadius = 75;  // pixels at every resolution
// How near (radians) to a compass letter's direction an arrow must point for
// its head to reach the letter at its full length.
constexpr double kLetterClearance = 12 * kPi / 180;

// A font made for one group of texts: selected on construction, the previous
// font selected back and this one released on destruction. A font that cannot
// be made leaves the current font in place.
class ScopedFont {
  public:
    ScopedFont(Surface& surface, const PageLayout& l, int points) : surface_(surface) {
        // Arabic, Urdu and Persian in Naskh, whose line fits the pages' rows:
        // Urdu's usual Nastaliq needs half as much height again.
        const char* face = l.rightToLeft ? "Noto Naskh Arabic" : "ARIAL";
        font_ = surface.CreateFont(
            FontSpec{face, FontHeightForPoints(surface.LogicalDpiY(), points), 700});
        if (font_) previous_ = surface.SelectFont(font_);
    }
    ~ScopedFont() {
        if (!font_) return;
        surface_.SelectFont(previous_);
        surface_.ReleaseFont(font_);
    }
    ScopedFont(const ScopedFont&) = delete;
    ScopedFont& operator=(const ScopedFont&) = delete;

  private:
    Surface& surface_;
    FontId font_;
    FontId previous_;
};

void DrawResourceBitmap(Surface& surface, int id, int x, int y) {
    const BitmapId bitmap = surface.LoadBitmap(id);
    if (!bitmap) return;
    surface.DrawBitmap(bitmap, x, y);
    surface.ReleaseBitmap(bitmap);
}

void DrawResourceIcon(Surface& surface, int id, int x, int y) {
    const IconId icon = surface.LoadIcon(id);
    if (!icon) return;
    surface.DrawIcon(icon, x, y);
    surface.ReleaseIcon(icon);
}

// A text drawn whole when what it inks stays inside the client (less a
// margin at each side), else cut at a character and ended with "…". Trailing
// spaces ink nothing: a centred "%-6.5s" time may reach past the edge with them.
void Fitted(Surface& surface, const PageLayout& l, int x, int y, const std::string& text,
            TextAlign align) {
    const int leftEdge = l.left + l.textMargin;
    const int rightEdge = l.right - l.textMargin;
    const auto fits = [&](const std::string& candidate) {
        const std::optional<int> advance = surface.TextWidth(candidate);
        const size_t inked = candidate.find_last_not_of(' ');
        const std::optional<int> ink =
            surface.TextWidth(inked == std::string::npos ? "" : candidate.substr(0, inked + 1));
        if (!advance || !ink) return true;
        int left = x;
        if (align == TextAlign::Centre) left = x - *advance / 2;
        if (align == TextAlign::Right) left = x - *advance;
        return left >= leftEdge && left + *ink <= rightEdge;
    };
    surface.DrawText(x, y, ElideToFit(text, fits), align);
}

// The x at which a centred text stays whole on the page: its own column's
// centre, moved in just enough when the text would pass the page's edge (an
// estimated time's mark in the last column).
int CentreWithinPage(const Surface& surface, const PageLayout& l, int x, const std::string& text) {
    const std::optional<int> advance = surface.TextWidth(text);
    const size_t inked = text.find_last_not_of(' ');
    const std::optional<int> ink =
        surface.TextWidth(inked == std::string::npos ? "" : text.substr(0, inked + 1));
    if (!advance || !ink) return x;
    const int leftEdge = l.left + l.textMargin;
    const int rightEdge = l.right - l.textMargin;
    const int left = x - *advance / 2;
    if (left + *ink > rightEdge) return x - (left + *ink - rightEdge);
    if (left < leftEdge) return x + (leftEdge - left);
    return x;
}

void Text(Surface& surface, const PageLayout& l, Colour colour, int x, int y,
          const std::string& text, TextAlign align) {
    surface.SetTextColour(colour);
    Fitted(surface, l, x, y, text, align);
}

// Where a line starts: the left edge, or the right one on a mirrored page.
TextAlign Start(const PageLayout& l) {
    return l.rightToLeft ? TextAlign::Right : TextAlign::Left;
}

// A time or date as the user reads it: in the language's own digits when
// the settings ask for them.
std::string Digits(const PaintInput& in, const std::string& text) {
    return ShownDigits(text, in.language, in.digits);
}

// An angle or a clock time keeps its own left-to-right order inside a line
// read from the right: "105°23'50\"" would otherwise come out in pieces.
std::string Isolated(const PageLayout& l, const std::string& text) {
    return l.rightToLeft ? "\u200F\u200E" + text + "\u200E\u200F" : text;
}

void PaintTitle(Surface& surface, const PageLayout& l, const char* title) {
    Text(surface, l, kTitleColour, l.title.x, l.title.y, title, TextAlign::Centre);
}

bool HasEstimate(const DaySchedule& day) {
    for (PrayerStatus status : day.status) {
        if (status == PrayerStatus::Estimated) return true;
    }
    return false;
}

// The minute the Home page's "now" is at: the clock's, or the moment explored.
int HomeMinute(const PaintInput& in, const Observation& o) {
    return in.exploring ? o.hour * 60 + o.minute : in.now.hour * 60 + in.now.minute;
}

void PaintNight(Surface& surface, const PageLayout& l, const PaintInput& in,
                const NightTimes& night) {
    ScopedFont font(surface, l, 9);
    surface.SetTextColour(kBlack);
    for (int i = 0; i < kNightCount; ++i) {
        const auto n = static_cast<size_t>(i);
        std::string time = ShownClockText(night.status[n], night.hour[n]);
        if (night.status[n] == PrayerStatus::Estimated) time += kEstimateMark;
        Fitted(surface, l, l.homeNightX[n], l.homeNightNameY,
               NightTimeName(static_cast<NightIndex>(i)), TextAlign::Centre);
        Fitted(surface, l, l.homeNightX[n], l.homeNightTimeY, Digits(in, time), TextAlign::Centre);
    }
}

// The name a row of the Home page shows: in Ramadan Maghrib is named for the
// meal that ends the fast, and on a Friday kept as Jumu'ah Zuhr is Jumu'ah.
const char* HomeRowName(size_t row, const PaintInput& in) {
    if (row == size_t{Maghrib} && in.home.hijri.InRamadan()) return NC_("prayer", "Iftar");
    if (row == size_t{Zuhr} && in.home.asides.jumuah) return kJumuahName;
    return kHomeNames[row];
}

// The Hijri date, centred under the six times. The pictures of the prayers
// stand at the row's right: a date long enough to reach into them (some
// languages name the months at length) moves left of them instead.
void PaintHijriLine(Surface& surface, const PageLayout& l, const std::string& text) {
    int x = l.homeHijri.x;
    const std::optional<int> width = surface.TextWidth(text);
    if (width && !l.rightToLeft && x + *width / 2 > l.homeImageX + l.textMargin) {
        const int leftEdge = l.left + l.textMargin;
        x = std::max(l.homeImageX - l.textMargin - (*width + 1) / 2, leftEdge + (*width + 1) / 2);
    }
    Text(surface, l, kBlack, x, l.homeHijri.y, text, TextAlign::Centre);
}

void PaintHome(Surface& surface, const PageLayout& l, const PaintInput& in,
               const EngineState& engine) {
    const Observation& o = engine.observation;
    {
        ScopedFont font(surface, l, 10);
        PaintTitle(surface, l, Tr("Home"));
        Text(surface, l, kBlack, l.homeTown.x, l.homeTown.y,
             Format("%s, %s", engine.place.Name.c_str(), engine.place.Country.c_str()),
             TextAlign::Centre);
        const int weekday = LocalWeekday(engine.sun.T, engine.timeZoneInEffect);
        Fitted(surface, l, l.homeDate.x, l.homeDate.y,
               Digits(in, Format("%s  %d  %s  %d", ShownWeekdayName(weekday), o.day,
                                 ShownMonthName(o.month), o.year)),
               TextAlign::Centre);
        if (in.exploring) {
            Text(surface, l, kRed, l.homeExploring.x, l.homeExploring.y, "(!)", TextAlign::Centre);
        }
        surface.SetTextColour(kBlack);
    }
    {
        ScopedFont font(surface, l, 14);
        Fitted(surface, l, l.homeClock.x, l.homeClock.y,
               Digits(in, Format("%2d:%02d:%02d", in.now.hour, in.now.minute, in.now.second)),
               TextAlign::Centre);
        for (size_t i = 0; i < kRows; ++i) {
            const PrayerAside& aside = in.home.asides.prayer[i];
            const std::string time = in.home.asides.IsJumuah(i)
                                         ? Format("%-6.5s", MinuteClockText(*aside.minute).c_str())
                                         : ShownPaddedText(engine.schedule, static_cast<int>(i));
            Text(surface, l, kPrayerColours[i], l.homeTimeX, l.homeTimeY[i], Digits(in, time),
                 TextAlign::Centre);
        }
    }
    const auto& asides = in.home.asides.prayer;
    if (std::any_of(asides.begin(), asides.end(), [](const PrayerAside& a) { return a.iqama; })) {
        ScopedFont font(surface, l, 8);
        for (size_t i = 0; i < kRows; ++i) {
            if (const auto& iqama = asides[i].iqama) {
                Text(surface, l, kPrayerColours[i], l.homeIqamaX, l.homeIqamaY[i],
                     Digits(in, MinuteClockText(*iqama)), Start(l));
            }
        }
    }
    {
        ScopedFont font(surface, l, 10);
        for (size_t i = 0; i < kRows; ++i) {
            const char* name = HomeRowName(i, in);
            Text(surface, l, kPrayerColours[i], l.homeNameX, l.homeNameY[i], Tr("prayer", name),
                 Start(l));
        }
        if (const auto& hijri = in.home.hijri.At(HomeMinute(in, o))) {
            PaintHijriLine(surface, l, Digits(in, HijriDateText(*hijri)));
        }
    }
    // The names in Arabic script are already the catalogue's text on a mirrored page.
    for (size_t i = 0; i < kRows && !l.rightToLeft; ++i) {
        DrawResourceBitmap(surface, resources::kBitmapFirstPrayerName + static_cast<int>(i),
                           l.homeImageX, l.homeImageY[i]);
    }
    if (in.home.night) {
        PaintNight(surface, l, in, *in.home.night);
    } else {
        DrawResourceIcon(surface, resources::kIconProgram, l.homeMoon.x, l.homeMoon.y);
    }
    const bool nightEstimated =
        in.home.night && std::find(in.home.night->status.begin(), in.home.night->status.end(),
                                   PrayerStatus::Estimated) != in.home.night->status.end();
    if (HasEstimate(engine.schedule) || nightEstimated) {
        ScopedFont font(surface, l, 9);
        const Anchor at = in.home.night ? l.homeNightLegend : l.homeLegend;
        Text(surface, l, kBlack, at.x, at.y, EstimateLegendShortText(HighLatitudeRuleOf(engine)),
             Start(l));
    }
}

void PaintQibla(Surface& surface, const PageLayout& l, const PaintInput& in) {
    const double q = in.qibla.qibla;
    const double s = in.qibla.sun;

    const double cx = l.compassCx;
    const double cy = l.compassCy;
    DrawResourceBitmap(surface, resources::kBitmapCompassRose,
                       static_cast<int>(cx - kCompassRadius),
                       static_cast<int>(cy - kCompassRadius));
    DrawDirectionArrow(surface, s, resources::kBitmapSun, kSunPen, cx, cy);
    DrawDirectionArrow(surface, q, resources::kBitmapKaaba, kQiblaPen, cx, cy);

    {
        ScopedFont font(surface, l, 11);
        const double base = l.quiblaBase;
        const int step = l.quiblaStep;
        Text(surface, l, kBlack, l.quiblaHeadX, static_cast<int>(base - step), Tr("Quibla:"),
             Start(l));
        Fitted(surface, l, l.quiblaLineX, static_cast<int>(base),
               Format("%s %s", Tr("from North:"), Isolated(l, BearingText(q)).c_str()), Start(l));
        Fitted(surface, l, l.quiblaLineX, static_cast<int>(base + step),
               Format("%s %s", Tr("from Sun:"),
                      Isolated(l, ReadableDmsText(AngleDifference(s, q))).c_str()),
               Start(l));
        Text(surface, l, kGold, l.quiblaHeadX, static_cast<int>(base + 2 * step),
             Tr("Sun from North:"), Start(l));
        const int sunLineY = static_cast<int>(base + 3 * step);
        Text(surface, l, kBlack, l.quiblaSunX, sunLineY,
             Format("%s : %s",
                    Isolated(l, Digits(in, ShownMinuteOf(in.qibla.localHour).text)).c_str(),
                    Isolated(l, BearingText(s)).c_str()),
             Start(l));
        if (in.exploring) Text(surface, l, kRed, l.quiblaHeadX, sunLineY, "(!)", Start(l));
        surface.SetTextColour(kBlack);
    }
    ScopedFont font(surface, l, 10);
    PaintTitle(surface, l, Tr("Quibla"));
}

void PaintCompute(Surface& surface, const PageLayout& l, const PaintInput& in,
                  const EngineState& engine) {
    {
        ScopedFont font(surface, l, 10);
        PaintTitle(surface, l, Tr("Compute"));
        Text(surface, l, kBlack, l.computeHeading.x, l.computeHeading.y, Tr("Explore at the date:"),
             TextAlign::Centre);
        Fitted(surface, l, l.computeTown.x, l.computeTown.y,
               Format("%s, %s", engine.place.Name.c_str(), engine.place.Country.c_str()),
               TextAlign::Centre);
    }
    {
        ScopedFont font(surface, l, 9);
        for (size_t i = 0; i < kRows; ++i) {
            const int x = l.computeColumnX[i];
            Text(surface, l, kPrayerColours[i], x, l.computeNameY,
                 Tr("prayer, short", kComputeNames[i]), TextAlign::Centre);
            const std::string time =
                Digits(in, ShownPaddedText(engine.schedule, static_cast<int>(i)));
            Fitted(surface, l, CentreWithinPage(surface, l, x, time), l.computeTimeY, time,
                   TextAlign::Centre);
        }
        surface.SetTextColour(kBlack);
        if (HasEstimate(engine.schedule)) {
            Fitted(surface, l, l.computeLegend.x, l.computeLegend.y,
                   EstimateLegendText(HighLatitudeRuleOf(engine)), TextAlign::Centre);
        }
    }
}

void PaintConfiguration(Surface& surface, const PageLayout& l, const PaintInput& in) {
    static constexpr const char* kLabels[] = {
        N_("Country:"), N_("Town:"), N_("Latitude(°):"), N_("Longitude(°):"),
        N_("TimeZN:"),  N_("DST:"),  N_("Convention:"),
    };
    ScopedFont font(surface, l, 10);
    surface.SetTextColour(kBlack);
    for (size_t i = 0; i < l.configLabels.size(); ++i) {
        Fitted(surface, l, l.configLabels[i].x, l.configLabels[i].y, Tr(kLabels[i]), Start(l));
    }
    PaintTitle(surface, l, Tr("Configuration"));
    if (!in.status.empty()) {
        ScopedFont small(surface, l, 9);
        Fitted(surface, l, l.configStatus.x, l.configStatus.y, in.status, TextAlign::Centre);
    }
}

void PaintAbout(Surface& surface, const PageLayout& l) {
    {
        ScopedFont font(surface, l, 10);
        PaintTitle(surface, l, Tr("About"));
        Text(surface, l, kGold, l.aboutVersion.x, l.aboutVersion.y,
             Format("%s %.2f", Tr("Version:"), kProgramVersion), TextAlign::Centre);
        Text(surface, l, kBlack, l.aboutRights.x, l.aboutRights.y,
             Tr("© 2024-2026 the Orvano project"), TextAlign::Centre);
        Fitted(surface, l, l.aboutPublisher.x, l.aboutPublisher.y, Tr("Orvano free software"),
               TextAlign::Centre);
        Fitted(surface, l, l.aboutAuthor.x, l.aboutAuthor.y, Tr("by the Orvano developers"),
               TextAlign::Centre);
    }
    {
        // The gazetteer's licence asks for its source and the licence to be named.
        ScopedFont font(surface, l, 8);
        surface.SetTextColour(kBlack);
        const char* const credits[] = {Tr("Places: GeoNames (geonames.org),"),
                                       Tr("licensed under CC BY 4.0,"),
                                       "creativecommons.org/licenses/by/4.0"};
        for (size_t i = 0; i < l.aboutCredits.size(); ++i) {
            Fitted(surface, l, l.aboutCredits[i].x, l.aboutCredits[i].y, credits[i],
                   TextAlign::Centre);
        }
    }
    {
        ScopedFont font(surface, l, 16);
        Text(surface, l, kTitleColour, l.aboutName.x, l.aboutName.y, "Orvano", TextAlign::Centre);
        surface.SetTextColour(kBlack);
    }
    DrawResourceIcon(surface, resources::kIconProgram, l.aboutRightIcon.x, l.aboutRightIcon.y);
    DrawResourceIcon(surface, resources::kIconSecond, l.aboutLeftIcon.x, l.aboutLeftIcon.y);
}

}  // namespace

int FontHeightForPoints(int dpiY, int points) {
    return -static_cast<int>(std::trunc(dpiY * points / 72.0 + 0.5));
}

Colour PrayerColour(int prayer) {
    return (prayer >= 0 && prayer < kPrayerCount) ? kPrayerColours[static_cast<std::size_t>(prayer)]
                                                  : kBlack;
}

std::string PaddedClockText(double hours) {
    return Format("%-6.5s", ShownMinuteOf(hours).text.c_str());
}

std::string ShownPaddedText(const DaySchedule& day, int prayer) {
    const auto p = static_cast<size_t>(prayer);
    std::string text = Format("%-6.5s", ShownClockText(day.status[p], day.shown[p]).c_str());
    if (day.status[p] == PrayerStatus::Estimated) text.back() = kEstimateMark[0];
    return text;
}

void DrawDirectionArrow(Surface& surface, double bearing, int bitmapId, Colour pen, double cx,
                        double cy) {
    const double R = kCompassRadius;
    const double A = kPi / 2 - bearing;
    const double cosA = std::cos(A);
    const double sinA = std::sin(A);

    DrawResourceBitmap(surface, bitmapId, static_cast<int>(0.9 * cosA * R + cx - 8),
                       static_cast<int>(-0.9 * sinA * R + cy - 8));

    const PenId arrowPen = surface.CreateSolidPen(2, pen);
    const PenId previous = surface.SelectPen(arrowPen);
    // The rose's letters N, E, S and W stand 55 pixels out: an arrow that
    // points at one stops short of it, so its head never hides the letter.
    const double quarter = kPi / 2;
    const double offLetter = std::fabs(bearing - quarter * std::round(bearing / quarter));
    const double reach = offLetter < kLetterClearance ? 0.58 : 0.75;
    const double tipX = reach * cosA * R + cx;
    const double tipY = -reach * sinA * R + cy;
    surface.MoveTo(static_cast<int>(cx), static_cast<int>(cy));
    surface.LineTo(static_cast<int>(tipX), static_cast<int>(tipY));
    surface.LineTo(static_cast<int>(tipX - 8.66 * cosA - 5 * sinA),
                   static_cast<int>(tipY + 8.66 * sinA - 5 * cosA));
    surface.MoveTo(static_cast<int>(tipX), static_cast<int>(tipY));
    surface.LineTo(static_cast<int>(tipX - 8.66 * cosA + 5 * sinA),
                   static_cast<int>(tipY + 8.66 * sinA + 5 * cosA));
    surface.SelectPen(previous);
    if (arrowPen) surface.ReleasePen(arrowPen);
}

void PaintMainWindow(Surface& surface, const PaintInput& input, const EngineState& engine) {
    UseLanguage(input.language);
    surface.SetTransparentBackground();
    const PageLayout layout =
        MakeLayout(input.client, input.dpiX, input.dpiY, IsRightToLeft(input.language));
    switch (input.requestedPage) {
        case 0:
            PaintHome(surface, layout, input, engine);
            break;
        case 1:
            PaintQibla(surface, layout, input);
            break;
        case 2:
            PaintCompute(surface, layout, input, engine);
            break;
        case 3:
            PaintConfiguration(surface, layout, input);
            break;
        case 4:
            PaintAbout(surface, layout);
            break;
        default:
            break;
    }
}

}  // namespace orvano
