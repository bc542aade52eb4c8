// The time scale (Julian centuries since J2000.0), weekdays and the
// daylight-saving rules.
#pragma once

#include <array>
#include <string>

#include "astro/records.h"
#include "astro/zone.h"

namespace orvano {

// French names; the only weekday and month names the system holds.
extern const std::array<const char*, 7> kWeekdayNames;  // 0 = Monday
extern const std::array<const char*, 13> kMonthNames;   // 1..12, [0] is ""

double JulianCenturies(int day, int month, int year, double hourUT);

// 0 = Monday .. 6 = Sunday, counting days from noon to noon.
int WeekdayIndex(double t);

// The weekday of the local civil day of the instant t (computed at a UT hour)
// in the zone in effect.
int LocalWeekday(double t, double timeZoneInEffect);

int DstApplies(int year, int month, int day, int rule, int timeZone);

// The zone in effect on a civil date for a day's schedule. A town with a known
// zone name takes the database's offset at 12:00 local time, and summer time
// applies when that offset is above the zone's standard offset. Otherwise the
// standard zone, plus one when the town's rule puts the date in summer time.
double ZoneInEffect(const CurrentPlace& place, int day, int month, int year, bool* dstApplies);
// The same with the zone already looked up (nullptr: the whole-hour model), so
// that a month looks it up once.
double ZoneInEffect(ZoneRef zone, const CurrentPlace& place, int day, int month, int year,
                    bool* dstApplies);
// The zone in effect at the observation's clock time (the Sun's position).
double ZoneInEffectAtClock(const CurrentPlace& place, const Observation& observation,
                           bool* dstApplies);

}  // namespace orvano
