// Desktop notifications through the freedesktop notification service on the
// session bus.
#pragma once

#include <string>

namespace orvano {

// Shows one notification; false when no notification server answered.
bool ShowDesktopNotification(const std::string& appName, const std::string& title,
                             const std::string& body);

}  // namespace orvano
