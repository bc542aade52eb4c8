// The reverse-DNS id the desktop knows the programs by: the names of the
// desktop entries, the icon, the metainfo, and the notifications' sender.
#pragma once

namespace orvano {

inline constexpr const char* kAppId = "org.orvano.Orvano";
inline constexpr const char* kTodayAppId = "org.orvano.Orvano.Today";

}  // namespace orvano
