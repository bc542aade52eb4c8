// The notification service stand-in: notifications kept in one file so that
// they outlive the process that set them, delivered by the Today host.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/notifications.h"

namespace orvano {

// Carries seconds, minutes and hours past their range into the next day(s)
// and sets the weekday; milliseconds are kept.
LocalTime NormaliseLocalTime(LocalTime t);
// Milliseconds since 1970-01-01 00:00 of the same calendar, for ordering.
long long LocalTimeKey(const LocalTime& t);

class NotificationStore final : public Notifications {
  public:
    static constexpr std::size_t kMaxNotifications = 256;
    static constexpr int kTriggerPeriod = 3;  // active from a start time to an end time

    struct Entry {
        NotificationHandle handle = 0;
        int kind = kTriggerPeriod;
        NotificationTrigger trigger;
        UserNotification user;
        bool done = false;  // delivered, or its period was over before it could be
    };

    // `path` is the store's file; `eventsPath` where signalled named events are recorded.
    NotificationStore(std::string path, std::string eventsPath, std::function<LocalTime()> now);

    NotificationHandle Set(const NotificationTrigger& trigger,
                           const UserNotification& notification) override;
    std::optional<std::vector<NotificationHandle>> List(int maxCount) override;
    std::optional<NotificationInfo> Read(NotificationHandle handle) override;
    bool Clear(NotificationHandle handle) override;

    // The notifications whose period contains `now` and that were not yet
    // delivered; they are marked delivered. Missed periods are marked too.
    std::vector<Entry> TakeDue(const LocalTime& now);
    // Appends "YYYY-MM-DD HH:MM:SS<TAB>application" to the events file.
    bool RecordNamedEvent(const std::string& application, const LocalTime& when);

    std::vector<Entry> Entries();
    const std::string& path() const { return path_; }

  private:
    bool Load(std::vector<Entry>& entries, NotificationHandle& next);
    bool Save(const std::vector<Entry>& entries, NotificationHandle next);

    std::string path_;
    std::string eventsPath_;
    std::function<LocalTime()> now_;
};

}  // namespace orvano
