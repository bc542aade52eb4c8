// The day's and the month's prayer schedule under the selected convention.
#pragma once

#include "engine/state.h"

namespace orvano {

// Fills state.schedule for state.observation's date and state.place; sets
// state.timeZoneInEffect and state.sun (left as the Asr solve leaves it);
// writes the report to state.traceSink when Verbose is set.
void ComputeDaySchedule(EngineState& state);

// Days 1..dayCount of the observation's month (at most 31; below 1 nothing is
// done). Row d - 1 holds day d's adjusted hours and weekday. On return the
// observation, timeZoneInEffect and state.schedule are as they were on entry;
// state.sun holds what the last day left. Allocates nothing; prints only the
// transit's and the solver's lines, and only when Verbose is set.
void ComputeMonthSchedule(EngineState& state, MonthSchedule& month, int dayCount);

}  // namespace orvano
