// The hour at which the Sun reaches a prayer's altitude.
#pragma once

#include "engine/state.h"

namespace orvano {

// kind is a PrayerIndex other than Zuhr. Returns 0 on success, 1 when the Sun
// stays below the altitude all day, -1 when it stays above; on failure *hour
// keeps the previous pass's value (0.0 if the first pass failed).
int SolveSalatHour(EngineState& state, unsigned int kind, double* hour);

}  // namespace orvano
