// Implementations that need only the C++ library and the operating system.
#pragma once

#include "platform/clock.h"
#include "platform/console.h"

namespace orvano {

class SystemClock final : public Clock {
  public:
    LocalTime Now() const override;
    std::int64_t Counter() const override;
    std::int64_t CounterFrequency() const override;
};

// Print goes to standard output; Debug to standard error, the nearest thing a
// desktop process has to the debugger's output channel.
class StdConsole final : public Console {
  public:
    void Print(std::string_view text) override;
    void Debug(std::string_view text) override;
};

}  // namespace orvano
