#include "platform/qt/notify_dbus.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QStringList>
#include <QTimer>
#include <QVariantMap>

#include "platform/app_id.h"

namespace orvano {

namespace {

constexpr const char* kService = "org.freedesktop.Notifications";
constexpr const char* kPath = "/org/freedesktop/Notifications";

}  // namespace

void ShowDesktopNotification(const DesktopNotification& notification, QObject* context,
                             std::function<void(bool shown, unsigned id)> done) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        // Answered from the event loop like any other outcome.
        QTimer::singleShot(0, context, [done = std::move(done)] { done(false, 0); });
        return;
    }
    QStringList actions;
    for (const auto& [key, label] : notification.actions) {
        actions << QString::fromStdString(key) << QString::fromStdString(label);
    }
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kService, "Notify");
    call << QString::fromStdString(notification.appName) << 0U << QString(kAppId)
         << QString::fromStdString(notification.title) << QString::fromStdString(notification.body)
         << actions << QVariantMap{{QStringLiteral("desktop-entry"), QString(kTodayAppId)}} << -1;
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, kDBusTimeoutMs), context);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, context,
                     [done = std::move(done)](QDBusPendingCallWatcher* finished) {
                         const QDBusPendingReply<uint> reply = *finished;
                         done(!reply.isError(), reply.isError() ? 0U : reply.value());
                         finished->deleteLater();
                     });
}

NotificationActions::NotificationActions(Invoked invoked, QObject* parent)
    : QObject(parent), invoked_(std::move(invoked)) {
    // Any sender: the server may start, stop and start again under new names.
    listening_ = QDBusConnection::sessionBus().connect(QString(), kPath, kService, "ActionInvoked",
                                                       this, SLOT(ActionInvoked(uint, QString)));
}

void NotificationActions::ActionInvoked(uint id, const QString& key) {
    if (invoked_) invoked_(id, key.toStdString());
}

}  // namespace orvano
