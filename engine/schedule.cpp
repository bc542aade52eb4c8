#include "engine/schedule.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "astro/angle_text.h"
#include "astro/civil_date.h"
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

// The method with Isha at its Ramadan minutes, for the days of Ramadan;
// nothing when it sets none.
std::optional<Convention> RamadanMethod(const Convention& method) {
    if (!method.IshaRamadanMinutes) return std::nullopt;
    Convention ramadan = method;
    ramadan.IshaPlusMinutes = *method.IshaRamadanMinutes;
    return ramadan;
}

// `ramadan` on a day whose daylight is in Ramadan (the day the timetables
// print its minutes on), else `method`.
const Convention& MethodOn(const Convention& method, const std::optional<Convention>& ramadan,
                           CivilDate date, int hijriAdjust) {
    if (!ramadan) return method;
    const std::optional<HijriDate> hijri = HijriOfCivilDay(
        static_cast<int>(date.year()), static_cast<int>(static_cast<unsigned>(date.month())),
        static_cast<int>(static_cast<unsigned>(date.day())), hijriAdjust);
    return hijri && hijri->month == kRamadan ? *ramadan : method;
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

// What one day's solves share: the place, the date, the method, the solver,
// where the lines go and the day being made.
struct DayWork {
    const CurrentPlace& place;
    const Observation& observation;  // the date; its clock is not read
    const Convention& method;
    SolveDay& solver;
    const Trace& trace;   // the transit's and the solver's own lines
    const Trace& report;  // the report's lines between them
    Day& day;
};

// The latitude the seasonal formula reads: the solver's radians in degrees,
// which may differ from the town's degrees in the last bit; the seasonal
// hours are held to the bit with this value.
double SeasonalLatitude(const CurrentPlace& place) {
    return place.latitude.Radians() * kRadToDeg;
}

// Minutes before sunrise (Fajr) or after sunset (Isha) set by a method's rule:
// the Moonsighting Committee's seasons, or Fajr's fixed minutes; nothing when
// the prayer keeps its twilight angle.
std::optional<double> OffsetMinutes(const DayWork& w, int prayer) {
    const double latitude = SeasonalLatitude(w.place);
    if (w.method.MoonsightingSeasons) {
        const Observation& o = w.observation;
        const int days = DaysSinceSolstice(latitude, o.year, o.month, o.day);
        return prayer == Fajr ? SeasonalFajrMinutes(latitude, days)
                              : SeasonalIshaMinutes(latitude, days);
    }
    if (prayer == Fajr) return w.method.FajrMinutesBeforeSunrise;
    return std::nullopt;
}

// Fajr or Isha as an exact offset of the solved sunrise or sunset, with its
// result; beyond the seasonal rule's latitude, a failure that the
// high-latitude rule estimates.
bool TakeOffset(const DayWork& w, int prayer) {
    const std::optional<double> minutes = OffsetMinutes(w, prayer);
    if (!minutes) return false;
    DaySchedule& day = w.day.schedule;
    const auto p = static_cast<size_t>(prayer);
    const auto from = static_cast<size_t>(prayer == Fajr ? Chourouk : Maghrib);
    const double sign = prayer == Fajr ? -1.0 : 1.0;
    day.exact[p] = day.exact[from] + sign * MinutesToHours(*minutes);
    day.results.result[p] = day.results.result[from];
    const bool beyond = std::fabs(SeasonalLatitude(w.place)) > kSeasonalMaxLatitude;
    if (w.method.MoonsightingSeasons && beyond && day.results.result[from] == kSolveFound) {
        day.results.result[p] = kSolveAlwaysAbove;
    }
    return true;
}

// The transit: Zuhr's exact hour and the calendar's weekday.
void Transit(const DayWork& w) {
    Day& day = w.day;
    MeridianTransit(w.observation, w.place, day.timeZoneInEffect, day.sun, w.trace);
    w.solver.BeginDay();
    day.schedule.exact[Zuhr] = day.sun.transitHour;
    day.monthWeekday = MonthWeekday(day.sun.T, day.timeZoneInEffect);
    if (w.report.on()) {
        w.report.Printf("Passage au méridien (Zuhr)=%gh ie : %s\n", day.sun.transitHour,
                        HoursToHmsText(day.sun.transitHour).c_str());
        w.report.Printf("\n");
        w.report.Printf("Sunrise / Sunset at -%g", w.method.SunriseSetAngle);
    }
}

// Solves `prayer` into its exact hour and result.
void Solve(const DayWork& w, int prayer) {
    DaySchedule& day = w.day.schedule;
    const auto p = static_cast<size_t>(prayer);
    day.exact[p] = 0.0;
    day.results.result[p] =
        w.solver.Solve(w.observation, w.day.timeZoneInEffect, w.day.sun,
                       static_cast<unsigned int>(prayer), &day.exact[p], w.trace);
}

// "<what> at <hour>", and an empty line when `gap` is set.
void ReportHour(const Trace& report, const char* what, double hour, bool gap) {
    if (!report.on()) return;
    report.Printf("%s at %gh ie : %s\n", what, hour, HoursToHmsText(hour).c_str());
    if (gap) report.Printf("\n");
}

void SolveIsha(const DayWork& w) {
    DaySchedule& day = w.day.schedule;
    day.results.ishaFollowsMaghrib = w.method.Isha_is_Maghrib_plus;
    if (w.method.Isha_is_Maghrib_plus) {
        day.results.result[Isha] = kSolveFound;
        day.exact[Isha] =
            static_cast<double>(w.method.IshaPlusMinutes) * kMinuteInHours + day.exact[Maghrib];
        if (w.report.on()) {
            w.report.Printf("Isha (Maghrib_plus %dmn) at %gh ie : %s\n", w.method.IshaPlusMinutes,
                            day.exact[Isha], HoursToHmsText(day.exact[Isha]).c_str());
        }
    } else if (TakeOffset(w, Isha)) {
        // Beyond the seasonal rule's latitude Isha fails on its own and is estimated.
        day.results.ishaFollowsMaghrib = day.results.result[Isha] == day.results.result[Maghrib];
    } else {
        Solve(w, Isha);
        ReportHour(w.report, "Isha (Twilight)", day.exact[Isha], false);
    }
    if (w.report.on()) w.report.Printf("\n");
}

// The transit, the five solves in their fixed order, the adjusted hours and
// what is shown of them.
void ComputeTimes(const DayWork& w, HighLatitudeRule rule) {
    DaySchedule& day = w.day.schedule;
    Transit(w);
    Solve(w, Chourouk);
    ReportHour(w.report, "Chourouk (Sunrise)", day.exact[Chourouk], true);
    Solve(w, Maghrib);
    ReportHour(w.report, "Maghrib (Sunset)", day.exact[Maghrib], true);
    Solve(w, Fajr);
    TakeOffset(w, Fajr);
    ReportHour(w.report, "Fajr (Twilight)", day.exact[Fajr], true);
    SolveIsha(w);
    Solve(w, Asr);
    // The report names the Shafi'i rule whichever rule the method has.
    ReportHour(w.report, "Asr (Shafi)", day.exact[Asr], true);
    Adjust(w.method, day);
    ComputeShownTimes(day, w.method, rule);
}

void ReportHeader(const CurrentPlace& place, const Observation& o, const Day& day,
                  const Trace& report) {
    report.Printf("_____________________________________________________________\n");
    report.Printf("Lieu : %s, %s\n", PrintableText(place.Country).c_str(),
                  PrintableText(place.Name).c_str());
    report.Printf("latitude=%s   longitude=%s\n", AngleToDmsText(place.latitude.Radians()).c_str(),
                  AngleToDmsText(place.longitude.Radians()).c_str());
    // "DST Applies" has no line break: the convention follows on the same line.
    report.Printf("%s", day.dstApplies ? "DST Applies" : "DST does not apply\n");
    report.Printf("Convention %d\n", place.Convention);
    report.Printf("____ Zuvarad Vevor _____\n");
    report.Printf(" at Date=: %d/%d/%d   TZ=%s\n", o.day, o.month, o.year,
                  ZoneHoursText(day.timeZoneInEffect).c_str());
}

void ReportExact(const Convention& method, const DaySchedule& day, const Trace& report) {
    report.Printf("_______ Zuvarad Vevor Exactes _______\n");
    for (std::size_t i = 0; i < kPrayerCount; ++i) {
        if (i == Zuhr && method.ZuhrFixe) {
            report.Printf("Zuhr Fixed = %s\n", HoursToHmsText(day.adjusted[Zuhr]).c_str());
            continue;
        }
        const double added = method.AddedMinutes[i];
        // A negative number brings its own minus sign.
        report.Printf("%s=%s%s%gmn  %s\n", kLabels[i], HoursToHmsText(day.exact[i]).c_str(),
                      added >= 0 ? " +" : " ", added, HoursToHmsText(day.adjusted[i]).c_str());
    }
}

void ReportTimes(const CurrentPlace& place, const Observation& o, const Convention& method,
                 const Day& day, const Trace& report) {
    ReportExact(method, day.schedule, report);
    report.Printf("_______ Zuvarad Vevor arrondi _______\n");
    report.Printf("Lieu : %s, %s\n", PrintableText(place.Country).c_str(),
                  PrintableText(place.Name).c_str());
    report.Printf("latitude=%s   longitude=%s Convention %d\n",
                  AngleToDmsText(place.latitude.Radians()).c_str(),
                  AngleToDmsText(place.longitude.Radians()).c_str(), place.Convention);
    const int weekday = LocalWeekday(day.sun.T, day.timeZoneInEffect);
    report.Printf("__ Date : %s %d/%d/%d   %s  TZ (include DST)=%s\n",
                  kWeekdayNames[static_cast<std::size_t>(weekday)], o.day, o.month, o.year,
                  DstText(day.dstApplies), ZoneHoursText(day.timeZoneInEffect).c_str());
    for (std::size_t i = 0; i < kPrayerCount; ++i) {
        report.Printf("%s=%s\n", kLabels[i], HoursToClockText(day.schedule.adjusted[i]).c_str());
    }
    report.Printf("_____________________________________\n");
}

}  // namespace

