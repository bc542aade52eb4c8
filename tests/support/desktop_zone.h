// The desktop's time zone (TZ) set for a scope; what was there before comes
// back at its end, so one test's zone never leaks into the next.
#pragma once

#include <stdlib.h>
#include <time.h>

#include <optional>
#include <string>

namespace orvano::testing {

class DesktopZone {
  public:
    explicit DesktopZone(const char* zone) {
        if (const char* tz = getenv("TZ")) saved_ = tz;
        Set(zone);
    }
    ~DesktopZone() {
        if (saved_) {
            setenv("TZ", saved_->c_str(), 1);
        } else {
            unsetenv("TZ");
        }
        tzset();
    }
    DesktopZone(const DesktopZone&) = delete;
    DesktopZone& operator=(const DesktopZone&) = delete;

    // Another zone for the rest of the scope.
    static void Set(const char* zone) {
        setenv("TZ", zone, 1);
        tzset();
    }

  private:
    std::optional<std::string> saved_;
};

}  // namespace orvano::testing
