// User notifications with a named-event trigger, active during a period.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/geometry.h"

namespace orvano {

struct NotificationTrigger {
    std::string
        application;  // the named-event path, e.g. "\\.\Notifications\NamedEvents\Event Fajr"
    std::string arguments;
    LocalTime start;
    LocalTime end;
};

struct UserNotification {
    int actionFlags = 0;  // 1 flash the light, 2 vibrate, 4 show a dialog
    std::string dialogTitle;
    std::string dialogText;
};

struct NotificationInfo {
    NotificationTrigger trigger;
    UserNotification notification;
};

using NotificationHandle = std::uint32_t;  // 0 is no notification

class Notifications {
  public:
    virtual ~Notifications() = default;
    // The handle of the new notification, 0 when it could not be set.
    virtual NotificationHandle Set(const NotificationTrigger& trigger,
                                   const UserNotification& notification) = 0;
    // At most maxCount handles; nothing when the service cannot list them.
    virtual std::optional<std::vector<NotificationHandle>> List(int maxCount) = 0;
    virtual std::optional<NotificationInfo> Read(NotificationHandle handle) = 0;
    virtual bool Clear(NotificationHandle handle) = 0;
};

}  // namespace orvano