Day ComputeDay(const CurrentPlace& place, ZoneRef zone, CivilDate date, const Convention& method,
               HighLatitudeRule rule, DayReport lines) {
    Observation o;
    SetDate(o, date);
    Day day;
    StringTraceSink kept;
    const Trace trace{lines != DayReport::kNone ? 1 : 0, &kept};
    const Trace report{lines == DayReport::kFull ? 1 : 0, &kept};
    day.timeZoneInEffect = ZoneInEffect(zone, place, o.day, o.month, o.year, &day.dstApplies);
    if (report.on()) ReportHeader(place, o, day, report);
    SolveDay solver(place.latitude, method);
    ComputeTimes(DayWork{place, o, method, solver, trace, report, day}, rule);
    engine_detail::SetRightAscension(day.sun);
    day.report = kept.text();
    return day;
}

HighLatitudeRule HighLatitudeRuleOf(const EngineState& state) {
    return state.highLatitudeRule.value_or(SelectedConvention(state).HighLatitude);
}

void ComputeDaySchedule(EngineState& state) {
    const std::optional<Convention> ramadan = RamadanMethod(SelectedConvention(state));
    const Convention& method =
        MethodOn(SelectedConvention(state), ramadan, DateOf(state.observation), state.hijriAdjust);
    const Trace trace = state.trace();
    const Day day =
        ComputeDay(state.place, PlaceZone(state.place), DateOf(state.observation), method,
                   HighLatitudeRuleOf(state), trace.on() ? DayReport::kFull : DayReport::kNone);
    state.schedule = day.schedule;
    state.sun = day.sun;
    state.timeZoneInEffect = day.timeZoneInEffect;
    if (!trace.on()) return;
    trace.sink->Write(day.report);
    ReportTimes(state.place, state.observation, method, day, trace);
}

