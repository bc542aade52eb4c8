#include "platform/qt/notify_dbus.h"

#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusReply>
#include <QStringList>
#include <QVariantMap>

#include "platform/app_id.h"

namespace orvano {

bool ShowDesktopNotification(const std::string& appName, const std::string& title,
                             const std::string& body) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) return false;
    QDBusInterface service("org.freedesktop.Notifications", "/org/freedesktop/Notifications",
                           "org.freedesktop.Notifications", bus);
    if (!service.isValid()) return false;
    const QString text = QString::fromStdString(body);
    QDBusReply<unsigned> reply =
        service.call("Notify", QString::fromStdString(appName), 0u, QString("appointment-soon"),
                     QString::fromStdString(title), text, QStringList(),
                     QVariantMap{{QStringLiteral("desktop-entry"), QString(kTodayAppId)}}, -1);
    return reply.isValid();
}

}  // namespace orvano
