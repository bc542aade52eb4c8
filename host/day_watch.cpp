#include "host/day_watch.h"

#include <QDBusConnection>
#include <QStringList>
#include <QVariantMap>
#include <ctime>

#include "platform/notification_store.h"

namespace orvano {

namespace {

// The zone the C library uses now, re-read from the system.
std::string CurrentZone() {
    tzset();
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return std::string(local.tm_zone != nullptr ? local.tm_zone : "") + " " +
           std::to_string(local.tm_gmtoff);
}

}  // namespace

DayWatch::DayWatch(const Clock& clock, Handler handler)
    : clock_(clock), handler_(std::move(handler)), zone_(CurrentZone()) {}

void DayWatch::ListenToSystem() {
    QDBusConnection bus = QDBusConnection::systemBus();
    if (!bus.isConnected()) return;
    bus.connect("org.freedesktop.login1", "/org/freedesktop/login1",
                "org.freedesktop.login1.Manager", "PrepareForSleep", this,
                SLOT(PrepareForSleep(bool)));
    bus.connect("org.freedesktop.timedate1", "/org/freedesktop/timedate1",
                "org.freedesktop.DBus.Properties", "PropertiesChanged", this,
                SLOT(TimeSettingsChanged(QString, QVariantMap, QStringList)));
}

void DayWatch::Tick() {
    const LocalTime now = clock_.Now();
    const long long wallMs = LocalTimeKey(now);
    const std::int64_t counter = clock_.Counter();
    const std::int64_t frequency = clock_.CounterFrequency();
    if (!started_) {
        started_ = true;
        lastWallMs_ = wallMs;
        lastCounter_ = counter;
        lastMinute_ = now.minute;
        lastDay_ = now.day;
        return;
    }
    const long long counterMs =
        frequency > 0 ? static_cast<long long>((counter - lastCounter_) * 1000 / frequency) : 0;
    const long long drift = (wallMs - lastWallMs_) - counterMs;
    lastWallMs_ = wallMs;
    lastCounter_ = counter;
    if (drift > kJumpToleranceMs || drift < -kJumpToleranceMs) {
        lastMinute_ = now.minute;
        lastDay_ = now.day;
        handler_("clock jump");
        return;
    }
    if (now.minute == lastMinute_) return;
    lastMinute_ = now.minute;
    const bool newDate = now.day != lastDay_;
    lastDay_ = now.day;
    // Once a minute: the zone may have changed without a word on the bus
    // (a new /etc/localtime, a session without timedated).
    if (ZoneChanged()) {
        handler_("time zone");
    } else {
        handler_(newDate ? "new date" : "minute");
    }
}

bool DayWatch::ZoneChanged() {
    std::string zone = CurrentZone();
    if (zone == zone_) return false;
    zone_ = std::move(zone);
    return true;
}

void DayWatch::PrepareForSleep(bool sleeping) {
    if (sleeping) return;
    started_ = false;  // the counter stood still while asleep: start again
    handler_("resume");
}

void DayWatch::TimeSettingsChanged(const QString& interfaceName, const QVariantMap& changed,
                                   const QStringList& invalidated) {
    if (interfaceName != "org.freedesktop.timedate1") return;
    if (!changed.contains("Timezone") && !invalidated.contains("Timezone")) return;
    zone_ = CurrentZone();
    handler_("time zone");
}

}  // namespace orvano
