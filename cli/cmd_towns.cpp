// orvano-cli towns: the towns of data.cfg, as --town accepts them, or the
// gazetteer's places that a search names.
#include <algorithm>
#include <cstdio>
#include <map>
#include <string>

#include "astro/json.h"
#include "cli/commands.h"
#include "cli/gazetteer_town.h"
#include "cli/town_match.h"
#include "config/text_encoding.h"
#include "language/messages.h"
#include "places/authority.h"

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

void PrintPlaces(const Gazetteer& gazetteer, const std::vector<size_t>& found, bool asJson,
                 const std::string& query) {
    if (asJson) {
        std::vector<std::string> items;
        for (size_t i : found) {
            const Place& p = gazetteer.place(i);
            JsonObject o;
            o.add("display", gazetteer.DisplayName(i)).add("name", p.name);
            o.add("asciiName", p.asciiName).add("region", p.region).add("country", p.country);
            o.add("countryCode", p.countryCode).add("latitude", p.latitude);
            o.add("longitude", p.longitude).add("zone", p.zone);
            o.addRaw("population", std::to_string(p.population));
            o.add("conventionIndex", DefaultConvention(p.countryCode));
            items.push_back(o.str());
        }
        JsonObject json;
        json.add("search", query);
        json.addRaw("places", JsonArray(items, [](const std::string& s) { return s; }));
        std::printf("%s\n", json.str().c_str());
        return;
    }
    size_t width = 5;
    for (size_t i : found) {
        width = std::max(width, CharCount(PrintableText(gazetteer.DisplayName(i))));
    }
    std::printf("%3s  %s %-20s %9s %10s %10s  %s\n", "#", Padded("Place", width).c_str(), "Zone",
                "Latitude", "Longitude", "Population", "Convention");
    for (size_t n = 0; n < found.size(); ++n) {
        const Place& p = gazetteer.place(found[n]);
        std::printf("%3zu  %s %-20s %9.4f %10.4f %10ld  %d\n", n + 1,
                    Padded(PrintableText(gazetteer.DisplayName(found[n])), width).c_str(),
                    p.zone.c_str(), p.latitude, p.longitude, p.population,
                    DefaultConvention(p.countryCode));
    }
}

// towns --search: the gazetteer's places, best first; no data.cfg is read.
int RunSearch(const Options& options, const std::string& query) {
    const auto limit = static_cast<size_t>(options.limit.value_or(10));
    const Gazetteer& gazetteer = InstalledGazetteer();
    const std::vector<size_t> found = gazetteer.Search(query, limit);
    if (found.empty() && !options.json) {
        std::fprintf(stderr, "orvano-cli towns: no place is named '%s'\n",
                     PrintableText(query).c_str());
        return 0;
    }
    PrintPlaces(gazetteer, found, options.json, query);
    return 0;
}

int RunTowns(const Options& options) {
    if (const auto& query = options.search) return RunSearch(options, *query);
    EngineState state;
    ResolvePlace(options, state);
    const ConfigTables& tables = state.tables;
    if (options.names) {
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
    if (options.json) {
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
            N_("List the towns of data.cfg: index, country, name, zone and convention"),
            {PlaceOptions().front(), JsonOption("Print one JSON object"),
             FlagOption("names", "Print only the names --town accepts, one a line (for completion)",
                        &Options::names),
             TextOption("search", "TEXT",
                        "Search the gazetteer instead: Name, \"Name, Country\" or \"Name, Region, "
                        "Country\"",
                        &Options::search),
             WholeOption("limit", "N", "At most N places found by --search (default 10)",
                         &Options::limit, 1, 1000)
                 .Needs({"search"}, N_("option '--limit' goes with --search"))},
            RunTowns};
}

}  // namespace orvano::cli
