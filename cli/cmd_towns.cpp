// orvano-cli towns: the towns of data.cfg, as --town accepts them.
#include <cstdio>
#include <map>
#include <string>

#include "astro/json.h"
#include "cli/commands.h"
#include "cli/town_match.h"

namespace orvano::cli {

namespace {

// Characters, not bytes, so that accented names line up.
std::string Padded(const std::string& text, size_t width) {
    size_t shown = 0;
    for (char c : text) {
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++shown;
    }
    return shown >= width ? text : text + std::string(width - shown, ' ');
}

std::string ZoneText(const Town& town) {
    if (!town.Zone.empty()) return town.Zone;
    std::string text = town.TimeZone < 0 ? "UTC" : "UTC+";
    text += std::to_string(town.TimeZone);
    if (town.DST == 2) {
        text += " (Friday DST)";
    } else if (town.DST != 0) {
        text += " (Sunday DST)";
    }
    return text;
}

std::string ConventionText(const ConfigTables& tables, const Town& town) {
    if (town.Convention < 0 || town.Convention >= kConventionCount) return "";
    return tables.Conventions[static_cast<size_t>(town.Convention)].Name;
}

int RunTowns(const Options& options) {
    EngineState state;
    ResolvePlace(options, state);
    const ConfigTables& tables = state.tables;
    if (options.has("names")) {
        // For completion: every name as --town takes it, without spaces; a
        // name that several towns share only with its country.
        std::map<std::string, int> uses;
        for (const Town& town : tables.Towns) ++uses[NameKey(town.Name)];
        for (const Town& town : tables.Towns) {
            const bool shared = uses[NameKey(town.Name)] > 1;
            std::printf("%s\n", PrintableText(shared ? QualifiedName(town) : town.Name).c_str());
        }
        return 0;
    }
    if (options.has("json")) {
        std::vector<std::string> items;
        for (size_t i = 0; i < tables.Towns.size(); ++i) {
            const Town& town = tables.Towns[i];
            JsonObject o;
            o.add("index", static_cast<int>(i)).add("country", town.Country).add("name", town.Name);
            o.add("zone", ZoneText(town)).add("timeZone", town.TimeZone).add("dst", town.DST);
            o.add("latitude", town.latitude).add("longitude", town.longitude);
            o.add("convention", ConventionText(tables, town))
                .add("conventionIndex", town.Convention);
            items.push_back(o.str());
        }
        JsonObject json;
        json.add("selected", tables.TownSelected);
        json.addRaw("towns", JsonArray(items, [](const std::string& s) { return s; }));
        std::printf("%s\n", json.str().c_str());
        return 0;
    }
    size_t countryWidth = 7, nameWidth = 4;
    for (const Town& town : tables.Towns) {
        countryWidth = std::max(countryWidth, Padded(PrintableText(town.Country), 0).size());
        nameWidth = std::max(nameWidth, Padded(PrintableText(town.Name), 0).size());
    }
    std::printf("%s  %s %s %s %s\n", "  #", Padded("Country", countryWidth).c_str(),
                Padded("Name", nameWidth).c_str(), Padded("Zone", 18).c_str(), "Convention");
    for (size_t i = 0; i < tables.Towns.size(); ++i) {
        const Town& town = tables.Towns[i];
        std::printf(
            "%3zu%s %s %s %s %s\n", i, static_cast<int>(i) == tables.TownSelected ? "*" : " ",
            Padded(PrintableText(town.Country), countryWidth).c_str(),
            Padded(PrintableText(town.Name), nameWidth).c_str(), Padded(ZoneText(town), 18).c_str(),
            PrintableText(ConventionText(tables, town)).c_str());
    }
    return 0;
}

}  // namespace

Command TownsCommand() {
    return {"towns",
            "List the towns of data.cfg: index, country, name, zone and convention",
            {PlaceOptions().front(),
             {"json", "", "Print one JSON object"},
             {"names", "", "Print only the names --town accepts, one a line (for completion)"}},
            RunTowns};
}

}  // namespace orvano::cli
