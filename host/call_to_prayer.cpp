#include "host/call_to_prayer.h"

#include <QDBusConnection>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

#include "platform/qt/notify_dbus.h"
#include "today/item_logic.h"

namespace orvano {

TodayBusObject::TodayBusObject(std::function<void()> stop, std::function<BusNextPrayer()> next,
                               QObject* parent)
    : QObject(parent), stop_(std::move(stop)), next_(std::move(next)) {}

void TodayBusObject::Stop() {
    stop_();
}

QString TodayBusObject::NextPrayer(QString& time, qlonglong& seconds_left) {
    const BusNextPrayer next = next_();
    if (next.key.empty() && calledFromDBus()) {
        sendErrorReply(QStringLiteral("org.orvano.Orvano.Today.Error.NoSchedule"),
                       QStringLiteral("The strip has no prayer times yet"));
        return {};
    }
    time = QString::fromStdString(next.time);
    seconds_left = next.secondsLeft;
    return QString::fromStdString(next.key);
}

CallToPrayer::CallToPrayer(Sounds& sounds, TraceFunction trace, bool silent, Words words)
    : sounds_(sounds),
      trace_(std::move(trace)),
      silent_(silent),
      words_(std::move(words)),
      player_([this](const std::string& file, const std::string& reason) { Failed(file, reason); },
              [this] {
                  Trace(What() + " ended");
                  if (changed_) changed_();
              }) {}

CallToPrayer::~CallToPrayer() = default;

void CallToPrayer::Publish(std::function<BusNextPrayer()> next) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    // Without a session bus there is no one to serve.
    if (!bus.isConnected()) return;
    bus_ = new TodayBusObject([this] { Stop("dbus"); }, std::move(next), this);
    bus.registerObject(kTodayBusPath, bus_,
                       QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals);
    actions_ = new NotificationActions(
        [this](unsigned id, const std::string& key) {
            if (key == "stop" && offered_.count(id) != 0) Stop("notification");
        },
        this);
    // Asked without waiting, as every call on the bus (4: do not queue).
    QDBusMessage call = QDBusMessage::createMethodCall(
        "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", "RequestName");
    call << QString(kTodayBusName) << 4U;
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, kDBusTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this](QDBusPendingCallWatcher* finished) {
                const QDBusPendingReply<uint> reply = *finished;
                // 1: the primary owner; anything else means another program has it.
                Trace(!reply.isError() && reply.value() == 1U
                          ? std::string("bus name owned")
                          : "bus name not owned: " + reply.error().message().toStdString());
                finished->deleteLater();
            });
}

void CallToPrayer::PlayAdhan(const std::string& file, int volume) {
    Start(false, file, volume);
}

void CallToPrayer::PlayReminder(const std::string& file, int volume) {
    if (player_.playing() && !reminder_) {
        Trace("reminder " + file + " not played: the adhan plays");
        return;
    }
    Start(true, file, volume);
}

void CallToPrayer::Start(bool reminder, const std::string& file, int volume) {
    reminder_ = reminder;
    Trace(What() + " " + file + " volume " + std::to_string(volume));
    if (silent_) return;
    player_.Play(file, volume);
    if (player_.playing() && changed_) changed_();
}

void CallToPrayer::Stop(const std::string& why) {
    if (!player_.playing()) return;
    player_.Stop();
    offered_.clear();
    Trace(What() + " stopped (" + why + ")");
    if (changed_) changed_();
}

void CallToPrayer::AnnouncePrayer(int prayer, const std::string& time) {
    Trace(std::string("prayer-time ") + PrayerKey(prayer) + " " + time);
    if (bus_ != nullptr) {
        emit bus_->PrayerTime(QString(PrayerKey(prayer)), QString::fromStdString(time));
    }
}

// One notification says what went wrong; the desktop's sounds ring instead
// of an adhan, nothing instead of a reminder's sound.
void CallToPrayer::Failed(const std::string& file, const std::string& reason) {
    Trace(What() + " failed " + file + ": " + reason);
    const QString body =
        QString::fromStdString(reminder_ ? words_.cannotPlayReminder : words_.cannotPlay)
            .arg(QString::fromStdString(file), QString::fromStdString(reason));
    ShowDesktopNotification(
        {"Orvano", "Orvano", body.toStdString(), {}}, this,
        [this, what = What()](bool shown, unsigned) {
            Trace(std::string("notify ") + (shown ? "shown " : "no-server ") + what + " failure");
        });
    if (!reminder_) {
        sounds_.PlayNamed("SystemStart");
        sounds_.PlayNamed("Notify");
    }
    if (changed_) changed_();
}

}  // namespace orvano
