// orvano-cli methods: the catalogue of calculation methods with their rules
// and sources, the data.cfg conventions among them.
#include <cstdio>
#include <string>

#include "astro/json.h"
#include "cli/commands.h"
#include "config/methods.h"
#include "engine/shown_times.h"
#include "language/messages.h"

namespace orvano::cli {

namespace {

std::string MethodJson(const Method& m) {
    JsonObject o;
    o.add("id", m.id).add("name", m.name).add("nameFr", m.nameFr.empty() ? m.name : m.nameFr);
    o.add("authority", m.authority).add("source", m.source).add("origin", m.origin);
    o.add("slot", m.slot);
    o.add("fajr", FajrRuleText(m)).add("sunriseSetAngle", m.sunriseSetAngle);
    o.add("zuhr", ZuhrRuleText(m)).add("asrFactor", m.asrFactor);
    o.add("maghrib", MaghribRuleText(m)).add("isha", IshaRuleText(m));
    if (m.ishaRamadanMinutes) {
        o.add("ishaRamadanMinutes", *m.ishaRamadanMinutes);
    } else {
        o.addRaw("ishaRamadanMinutes", "null");
    }
    o.add("seasonal", SeasonalName(m.seasonal));
    o.addRaw("precaution", JsonArray(m.precaution, [](double v) { return JsonNumber(v); }));
    o.add("rounding", RoundingName(m.rounding))
        .add("highLatitude", HighLatitudeRuleName(m.highLatitude));
    o.add("midnight", MidnightName(m.midnight));
    return o.str();
}

void PrintMethod(const Method& m) {
    std::printf("%-15s %s\n", m.id.c_str(), PrintableText(m.name).c_str());
    std::printf("%-15s authority: %s\n", "", PrintableText(m.authority).c_str());
    std::printf("%-15s fajr %s; sunrise/sunset %g; zuhr %s; asr %g; maghrib %s; isha %s", "",
                FajrRuleText(m).c_str(), m.sunriseSetAngle, ZuhrRuleText(m).c_str(), m.asrFactor,
                MaghribRuleText(m).c_str(), IshaRuleText(m).c_str());
    if (m.ishaRamadanMinutes) std::printf(" (Ramadan: after-maghrib %g)", *m.ishaRamadanMinutes);
    if (m.seasonal != SeasonalRule::None) std::printf("; seasonal %s", SeasonalName(m.seasonal));
    std::printf("\n%-15s precaution", "");
    for (const double p : m.precaution) std::printf(" %g", p);
    std::printf("; rounding %s; high-latitude %s; midnight %s\n", RoundingName(m.rounding),
                HighLatitudeRuleName(m.highLatitude), MidnightName(m.midnight));
    std::printf("%-15s source: %s\n", "", PrintableText(m.source).c_str());
}

int RunMethods(const Options& options) {
    EngineState state;
    ResolvePlace(options, state);
    const MethodCatalogue catalogue = FullCatalogue(MethodFolders(), state.tables);
    // A bad line costs its method only; the user is told where it is.
    for (const MethodProblem& p : catalogue.problems) {
        std::fprintf(stderr, "orvano-cli methods: %s: %s\n", PrintableText(p.where).c_str(),
                     PrintableText(p.text).c_str());
    }
    if (options.json) {
        JsonObject json;
        json.addRaw("methods", JsonArray(catalogue.methods, MethodJson));
        json.addRaw("problems", JsonArray(catalogue.problems, [](const MethodProblem& p) {
                        return JsonObject().add("where", p.where).add("text", p.text).str();
                    }));
        std::printf("%s\n", json.str().c_str());
        return 0;
    }
    for (const Method& m : catalogue.methods) PrintMethod(m);
    return 0;
}

}  // namespace

Command MethodsCommand() {
    return {"methods",
            N_("List the calculation methods: the catalogue's and data.cfg's conventions, with "
               "their rules and sources"),
            {PlaceOptions().front(), JsonOption("Print one JSON object")},
            RunMethods};
}

}  // namespace orvano::cli
