// How a place and its zone are named in the commands' output.
#include "astro/json.h"
#include "astro/zone.h"
#include "cli/options.h"

namespace orvano::cli {

std::string ZoneNameInUse(const CurrentPlace& place) {
    return !place.FixedZone && PlaceZone(place) != nullptr ? place.Zone : std::string();
}

std::string PlaceLine(const CurrentPlace& place) {
    std::string line = PrintableText(place.Name) + ", " + PrintableText(place.Country);
    const std::string zone = ZoneNameInUse(place);
    if (!zone.empty()) line += " (" + zone + ")";
    return line;
}

void AddZone(JsonObject& json, const CurrentPlace& place) {
    const std::string zone = ZoneNameInUse(place);
    if (zone.empty()) {
        json.addRaw("zone", "null");
    } else {
        json.add("zone", zone);
    }
}

}  // namespace orvano::cli
