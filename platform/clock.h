// The local date and time. Tests set it; the real one reads the system clock.
#pragma once

#include <cstdint>

#include "platform/geometry.h"

namespace orvano {

class Clock {
  public:
    virtual ~Clock() = default;
    // One reading of the local civil date and time.
    virtual LocalTime Now() const = 0;
    // A monotonic counter and its ticks per second, for timing only.
    virtual std::int64_t Counter() const = 0;
    virtual std::int64_t CounterFrequency() const = 0;
};

}  // namespace orvano
