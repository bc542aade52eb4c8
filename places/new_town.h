// A town of data.cfg made from a place of the gazetteer or from coordinates.
#pragma once

#include <string>
#include <string_view>

#include "config/records.h"
#include "places/gazetteer.h"

namespace orvano {

// A name as data.cfg keeps it: white space as '_', at most 79 characters.
std::string DataCfgName(std::string_view text);

// The place as a town: its name and country in data.cfg's form, its
// coordinates, its zone with the zone's TimeZone/DST integers for `year`, and
// method of its country's authority (the convention standing for it in the
// town line).
Town TownFromPlace(const Place& place, int year);

}  // namespace orvano
