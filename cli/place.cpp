#include <cmath>

#include "astro/constants.h"
#include "cli/options.h"

namespace orvano::cli {

const std::vector<OptionSpec> kPlaceOptions = {{"config", true}, {"town", true}, {"lat", true},
                                               {"lon", true},    {"tz", true},   {"dst", true}};

namespace {

void PlaceFromCoordinates(const Options& options, EngineState& state) {
    if (!options.has("lat") || !options.has("lon")) {
        throw UsageError("--lat and --lon go together");
    }
    if (options.has("config") || options.has("town")) {
        throw UsageError("--lat/--lon give a place of their own; drop --config and --town");
    }
    const double lat = *options.getDouble("lat");
    const double lon = *options.getDouble("lon");
    if (!(lat >= -90 && lat <= 90)) throw UsageError("option '--lat' must lie in -90..90");
    if (!(lon >= -180 && lon <= 180)) throw UsageError("option '--lon' must lie in -180..180");
    CurrentPlace& place = state.place;
    place.Name = "Lieu";
    place.Country = "Coordonnees";
    place.latitude = lat * kDegToRad;
    place.longitude = lon * kDegToRad;
    place.TimeZone = static_cast<int>(options.getInt("tz", -12, 14).value_or(0));
    place.DST = static_cast<int>(options.getInt("dst", 0, 2).value_or(0));
    place.Convention = 0;
}

}  // namespace

void ResolvePlace(const Options& options, EngineState& state) {
    if (options.has("lat") || options.has("lon") || options.has("tz") || options.has("dst")) {
        PlaceFromCoordinates(options, state);
        return;
    }
    throw UsageError("no place given: use --lat LAT --lon LON [--tz N] [--dst N]");
}

}  // namespace orvano::cli
