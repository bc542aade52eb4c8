#include "app/paint.h"

#include <array>
#include <cmath>

#include "astro/angle_text.h"
#include "astro/constants.h"
#include "astro/julian_time.h"
#include "astro/sun_report.h"
#include "astro/trace.h"
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

constexpr std::array<const char*, kPrayerCount> kHomeNames = {"Fajr", "Chourouk", "Zuhr",
                                                              "Asr",  "Maghrib",  "Isha"};
constexpr std::array<const char*, kPrayerCount> kComputeNames = {"Fajr", "Churuk",  "Zuhr",
                                                                 "Asr",  "Maghrib", "Isha"};

// The Compute page's columns as fractions of the centre abscissa.
constexpr std::array<double, kPrayerCount> kColumnFactors = {
    0.19999999999999998, 0.5333333333333333, 0.8666666666666667, 1.2,
    1.5333333333333332,  1.8666666666666665};

constexpr double kCompassRadius = 75;  // pixels at every resolution

const char* Pick(bool french, const char* english, const char* frenchText) {
    return french ? frenchText : english;
}

// One page's paint: the client geometry and the 96-DPI scale.
struct Layout {
    int W;   // client width
    int H;   // client height
    int B;   // client bottom
    int cx;  // horizontal centre, (right - left) / 2
    int dpiX;
    int dpiY;
    int X(int v) const { return ScaleLength(v, dpiX); }
    int Y(int v) const { return ScaleLength(v, dpiY); }
};

