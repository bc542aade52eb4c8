// Desktop notifications through the freedesktop notification service on the
// session bus.
#pragma once

#include <QObject>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace orvano {

// No call to another program on the bus waits longer than this: a service
// that never answers costs at most this much, and never blocks the caller.
inline constexpr int kDBusTimeoutMs = 2000;

struct DesktopNotification {
    std::string appName;
    std::string title;
    std::string body;
    // Buttons the server may show: the key it reports back, and the label.
    std::vector<std::pair<std::string, std::string>> actions;
};

// Sends one notification without waiting for it. `done` is called later from
// the event loop with whether a notification server took it (false when none
// answered within kDBusTimeoutMs) and the id it gave. Nothing is called once
// `context` is gone.
void ShowDesktopNotification(const DesktopNotification& notification, QObject* context,
                             std::function<void(bool shown, unsigned id)> done);

// Hears the notification server report that the user chose an action of a
// notification: its id and the action's key. A signal, so nothing waits.
class NotificationActions final : public QObject {
    Q_OBJECT

  public:
    using Invoked = std::function<void(unsigned id, const std::string& key)>;
    NotificationActions(Invoked invoked, QObject* parent);
    // False without a session bus.
    bool listening() const { return listening_; }

  public slots:
    void ActionInvoked(uint id, const QString& key);

  private:
    Invoked invoked_;
    bool listening_ = false;
};

}  // namespace orvano
