// The day's and the month's prayer schedule under the selected convention.
#pragma once

#include "engine/state.h"

namespace orvano {

// Fills state.schedule for state.observation's date and state.place; sets
// state.timeZoneInEffect and state.sun; writes the report when Verbose is set.
void ComputeDaySchedule(EngineState& state);

// Days 1..dayCount of the observation's month. On return the observation,
// timeZoneInEffect and state.schedule are as they were on entry.
void ComputeMonthSchedule(EngineState& state, MonthSchedule& month, int dayCount);

}  // namespace orvano
