// The window's first start offers to turn the prayer alarms on: they are all
// off at first, and a new user would not know the strip can ring.
#pragma once

#include "platform/platform.h"

namespace orvano {

// Asks once, while none of the five alarm switches is stored, and stores the
// answer in all five (Yes: on). True when it asked.
bool OfferAlarmsOnce(SettingsStore& settings, MessageSink& messages, bool french);

}  // namespace orvano
