// Desktop notifications through the freedesktop notification service on the
// session bus.
#pragma once

#include <functional>
#include <string>

class QObject;

namespace orvano {

// No call to another program on the bus waits longer than this: a service
// that never answers costs at most this much, and never blocks the caller.
inline constexpr int kDBusTimeoutMs = 2000;

// Sends one notification without waiting for it. `done` is called later from
// the event loop with whether a notification server took it: false when none
// answered within kDBusTimeoutMs. Nothing is called once `context` is gone.
void ShowDesktopNotification(const std::string& appName, const std::string& title,
                             const std::string& body, QObject* context,
                             std::function<void(bool shown)> done);

}  // namespace orvano
