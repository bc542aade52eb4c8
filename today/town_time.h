// The selected town's own clock. A town whose zone the zone database knows
// lives by that zone's civil time whatever the desktop's zone: its "now" and
// "today" are the desktop's instant seen there, and its alarms are set back
// on the desktop's clock, which the notification store keeps.
#pragma once

#include "astro/records.h"
#include "platform/geometry.h"

namespace orvano {

// The desktop's local time as the town's local time (unchanged without a known zone).
LocalTime TownNow(const LocalTime& desktopNow, const CurrentPlace& place);
// A local time of the town as the desktop's local time (unchanged without a known zone).
LocalTime TownTimeOnDesktop(const LocalTime& townTime, const CurrentPlace& place);

}  // namespace orvano
