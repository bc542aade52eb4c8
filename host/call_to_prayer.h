// The strip's side of a prayer's minute beyond the blink: the adhan the user
// chose, played until it ends or someone stops it, and the session bus
// interface through which panels and other programs follow the prayers.
#pragma once

#include <QDBusContext>
#include <QObject>
#include <functional>
#include <memory>
#include <set>
#include <string>

#include "host/window_system.h"
#include "platform/prayer_calls.h"
#include "platform/qt/adhan_player.h"
#include "platform/sound.h"

namespace orvano {

class NotificationActions;

inline constexpr const char* kTodayBusName = "org.orvano.Orvano.Today";
inline constexpr const char* kTodayBusPath = "/org/orvano/Orvano/Today";

// The next prayer as the bus tells it; an empty key when there is none.
struct BusNextPrayer {
    std::string key;
    std::string time;  // "HH:MM"
    long long secondsLeft = 0;
};

// The object served on the bus: methods Stop and NextPrayer, signal PrayerTime.
class TodayBusObject final : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.orvano.Orvano.Today")

  public:
    TodayBusObject(std::function<void()> stop, std::function<BusNextPrayer()> next,
                   QObject* parent);

  public slots:
    void Stop();
    QString NextPrayer(QString& time, qlonglong& seconds_left);

  signals:
    // NOLINTNEXTLINE(readability-identifier-naming): the bus's own argument names.
    void PrayerTime(const QString& key, const QString& time);

  private:
    std::function<void()> stop_;
    std::function<BusNextPrayer()> next_;
};

class CallToPrayer final : public QObject, public PrayerCalls {
  public:
    struct Words {
        std::string stop;                // the notification's and the menu's button
        std::string cannotPlay;          // "%1" the file, "%2" why
        std::string cannotPlayReminder;  // the same
    };
    // `silent` traces what would play and plays nothing.
    CallToPrayer(Sounds& sounds, TraceFunction trace, bool silent, Words words);
    ~CallToPrayer() override;

    // Serves the bus object and asks for the bus name, without waiting.
    void Publish(std::function<BusNextPrayer()> next);

    void PlayAdhan(const std::string& file, int volume) override;
    // Through the same player, so it stops the same ways; a call to prayer
    // still playing is not cut short for it.
    void PlayReminder(const std::string& file, int volume) override;
    void StopAdhan() override { Stop("next prayer"); }
    void AnnouncePrayer(int prayer, const std::string& time) override;

    bool playing() const { return player_.playing(); }
    void Stop(const std::string& why);
    // A notification shown while the adhan plays: its "stop" action stops it.
    void Offered(unsigned notificationId) { offered_.insert(notificationId); }
    const std::string& stopLabel() const { return words_.stop; }
    // Called whenever the adhan starts or stops (the menu shows its action then).
    void OnPlayingChanged(std::function<void()> changed) { changed_ = std::move(changed); }

  private:
    void Start(bool reminder, const std::string& file, int volume);
    // What plays (or played last), as the trace names it.
    std::string What() const { return reminder_ ? "reminder" : "adhan"; }
    void Failed(const std::string& file, const std::string& reason);
    void Trace(const std::string& line) const {
        if (trace_) trace_(line);
    }

    Sounds& sounds_;
    TraceFunction trace_;
    bool silent_;
    Words words_;
    AdhanPlayer player_;
    bool reminder_ = false;
    TodayBusObject* bus_ = nullptr;
    NotificationActions* actions_ = nullptr;
    std::set<unsigned> offered_;
    std::function<void()> changed_;
};

}  // namespace orvano
