#include "places/new_town.h"

#include "astro/zone.h"
#include "config/text_encoding.h"
#include "places/authority.h"

namespace orvano {

std::string DataCfgName(std::string_view text) {
    std::string name(CutToChars(text, kMaxTextChars));
    for (char& c : name) {
        if (c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r') c = '_';
    }
    return name;
}

Town TownFromPlace(const Place& place, int year) {
    Town town;
    town.Country = DataCfgName(place.country);
    town.Name = DataCfgName(place.name);
    town.latitude = place.latitude;
    town.longitude = place.longitude;
    town.Convention = DefaultConvention(place.countryCode);
    town.Method = DefaultMethod(place.countryCode);
    town.Zone = place.zone;
    if (const ZoneRef zone = FindZone(place.zone)) {
        const ZoneIntegers integers = ZoneIntegersOf(zone, year);
        town.TimeZone = integers.TimeZone;
        town.DST = integers.DST;
    }
    return town;
}

}  // namespace orvano
