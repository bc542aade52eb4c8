// What the main window paints on its five pages besides its child controls:
// titles, the town and date, the clock, the six times with their names and
// Arabic name images, the Qibla compass, and the About credits.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "app/layout.h"
#include "engine/hijri.h"
#include "engine/iqama.h"
#include "engine/state.h"
#include "language/digits.h"
#include "language/languages.h"
#include "platform/geometry.h"
#include "platform/screen.h"
#include "platform/surface.h"
#include "platform/text_fit.h"

namespace orvano {

// The program's version, written with two decimals on the About page and in
// the update address.
inline constexpr double kProgramVersion = 1.6;

// What the Qibla page shows, made before it is painted: the Qibla's and the
// Sun's bearings (radians clockwise from North) and the local hour the Sun's
// position is for.
struct QiblaView {
    double qibla = 0.0;
    double sun = 0.0;
    double localHour = 0.0;
};

// Readies what `page` paints, before it is painted (when the page is shown,
// the pickers change or the day is computed again): the Compute page takes
// the pickers' date and time as the observation (a missing picker leaves its
// half) and `recompute` makes the day for it; the Qibla page gets the Sun's
// position at the observation, whose report goes to the engine's trace. The
// Qibla page's values are returned (zero for the other pages).
QiblaView PreparePage(int page, const std::optional<LocalTime>& pickedDate,
                      const std::optional<LocalTime>& pickedTime,
                      const std::function<void()>& recompute, EngineState& engine);

// What the Home page shows beyond the day's six times, made when the day is
// computed: the day's Hijri dates (the Hijri line and Maghrib's name in
// Ramadan) and, when the user shows them, the night times.
struct HomeView {
    HijriDay hijri;
    std::optional<NightTimes> night;
    // The iqama beside each time when the user set one; Jumu'ah in Zuhr's
    // place on a Friday that has it.
    DayAsides asides;
};

// The Home page's values for the engine's day under its Hijri adjustment.
HomeView PrepareHome(const EngineState& engine, bool showNight, const PrayerExtras& extras = {});

// Everything a paint reads besides the engine's records.
struct PaintInput {
    Rect client;  // the window's client rectangle
    // The cached screen resolution that layout lengths are scaled with.
    int dpiX = 96;
    int dpiY = 96;
    std::string language = kDefaultLanguage;  // the texts' language, a code
    DigitStyle digits = DigitStyle::Latin;    // times' and dates' digits ([Language] Digits)
    int requestedPage = 0;  // the page to draw, 0 to 4; nothing is drawn for others
    bool exploring = false;
    LocalTime now;  // the device's clock, read for this paint (the Home page's clock)
    // The Configuration page's confirmation of what Save or Modify did ("": none).
    std::string status;
    QiblaView qibla;  // PreparePage's values for the Qibla page
    HomeView home;    // PrepareHome's values for the Home page
};

// Paints requestedPage from the records and the input as PreparePage left
// them; every object it makes is released before it returns.
void PaintMainWindow(Surface& surface, const PaintInput& input, const EngineState& engine);

// One compass arrow from (cx, cy) toward `bearing` (radians clockwise from
// North), with the bitmap `bitmapId` at its far end, drawn with a 2-pixel pen.
void DrawDirectionArrow(Surface& surface, double bearing, int bitmapId, Colour pen, double cx,
                        double cy);

// -trunc(dpi * points / 72 + 0.5): the character height of a font of `points`.
int FontHeightForPoints(int dpiY, int points);

// The colours of the six times, in prayer order.
Colour PrayerColour(int prayer);

// "%-6.5s" of the clock text of an hour: five characters and a space.
std::string PaddedClockText(double hours);

// A prayer's time as the pages show it: "%-6.5s" of its shown text ("--:--"
// when it has none), the estimate's mark in place of the trailing space.
std::string ShownPaddedText(const DaySchedule& day, int prayer);

}  // namespace orvano
