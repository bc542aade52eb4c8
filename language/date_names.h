// Weekday and month names in the language in use.
#pragma once

namespace orvano {

// 0 Monday .. 6 Sunday; "" for anything else.
const char* ShownWeekdayName(int index);
// 1 January .. 12 December; "" for anything else.
const char* ShownMonthName(int month);

}  // namespace orvano
