#include "engine/schedule.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "astro/angle_text.h"
#include "astro/constants.h"
#include "astro/julian_time.h"
#include "astro/solar_ephemeris.h"
#include "astro/trace.h"
#include "engine/hijri.h"
#include "engine/seasonal.h"
#include "engine/solve_day.h"
#include "engine/solver.h"

namespace orvano {

namespace {

using engine_detail::SolveDay;

// Isha's minutes after Maghrib: the method's Ramadan minutes on a day whose
// daylight is in Ramadan (the day the timetables print them on).
int IshaMinutesAfterMaghrib(const EngineState& state, const Convention& convention) {
    if (!convention.IshaRamadanMinutes) return convention.IshaPlusMinutes;
    const Observation& o = state.observation;
    const std::optional<HijriDate> hijri =
        HijriOfCivilDay(o.year, o.month, o.day, state.hijriAdjust);
    return hijri && hijri->month == kRamadan ? *convention.IshaRamadanMinutes
                                             : convention.IshaPlusMinutes;
}

constexpr const char* kLabels[kPrayerCount] = {"Fajr    ", "Chourouk", "Zuhr    ",
                                               "Asr     ", "Maghrib ", "Isha    "};

const char* DstText(bool dstApplies) {
    return dstApplies ? "DST Applies" : "DST does not apply";
}

double MinutesToHours(double minutes) {
    return minutes * kMinuteInHours;
}

// The month's weekday is formed from the transit instant with the zone added
// as a fraction of a day, which rounds differently from LocalWeekday; the
// calendar has always named its days this way.
int MonthWeekday(double t, double zone) {
    const double x = (zone + 12) * (1.0 / 24) + 36525 * t + 5.0;
    int weekday = static_cast<int>(static_cast<long long>(std::floor(x)) % 7);
    if (weekday < 0) weekday += 7;
    return weekday;
}

void Adjust(const Convention& convention, DaySchedule& day) {
    for (std::size_t i = 0; i < kPrayerCount; ++i) {
        day.adjusted[i] = day.exact[i] + MinutesToHours(convention.AddedMinutes[i]);
    }
    if (convention.ZuhrFixe) day.adjusted[Zuhr] = convention.ZuhrHour;
}

// Minutes before sunrise (Fajr) or after sunset (Isha) set by a method's rule:
// the Moonsighting Committee's seasons, or Fajr's fixed minutes; nothing when
// the prayer keeps its twilight angle.
std::optional<double> OffsetMinutes(const EngineState& state, const Convention& convention,
                                    int prayer) {
    const double latitude = state.place.latitude * kRadToDeg;
    if (convention.MoonsightingSeasons) {
        const Observation& o = state.observation;
        const int days = DaysSinceSolstice(latitude, o.year, o.month, o.day);
        return prayer == Fajr ? SeasonalFajrMinutes(latitude, days)
                              : SeasonalIshaMinutes(latitude, days);
    }
    if (prayer == Fajr) return convention.FajrMinutesBeforeSunrise;
    return std::nullopt;
}

// Fajr or Isha as an exact offset of the solved sunrise or sunset, with its
// result; beyond the seasonal rule's latitude, a failure that the
// high-latitude rule estimates.
bool TakeOffset(const EngineState& state, const Convention& convention, int prayer,
                DaySchedule& day) {
    const std::optional<double> minutes = OffsetMinutes(state, convention, prayer);
    if (!minutes) return false;
    const int from = prayer == Fajr ? Chourouk : Maghrib;
    const double sign = prayer == Fajr ? -1.0 : 1.0;
    day.exact[static_cast<size_t>(prayer)] =
        day.exact[static_cast<size_t>(from)] + sign * MinutesToHours(*minutes);
    day.results.result[static_cast<size_t>(prayer)] = day.results.result[static_cast<size_t>(from)];
    const bool beyond = std::fabs(state.place.latitude * kRadToDeg) > kSeasonalMaxLatitude;
    if (convention.MoonsightingSeasons && beyond &&
        day.results.result[static_cast<size_t>(from)] == kSolveFound) {
        day.results.result[static_cast<size_t>(prayer)] = kSolveAlwaysAbove;
    }
    return true;
}

// The transit, the five solves in their fixed order and the adjusted hours of
// the observation's day; `report` carries the report lines between them,
// `trace` the transit's and the solver's own lines.
void ComputeTimes(EngineState& state, SolveDay& solver, const Convention& convention,
                  DaySchedule& day, const Trace& trace, const Trace& report, int* weekday) {
    MeridianTransit(state.observation, state.place, state.timeZoneInEffect, state.sun, trace);
    solver.BeginDay();
    day.exact[Zuhr] = state.sun.transitHour;
    if (weekday != nullptr) *weekday = MonthWeekday(state.sun.T, state.timeZoneInEffect);
    if (report.on()) {
        report.Printf("Passage au méridien (Zuhr)=%gh ie : %s\n", state.sun.transitHour,
                      HoursToHmsText(state.sun.transitHour).c_str());
        report.Printf("\n");
        report.Printf("Sunrise / Sunset at -%g", convention.SunriseSetAngle);
    }

    day.exact[Chourouk] = 0.0;
    day.results.result[Chourouk] = solver.Solve(state, Chourouk, &day.exact[Chourouk], trace);
    if (report.on()) {
        report.Printf("Chourouk (Sunrise) at %gh ie : %s\n", day.exact[Chourouk],
                      HoursToHmsText(day.exact[Chourouk]).c_str());
        report.Printf("\n");
    }

    day.exact[Maghrib] = 0.0;
    day.results.result[Maghrib] = solver.Solve(state, Maghrib, &day.exact[Maghrib], trace);
    if (report.on()) {
        report.Printf("Maghrib (Sunset) at %gh ie : %s\n", day.exact[Maghrib],
                      HoursToHmsText(day.exact[Maghrib]).c_str());
        report.Printf("\n");
    }

    day.exact[Fajr] = 0.0;
    day.results.result[Fajr] = solver.Solve(state, Fajr, &day.exact[Fajr], trace);
    TakeOffset(state, convention, Fajr, day);
    if (report.on()) {
        report.Printf("Fajr (Twilight) at %gh ie : %s\n", day.exact[Fajr],
                      HoursToHmsText(day.exact[Fajr]).c_str());
        report.Printf("\n");
    }

    day.results.ishaFollowsMaghrib = convention.Isha_is_Maghrib_plus;
    if (convention.Isha_is_Maghrib_plus) {
        const int ishaMinutes = IshaMinutesAfterMaghrib(state, convention);
        day.results.result[Isha] = kSolveFound;
        day.exact[Isha] = static_cast<double>(ishaMinutes) * kMinuteInHours + day.exact[Maghrib];
        if (report.on()) {
            report.Printf("Isha (Maghrib_plus %dmn) at %gh ie : %s\n", ishaMinutes, day.exact[Isha],
                          HoursToHmsText(day.exact[Isha]).c_str());
        }
    } else if (TakeOffset(state, convention, Isha, day)) {
        // Beyond the seasonal rule's latitude Isha fails on its own and is estimated.
        day.results.ishaFollowsMaghrib = day.results.result[Isha] == day.results.result[Maghrib];
    } else {
        day.exact[Isha] = 0.0;
        day.results.result[Isha] = solver.Solve(state, Isha, &day.exact[Isha], trace);
        if (report.on()) {
            report.Printf("Isha (Twilight) at %gh ie : %s\n", day.exact[Isha],
                          HoursToHmsText(day.exact[Isha]).c_str());
        }
    }
    if (report.on()) report.Printf("\n");

    day.results.result[Asr] = solver.Solve(state, Asr, &day.exact[Asr], trace);
    if (report.on()) {
        // The report names the Shafi'i rule whichever rule the convention has.
        report.Printf("Asr (%s) at %gh ie : %s\n", "Shafi", day.exact[Asr],
                      HoursToHmsText(day.exact[Asr]).c_str());
        report.Printf("\n");
    }

    Adjust(convention, day);
    ComputeShownTimes(day, convention, state.highLatitudeRule);
}

void ReportHeader(const EngineState& state, bool dstApplies, const Trace& report) {
    const CurrentPlace& place = state.place;
    report.Printf("_____________________________________________________________\n");
    report.Printf("Lieu : %s, %s\n", PrintableText(place.Country).c_str(),
                  PrintableText(place.Name).c_str());
    report.Printf("latitude=%s   longitude=%s\n", AngleToDmsText(place.latitude).c_str(),
                  AngleToDmsText(place.longitude).c_str());
    // "DST Applies" has no line break: the convention follows on the same line.
    report.Printf("%s", dstApplies ? "DST Applies" : "DST does not apply\n");
    report.Printf("Convention %d\n", place.Convention);
    report.Printf("____ Zuvarad Vevor _____\n");
    report.Printf(" at Date=: %d/%d/%d   TZ=%s\n", state.observation.day, state.observation.month,
                  state.observation.year, ZoneHoursText(state.timeZoneInEffect).c_str());
}

void ReportTimes(const EngineState& state, const Convention& convention, bool dstApplies,
                 const Trace& report) {
    const CurrentPlace& place = state.place;
    const DaySchedule& day = state.schedule;
    report.Printf("_______ Zuvarad Vevor Exactes _______\n");
    for (std::size_t i = 0; i < kPrayerCount; ++i) {
        if (i == Zuhr && convention.ZuhrFixe) {
            report.Printf("Zuhr Fixed = %s\n", HoursToHmsText(day.adjusted[Zuhr]).c_str());
            continue;
        }
        const double added = convention.AddedMinutes[i];
        // A negative number brings its own minus sign.
        report.Printf("%s=%s%s%gmn  %s\n", kLabels[i], HoursToHmsText(day.exact[i]).c_str(),
                      added >= 0 ? " +" : " ", added, HoursToHmsText(day.adjusted[i]).c_str());
    }
    report.Printf("_______ Zuvarad Vevor arrondi _______\n");
    report.Printf("Lieu : %s, %s\n", PrintableText(place.Country).c_str(),
                  PrintableText(place.Name).c_str());
    report.Printf("latitude=%s   longitude=%s Convention %d\n",
                  AngleToDmsText(place.latitude).c_str(), AngleToDmsText(place.longitude).c_str(),
                  place.Convention);
    report.Printf(
        "__ Date : %s %d/%d/%d   %s  TZ (include DST)=%s\n",
        kWeekdayNames[static_cast<std::size_t>(LocalWeekday(state.sun.T, state.timeZoneInEffect))],
        state.observation.day, state.observation.month, state.observation.year, DstText(dstApplies),
        ZoneHoursText(state.timeZoneInEffect).c_str());
    for (std::size_t i = 0; i < kPrayerCount; ++i) {
        report.Printf("%s=%s\n", kLabels[i], HoursToClockText(day.adjusted[i]).c_str());
    }
    report.Printf("_____________________________________\n");
}

}  // namespace

void ComputeDaySchedule(EngineState& state) {
    const Convention& convention = SelectedConvention(state);
    const Trace trace = state.trace();
    const Observation& o = state.observation;
    bool dstApplies = false;
    state.timeZoneInEffect = ZoneInEffect(state.place, o.day, o.month, o.year, &dstApplies);
    if (trace.on()) ReportHeader(state, dstApplies, trace);

    SolveDay solver(state.place, convention);
    ComputeTimes(state, solver, convention, state.schedule, trace, trace, nullptr);
    engine_detail::SetRightAscension(state.sun);

    if (trace.on()) ReportTimes(state, convention, dstApplies, trace);
}

void ComputeMonthSchedule(EngineState& state, MonthSchedule& month, int dayCount) {
    if (dayCount < 1) return;
    // The table has 31 rows; never write past them.
    dayCount = std::min(dayCount, static_cast<int>(month.adjusted.size()));
    const int savedDay = state.observation.day;
    const double savedZone = state.timeZoneInEffect;
    month.dayCount = dayCount;

    const Convention& convention = SelectedConvention(state);
    const Trace trace = state.trace();
    const Trace noReport{};
    SolveDay solver(state.place, convention);
    const ZoneRef zone = PlaceZone(state.place);
    // Each day is computed into a schedule of its own, so the one the
    // application shows is never touched.
    DaySchedule day;
    Observation& o = state.observation;
    for (int d = 1; d <= dayCount; ++d) {
        o.day = d;
        state.timeZoneInEffect = ZoneInEffect(zone, state.place, d, o.month, o.year, nullptr);
        ComputeTimes(state, solver, convention, day, trace, noReport,
                     &month.weekday[static_cast<size_t>(d - 1)]);
        month.adjusted[static_cast<size_t>(d - 1)] = day.adjusted;
        month.status[static_cast<size_t>(d - 1)] = day.status;
        month.shown[static_cast<size_t>(d - 1)] = day.shown;
    }
    engine_detail::SetRightAscension(state.sun);

    o.day = savedDay;
    state.timeZoneInEffect = savedZone;
}

}  // namespace orvano
