// orvano-cli sun and qibla.
#include <cstdio>

#include "astro/angle_text.h"
#include "astro/constants.h"
#include "astro/json.h"
#include "astro/julian_time.h"
#include "astro/sun_report.h"
#include "cli/options.h"
#include "language/messages.h"

namespace orvano::cli {

namespace {

int RunSun(const Options& options) {
    EngineState state;
    ResolvePlace(options, state);
    state.observation = ZoneOrDesktopNow(state.place);
    if (options.at) state.observation = *options.at;

    FileTraceSink out(stdout);
    state.traceSink = &out;
    state.tables.Verbose = options.trace ? 1 : 0;
    ComputeSunPosition(state.observation, state.place, state.timeZoneInEffect, state.sun,
                       state.trace());
    if (options.trace) return 0;

    const SunState& s = state.sun;
    if (options.json) {
        JsonObject json;
        json.add("T", s.T).add("L", s.L).add("RA", s.RA).add("delta", s.delta);
        json.add("theta0", s.theta0).add("theta", s.theta).add("tau", s.tau).add("h", s.h);
        json.add("az", s.az).add("utHour", s.utHour);
        json.add("timeZoneInEffect", state.timeZoneInEffect);
        bool dstApplies = false;
        ZoneInEffectAtClock(state.place, state.observation, &dstApplies);
        json.add("dstApplies", dstApplies);
        json.add("utDay", s.utDay).add("utMonth", s.utMonth).add("utYear", s.utYear);
        AddZone(json, state.place);
        std::printf("%s\n", json.str().c_str());
        return 0;
    }
    std::printf("%s\n", PlaceLine(state.place).c_str());
    std::printf("UT %d/%d/%d %s\n", s.utDay, s.utMonth, s.utYear, HoursToHmsText(s.utHour).c_str());
    std::printf("altitude %s\n", ReadableDmsText(s.h).c_str());
    std::printf("azimuth from North %s\n", BearingText(s.az - kPi).c_str());
    return 0;
}

int RunQibla(const Options& options) {
    EngineState state;
    ResolvePlace(options, state);
    const double bearing = QiblaBearing(state.place.latitude, state.place.longitude);
    if (options.json) {
        JsonObject json;
        json.add("bearing", bearing).add("text", AngleToDmsText(bearing));
        std::printf("%s\n", json.str().c_str());
    } else {
        std::printf("%s, %s: Qibla %s from North\n", PrintableText(state.place.Name).c_str(),
                    PrintableText(state.place.Country).c_str(), BearingText(bearing).c_str());
    }
    return 0;
}

}  // namespace

Command SunCommand() {
    return {"sun", N_("Print the sun's altitude and azimuth at an instant"),
            WithPlace({InstantOption("The local instant (default: now)", &Options::at),
                       JsonOption("Print one JSON object with every value to the bit"),
                       FlagOption("trace", "Print the engine's report instead (not with --json)",
                                  &Options::trace)
                           .Excludes({"json"}, N_("--json and --trace cannot be given together"))}),
            RunSun};
}

Command QiblaCommand() {
    return {"qibla", N_("Print the bearing of the Qibla from North"),
            WithPlace({JsonOption("Print one JSON object with every value to the bit")}), RunQibla};
}

}  // namespace orvano::cli
