// A plain, unshared transcription of the solver and the day's schedule: every
// solve evaluates the Sun on its own and forms every sine again. The engine's
// shared-work path must give exactly the same doubles.
#pragma once

#include <vector>

#include "engine/state.h"

namespace orvano::reference {

// Also returns the hour found by each pass that found one, in order.
int SolveSalatHour(EngineState& state, unsigned int kind, double* hour,
                   std::vector<double>* passHours = nullptr);

// Fills state.schedule and state.sun as the day's schedule does, without report.
void ComputeDaySchedule(EngineState& state);

}  // namespace orvano::reference