NightTimes ComputeNightOfDay(const EngineState& state) {
    const CivilDate date = DateOf(state.observation);
    const CivilDate next = AddDays(date, 1);
    const Convention& method = SelectedConvention(state);
    const ZoneRef zone = PlaceZone(state.place);
    const Day tomorrow =
        ComputeDay(state.place, zone, next, method, HighLatitudeRuleOf(state), DayReport::kNone);
    return ComputeNightTimes({state.schedule, state.timeZoneInEffect},
                             {tomorrow.schedule, tomorrow.timeZoneInEffect}, state.imsakMinutes,
                             NightEndOf(method), {zone, date::sys_days(date)});
}

void ComputeMonthSchedule(const EngineState& state, MonthSchedule& month, int dayCount,
                          const Trace& trace) {
    if (dayCount < 1) return;
    // The table has 31 rows; never write past them.
    dayCount = std::min(dayCount, static_cast<int>(month.adjusted.size()));
    month.dayCount = dayCount;
    const Convention& selected = SelectedConvention(state);
    const std::optional<Convention> ramadan = RamadanMethod(selected);
    const HighLatitudeRule rule = HighLatitudeRuleOf(state);
    const ZoneRef zone = PlaceZone(state.place);
    const CivilDate first = DateOf(state.observation);
    const DayReport lines = trace.on() ? DayReport::kSolver : DayReport::kNone;
    for (int d = 1; d <= dayCount; ++d) {
        const auto row = static_cast<size_t>(d - 1);
        const CivilDate civil = first.year() / first.month() / date::day{static_cast<unsigned>(d)};
        const Day day =
            ComputeDay(state.place, zone, civil,
                       MethodOn(selected, ramadan, civil, state.hijriAdjust), rule, lines);
        if (trace.on()) trace.sink->Write(day.report);
        month.adjusted[row] = day.schedule.adjusted;
        month.weekday[row] = day.monthWeekday;
        month.status[row] = day.schedule.status;
        month.shown[row] = day.schedule.shown;
    }
}

}  // namespace orvano
