// The reverse-DNS id the desktop knows the programs by: the names of the
// desktop entries, the icon, the metainfo, and the notifications' sender.
#pragma once

namespace orvano {

inline constexpr const char* kAppId = "org.orvano.Orvano";
inline constexpr const char* kTodayAppId = "org.orvano.Orvano.Today";

// The window's option that opens its adhan and reminders dialog: the strip
// starts `orvano` with it.
inline constexpr const char* kAdhanSettingsOption = "--adhan-settings";

}  // namespace orvano
