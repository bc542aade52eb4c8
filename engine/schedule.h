// The day's and the month's prayer schedule under the selected convention.
#pragma once

#include <string>

#include "astro/civil_date.h"
#include "astro/zone.h"
#include "engine/state.h"

namespace orvano {

// One day as a value: what the schedules, the pages, the strip, the command
// line and the calendar show of it, and what its report needs.
struct Day {
    DaySchedule schedule;
    SunState sun;  // as the Asr solve leaves it, with the right ascension of its L
    double timeZoneInEffect = 0.0;
    bool dstApplies = false;
    int monthWeekday = 0;  // the calendar's weekday (0 = Monday), formed from the transit
    // The report's lines as far as the solves go (see DayReport); the caller
    // writes them, and the closing lines after them, where its trace goes.
    std::string report;
};

// How much of the report a day keeps: none, the transit's and the solver's
// lines (a month's days), or those with the heading and the lines between
// them (a day's full report).
enum class DayReport { kNone, kSolver, kFull };

// The day `date` at `place` (in `zone`, nullptr for the whole-hour model)
// under `method`, failed twilights shown by `rule`. Reads nothing else,
// writes nothing but the value it returns.
Day ComputeDay(const CurrentPlace& place, ZoneRef zone, CivilDate date, const Convention& method,
               HighLatitudeRule rule, DayReport lines);

// The high-latitude rule in force: the user's, else the selected method's.
HighLatitudeRule HighLatitudeRuleOf(const EngineState& state);

// ComputeDay for state.observation's date, the place and its selected
// convention, kept in state.schedule, state.sun and state.timeZoneInEffect
// (the records the report, the pages and the plug-in read); the full report
// goes to state.traceSink when Verbose is set.
void ComputeDaySchedule(EngineState& state);

// The night times of state.schedule's day (state.observation's date), its
// night ending on the next day's Fajr or sunrise as the method says, under
// state.imsakMinutes.
NightTimes ComputeNightOfDay(const EngineState& state);

// ComputeDay for days 1..dayCount of the observation's month (at most 31;
// below 1 nothing is done). Row d - 1 holds day d's adjusted hours and
// weekday. Allocates nothing. Its only lines, the transit's and the solver's,
// go where `trace` says, whatever state.tables.Verbose holds: by default
// nowhere.
void ComputeMonthSchedule(const EngineState& state, MonthSchedule& month, int dayCount,
                          const Trace& trace = Trace{});

}  // namespace orvano
