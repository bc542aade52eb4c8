// The hour at which the Sun reaches a prayer's altitude.
#pragma once

#include "engine/state.h"

namespace orvano {

inline constexpr int kSolveFound = 0;
inline constexpr int kSolveAlwaysBelow = 1;
inline constexpr int kSolveAlwaysAbove = -1;
// A kind the solver does not handle (Zuhr is the transit itself, and anything
// outside the six prayers): *hour is 0.0 and the Sun is not evaluated.
inline constexpr int kSolveBadKind = 2;

// kind is a PrayerIndex other than Zuhr. Needs state.sun.transitHour from
// MeridianTransit for the same date, place and zone. Returns kSolveFound,
// kSolveAlwaysBelow when the Sun stays below the altitude all day, or
// kSolveAlwaysAbove when it stays above; on failure *hour keeps the previous
// pass's value (0.0 if the first pass failed). Writes T, L, RA, delta, h and
// tau of state.sun, and the trace lines when Verbose is set.
int SolveSalatHour(EngineState& state, unsigned int kind, double* hour);

// The selected convention of the place; an index outside the table falls back
// to the first convention rather than reading past it.
const Convention& SelectedConvention(const EngineState& state);

}  // namespace orvano
