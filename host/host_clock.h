// The host's clocks: the system's, or one started at a given local time for
// tests and screenshots, which a test may move forward or back during a run.
#pragma once

#include <QElapsedTimer>
#include <QString>
#include <memory>

#include "platform/clock.h"

namespace orvano {

// The started clock runs until the last second of this year and stops there.
inline constexpr int kLastClockYear = 9999;

class StartedClock final : public Clock {
  public:
    explicit StartedClock(LocalTime start) : start_(start) { timer_.start(); }
    LocalTime Now() const override;
    std::int64_t Counter() const override { return timer_.nsecsElapsed(); }
    std::int64_t CounterFrequency() const override { return 1000000000; }
    // Moves the wall clock, not the counter: what a suspend or a time change looks like.
    void Jump(int seconds) { offsetSeconds_ += seconds; }

  private:
    LocalTime start_;
    QElapsedTimer timer_;
    long long offsetSeconds_ = 0;
};

// "YYYY-MM-DD HH:MM:SS"; false when the text is not a valid local time.
bool ParseLocalTime(const QString& text, LocalTime& out);

}  // namespace orvano