// A font made for one group of texts: selected on construction, the previous
// font selected back and this one released on destruction. A font that cannot
// be made leaves the current font in place.
class ScopedFont {
  public:
    ScopedFont(Surface& surface, int points) : surface_(surface) {
        font_ = surface.CreateFont(
            FontSpec{"ARIAL", FontHeightForPoints(surface.LogicalDpiY(), points), 700});
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

void Text(Surface& surface, Colour colour, int x, int y, const std::string& text, TextAlign align) {
    surface.SetTextColour(colour);
    surface.DrawText(x, y, text, align);
}

const char* WeekdayName(int index) {
    return (index >= 0 && index < 7) ? kWeekdayNames[index] : "";
}

const char* MonthName(int month) {
    return (month >= 1 && month <= 12) ? kMonthNames[month] : "";
}

void PaintTitle(Surface& surface, const Layout& l, const char* title) {
    ScopedFont font(surface, 10);
    Text(surface, kTitleColour, l.cx, l.B - l.Y(50), title, TextAlign::Centre);
}

void PaintHome(Surface& surface, const Layout& l, const PaintInput& in, const EngineState& engine) {
    const bool french = in.Lang == 2;
    {
        ScopedFont font(surface, 10);
        Text(surface, kTitleColour, l.cx, l.B - l.Y(50), Pick(french, "Home", "Accueil"),
             TextAlign::Centre);
        Text(surface, kBlack, l.cx, l.Y(70) - 3 * l.Y(20),
             Format("%s, %s", engine.place.Name.c_str(), engine.place.Country.c_str()),
             TextAlign::Centre);
        const Observation& o = engine.observation;
        const int weekday = LocalWeekday(engine.sun.T, engine.timeZoneInEffect);
        const int dateY = l.Y(70) - 2 * l.Y(20);
        surface.DrawText(
            l.cx, dateY,
            Format("%s  %d  %s  %d", WeekdayName(weekday), o.day, MonthName(o.month), o.year),
            TextAlign::Centre);
        if (in.exploring) {
            Text(surface, kRed, static_cast<int>(l.W * 0.9), dateY, "(!)", TextAlign::Centre);
        }
        surface.SetTextColour(kBlack);
    }
    {
        ScopedFont font(surface, 14);
        surface.DrawText(l.cx, l.Y(70) - l.Y(24),
                         Format("%2d:%02d:%02d", in.now.hour, in.now.minute, in.now.second),
                         TextAlign::Centre);
        for (int i = 0; i < kPrayerCount; ++i) {
            Text(surface, kPrayerColours[i], l.cx, l.Y(66) + i * l.Y(24),
                 PaddedClockText(engine.schedule.adjusted[i]), TextAlign::Centre);
        }
    }
    {
        ScopedFont font(surface, 10);
        for (int i = 0; i < kPrayerCount; ++i) {
            Text(surface, kPrayerColours[i], static_cast<int>(l.W * 0.1), l.Y(70) + i * l.Y(24),
                 kHomeNames[i], TextAlign::Left);
        }
    }
    for (int i = 0; i < kPrayerCount; ++i) {
        DrawResourceBitmap(surface, resources::kBitmapFirstPrayerName + i,
                           static_cast<int>(l.W * 0.75), l.Y(70) + i * l.Y(24));
    }
    DrawResourceIcon(surface, resources::kIconProgram, static_cast<int>(l.W * 0.5 - l.X(16)),
                     l.B - l.Y(100));
}

void PaintQuibla(Surface& surface, const Layout& l, const PaintInput& in, EngineState& engine) {
    const bool french = in.Lang == 2;
    const double q = QiblaBearing(engine.place.latitude, engine.place.longitude);
    ComputeSunPosition(engine.observation, engine.place, engine.timeZoneInEffect, engine.sun,
                       engine.trace());
    const double s = engine.sun.az - kPi;

    const double cx = l.cx;
    const double cy = l.H * 0.1 + 75.0;
    DrawResourceBitmap(surface, resources::kBitmapCompassRose,
                       static_cast<int>(cx - kCompassRadius),
                       static_cast<int>(cy - kCompassRadius));
    DrawDirectionArrow(surface, s, resources::kBitmapSun, kSunPen, cx, cy);
    DrawDirectionArrow(surface, q, resources::kBitmapKaaba, kQiblaPen, cx, cy);

    {
        ScopedFont font(surface, 11);
        const double base = l.H * 0.11 + 150.0;
        const int step = l.Y(20);
        Text(surface, kBlack, l.X(5), static_cast<int>(base - step),
             Pick(french, "Quibla:", "Quibla :"), TextAlign::Left);
        surface.DrawText(l.X(10), static_cast<int>(base),
                         Format("%s %s", Pick(french, "from North:", "à partir du Nord :"),
                                AngleToDmsText(q).c_str()),
                         TextAlign::Left);
        surface.DrawText(l.X(10), static_cast<int>(base + step),
                         Format("%s %s", Pick(french, "from Sun:", "à partir du Soleil :"),
                                AngleToDmsText(q - s).c_str()),
                         TextAlign::Left);
        Text(surface, kGold, l.X(5), static_cast<int>(base + 2 * step),
             Pick(french, "Sun from North:", "Soleil à partir du Nord à "), TextAlign::Left);
        double localHour = engine.sun.utHour + engine.timeZoneInEffect;
        if (localHour < 0) localHour += 24;
        if (localHour >= 24) localHour -= 24;
        const int sunLineY = static_cast<int>(base + 3 * step);
        Text(surface, kBlack, l.X(30), sunLineY,
             Format("%s : %s", HoursToClockText(localHour).c_str(), AngleToDmsText(s).c_str()),
             TextAlign::Left);
        if (in.exploring) Text(surface, kRed, l.X(5), sunLineY, "(!)", TextAlign::Left);
        surface.SetTextColour(kBlack);
    }
    PaintTitle(surface, l, "Quibla");
}

void PaintCompute(Surface& surface, const Layout& l, const PaintInput& in, EngineState& engine) {
    const bool french = in.Lang == 2;
    Observation& o = engine.observation;
    if (in.pickedDate) {
        o.day = in.pickedDate->day;
        o.month = in.pickedDate->month;
        o.year = in.pickedDate->year;
    }
    if (in.pickedTime) {
        o.hour = in.pickedTime->hour;
        o.minute = in.pickedTime->minute;
        o.second = in.pickedTime->second;
    }
    if (in.recompute) in.recompute();

    {
        ScopedFont font(surface, 10);
        Text(surface, kTitleColour, l.cx, l.B - l.Y(50), Pick(french, "Compute", "Calculs"),
             TextAlign::Centre);
        Text(surface, kBlack, l.cx, l.Y(10),
             Pick(french, "Explore at the date:", "Exploration à la date :"), TextAlign::Centre);
        surface.DrawText(l.cx, l.Y(90),
                         Format("%s, %s", engine.place.Name.c_str(), engine.place.Country.c_str()),
                         TextAlign::Centre);
    }
    {
        ScopedFont font(surface, 9);
        for (int i = 0; i < kPrayerCount; ++i) {
            const int x = static_cast<int>(l.cx * kColumnFactors[i]);
            Text(surface, kPrayerColours[i], x, l.Y(200), kComputeNames[i], TextAlign::Centre);
            surface.DrawText(x, l.Y(220), PaddedClockText(engine.schedule.adjusted[i]),
                             TextAlign::Centre);
        }
        surface.SetTextColour(kBlack);
    }
}

void PaintConfiguration(Surface& surface, const Layout& l, const PaintInput& in) {
    const bool french = in.Lang == 2;
    const int leftX = static_cast<int>(l.W * 0.25 - l.X(50));
    const int rightX = static_cast<int>(l.W * 0.75 - l.X(50));
    struct Label {
        const char* english;
        const char* french;
        bool right;
        int y;
    };
    static constexpr Label kLabels[] = {
        {"Country:", "Pays :", false, 40},
        {"Town:", "Ville :", true, 40},
        {"Latitude(°):", "Latitude(°) :", false, 80},
        {"Longitude(°):", "Longitude(°) :", true, 80},
        {"TimeZN:", "TimeZN :", false, 120},
        {"DST:", "DST :", true, 120},
        {"Convention:", "Convention :", false, 150},
    };
    ScopedFont font(surface, 10);
    surface.SetTextColour(kBlack);
    for (const Label& label : kLabels) {
        surface.DrawText(label.right ? rightX : leftX, l.Y(label.y),
                         Pick(french, label.english, label.french), TextAlign::Left);
    }
    Text(surface, kTitleColour, l.cx, l.B - l.Y(50), "Configuration", TextAlign::Centre);
}

void PaintAbout(Surface& surface, const Layout& l, const PaintInput& in) {
    const bool french = in.Lang == 2;
    {
        ScopedFont font(surface, 10);
        Text(surface, kTitleColour, l.cx, l.B - l.Y(50), Pick(french, "About", "A propos"),
             TextAlign::Centre);
        Text(surface, kGold, l.cx, l.Y(120),
             Format("%s %.2f", Pick(french, "Version:", "Version :"), kProgramVersion),
             TextAlign::Centre);
        Text(surface, kBlack, l.cx, l.Y(60),
             Pick(french, "© 2024-2026 the Orvano project", "© 2024-2026 le projet Orvano"),
             TextAlign::Centre);
        surface.DrawText(l.cx, l.Y(80), "Orvano free software", TextAlign::Centre);
        surface.DrawText(l.cx, l.Y(100),
                         Pick(french, "by the Orvano developers", "par les développeurs d'Orvano"),
                         TextAlign::Centre);
    }
    {
        ScopedFont font(surface, 16);
        Text(surface, kTitleColour, l.cx, l.Y(30), "Orvano", TextAlign::Centre);
        surface.SetTextColour(kBlack);
    }
    DrawResourceIcon(surface, resources::kIconProgram, static_cast<int>(1.7 * l.cx - l.X(16)),
                     l.Y(20));
    DrawResourceIcon(surface, resources::kIconSecond, static_cast<int>(0.3 * l.cx - l.X(16)),
                     l.Y(20));
}

}  // namespace

int FontHeightForPoints(int dpiY, int points) {
    return -static_cast<int>(dpiY * points / 72.0 + 0.5);
}

Colour PrayerColour(int prayer) {
    return (prayer >= 0 && prayer < kPrayerCount) ? kPrayerColours[prayer] : kBlack;
}

std::string PaddedClockText(double hours) {
    return Format("%-6.5s", HoursToClockText(hours).c_str());
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
    const double tipX = 0.75 * cosA * R + cx;
    const double tipY = -0.75 * sinA * R + cy;
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

void PaintMainWindow(Surface& surface, const PaintInput& input, EngineState& engine) {
    surface.SetTransparentBackground();
    const Rect& c = input.client;
    const Layout layout{c.right - c.left,       c.bottom - c.top, c.bottom,
                        (c.right - c.left) / 2, input.dpiX,       input.dpiY};
    switch (input.requestedPage) {
        case 0:
            PaintHome(surface, layout, input, engine);
            break;
        case 1:
            PaintQuibla(surface, layout, input, engine);
            break;
        case 2:
            PaintCompute(surface, layout, input, engine);
            break;
        case 3:
            PaintConfiguration(surface, layout, input);
            break;
        case 4:
            PaintAbout(surface, layout, input);
            break;
        default:
            break;
    }
}

}  // namespace orvano
