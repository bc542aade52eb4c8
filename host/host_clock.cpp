#include "host/host_clock.h"

#include <QDateTime>

#include "platform/notification_store.h"

namespace orvano {

LocalTime StartedClock::Now() const {
    LocalTime t = start_;
    const long long ms = t.milliseconds + timer_.elapsed() + offsetSeconds_ * 1000;
    const long long seconds = ms >= 0 ? ms / 1000 : -((-ms + 999) / 1000);
    t.second += static_cast<int>(seconds);
    t.milliseconds = static_cast<int>(ms - seconds * 1000);
    t = NormaliseLocalTime(t);
    // Dates are written with four-digit years everywhere: rather than roll
    // over into a year no text can hold, the clock stops at the last second.
    if (t.year > kLastClockYear)
        return NormaliseLocalTime({kLastClockYear, 12, 0, 31, 23, 59, 59, 999});
    return t;
}

bool ParseLocalTime(const QString& text, LocalTime& out) {
    const QDateTime t = QDateTime::fromString(text, "yyyy-MM-dd HH:mm:ss");
    if (!t.isValid()) return false;
    out = {t.date().year(), t.date().month(),  t.date().dayOfWeek() % 7, t.date().day(),
           t.time().hour(), t.time().minute(), t.time().second(),        0};
    return true;
}

}  // namespace orvano
