#include "platform/qt/notify_dbus.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QStringList>
#include <QTimer>
#include <QVariantMap>

#include "platform/app_id.h"

namespace orvano {

void ShowDesktopNotification(const std::string& appName, const std::string& title,
                             const std::string& body, QObject* context,
                             std::function<void(bool shown)> done) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        // Answered from the event loop like any other outcome.
        QTimer::singleShot(0, context, [done = std::move(done)] { done(false); });
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall("org.freedesktop.Notifications",
                                                       "/org/freedesktop/Notifications",
                                                       "org.freedesktop.Notifications", "Notify");
    call << QString::fromStdString(appName) << 0U << QString("appointment-soon")
         << QString::fromStdString(title) << QString::fromStdString(body) << QStringList()
         << QVariantMap{{QStringLiteral("desktop-entry"), QString(kTodayAppId)}} << -1;
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, kDBusTimeoutMs), context);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, context,
                     [done = std::move(done)](QDBusPendingCallWatcher* finished) {
                         done(!finished->isError());
                         finished->deleteLater();
                     });
}

}  // namespace orvano
