// Notices when the strip must draw the day again: a new minute (so a new date
// is never missed), a jump of the wall clock (a resume from suspend, or the
// clock set by hand), the machine waking up, and a change of the desktop's
// time zone. Driven by the strip's own periodic tick, so it adds no wake-ups.
#pragma once

#include <QObject>
#include <functional>
#include <string>

#include "platform/clock.h"

namespace orvano {

class DayWatch final : public QObject {
    Q_OBJECT
  public:
    using Handler = std::function<void(const std::string& reason)>;
    // A wall-clock step of more than this many milliseconds beyond the counter's
    // is a jump.
    static constexpr long long kJumpToleranceMs = 10000;

    DayWatch(const Clock& clock, Handler handler);
    // Listens on the system bus for sleep and time-zone changes (where there is one).
    void ListenToSystem();
    // Called at every tick of the strip.
    void Tick();

  private slots:
    void PrepareForSleep(bool sleeping);
    void TimeSettingsChanged(const QString& interfaceName, const QVariantMap& changed,
                             const QStringList& invalidated);

  private:
    bool ZoneChanged();

    const Clock& clock_;
    Handler handler_;
    bool started_ = false;
    long long lastWallMs_ = 0;
    std::int64_t lastCounter_ = 0;
    int lastMinute_ = -1;
    int lastDay_ = -1;
    std::string zone_;
};

}  // namespace orvano
