// orvano-cli add: a town for data.cfg from the gazetteer or from coordinates.
#include <charconv>
#include <cmath>
#include <cstdio>

#include "astro/constants.h"
#include "astro/plain_number.h"
#include "astro/zone.h"
#include "cli/commands.h"
#include "cli/gazetteer_town.h"
#include "cli/town_match.h"
#include "config/methods.h"
#include "config/reader.h"
#include "config/writer.h"
#include "language/messages.h"
#include "places/authority.h"
#include "places/new_town.h"

namespace orvano::cli {

namespace {

// More places than this are summed up, not listed.
constexpr size_t kListed = 20;

// The first message of the reader or the writer, for the error line.
class FirstBox final : public MessageSink {
  public:
    void Show(const std::string& text, const std::string& caption) override {
        if (message.empty()) message = MessageLine(text, caption, openReason);
    }
    std::string message;
    std::string openReason;
};

// The place --search names; several without --pick are listed and refused.
Town TownFromSearch(const Options& options, const std::string& query) {
    const Gazetteer& gazetteer = InstalledGazetteer();
    const std::vector<size_t> found = gazetteer.BestMatches(query);
    if (found.empty()) {
        throw UsageError("option '--search': no place is named '" + query +
                         "'; 'orvano-cli towns --search' lists what there is");
    }
    std::optional<long> pick;
    if (const auto& text = options.pick) {
        const auto last = static_cast<long>(found.size());
        pick = PlainInteger(*text, 1, last);
        if (!pick) {
            throw UsageError("option '--pick' needs a whole number from 1 to " +
                             std::to_string(last) + ", not '" + *text + "'");
        }
    }
    if (found.size() > 1 && !pick) {
        for (size_t n = 0; n < found.size() && n < kListed; ++n) {
            std::printf("%3zu  %s\n", n + 1,
                        PrintableText(gazetteer.DisplayName(found[n])).c_str());
        }
        if (found.size() > kListed) std::printf("     and %zu more\n", found.size() - kListed);
        throw UsageError("'" + query + "' names " + std::to_string(found.size()) +
                         " places; give --pick N, or the region or country (\"Name, Country\")");
    }
    const size_t chosen = found[static_cast<size_t>(pick.value_or(1) - 1)];
    std::fprintf(stderr, "orvano-cli add: %s from the gazetteer\n",
                 PrintableText(gazetteer.DisplayName(chosen)).c_str());
    return TownFromPlace(gazetteer.place(chosen), ThisYear());
}

// A place of one's own; what it does not say is taken from the nearest place
// of the gazetteer: its country, its zone, its country's convention.
Town TownFromCoordinates(const Options& options) {
    const auto& name = options.name;
    if (!options.lat || !options.lon || !name) {
        throw UsageError("add needs --search TEXT, or --lat, --lon and --name");
    }
    if (name->find_first_not_of(" \t") == std::string::npos) {
        throw UsageError("option '--name' needs a name");
    }
    std::string nearest;
    Town town = TownNearest(*options.lat, *options.lon, nearest);
    town.Name = DataCfgName(*name);
    if (const auto& tz = options.tz) {
        int hours = 0;
        const char* end = tz->data() + tz->size();
        const auto [ptr, ec] = std::from_chars(tz->data(), end, hours);
        if (!tz->empty() && ec == std::errc() && ptr == end) {
            if (hours < -12 || hours > 14) throw UsageError("option '--tz' must lie in -12..14");
            town.Zone.clear();
            town.TimeZone = hours;
            town.DST = 0;
        } else if (const ZoneRef zone = FindZone(*tz)) {
            const ZoneIntegers integers = ZoneIntegersOf(zone, ThisYear());
            town.Zone = *tz;
            town.TimeZone = integers.TimeZone;
            town.DST = integers.DST;
        } else {
            throw UsageError("option '--tz' needs whole hours or a zone the system knows, not '" +
                             *tz + "'");
        }
    }
    std::fprintf(stderr, "orvano-cli add: country, %s of the nearest place, %s\n",
                 options.tz ? "convention" : "zone and convention", PrintableText(nearest).c_str());
    return town;
}

int RunAdd(const Options& options) {
    const auto& search = options.search;
    Town town = search ? TownFromSearch(options, *search) : TownFromCoordinates(options);
    // A slot chosen by hand is the town's convention: no method record overrides it.
    if (options.convention) {
        town.Convention = static_cast<int>(*options.convention);
        town.Method.clear();
    }

    const std::string path = ConfigOption(options);
    ConfigTables tables;
    CurrentPlace unused;
    FirstBox boxes;
    // Held from the read to the write, so that an add beside another writer loses neither.
    FileLock lock;
    if (!LockDataCfg(lock, path, boxes)) throw ConfigError(boxes.message);
    if (ReadDataCfg(path, "", tables, unused, boxes, nullptr, &boxes.openReason) != kReadOk) {
        throw ConfigError(boxes.message.empty() ? "cannot read " + path : boxes.message);
    }
    const std::string key = NameKey(QualifiedName(town));
    for (size_t i = 0; i < tables.Towns.size(); ++i) {
        if (NameKey(QualifiedName(tables.Towns[i])) == key) {
            throw UsageError(PrintableText(path) + " already has " +
                             PrintableText(QualifiedName(town)) + " (town " + std::to_string(i) +
                             ")");
        }
    }
    tables.Towns.push_back(town);
    tables.NumberOfTowns = static_cast<int>(tables.Towns.size());
    if (!WriteDataCfg(path, tables, boxes)) throw ConfigError(boxes.message);
    const std::string& method = tables.Conventions[static_cast<size_t>(town.Convention)].Name;
    std::printf("Added town %d: %s, %.4f, %.4f, %s, convention %d \"%s\"\n",
                tables.NumberOfTowns - 1, PrintableText(QualifiedName(town)).c_str(), town.latitude,
                town.longitude, town.Zone.empty() ? "no zone" : town.Zone.c_str(), town.Convention,
                PrintableText(method).c_str());
    if (!town.Method.empty()) {
        const MethodCatalogue catalogue = FullCatalogue(MethodFolders(), tables);
        const Method* m = catalogue.Find(town.Method);
        std::printf("Method: %s (%s)\n", PrintableText(town.Method).c_str(),
                    m != nullptr ? PrintableText(m->name).c_str() : "not in the catalogue");
    }
    return 0;
}

}  // namespace

Command AddCommand() {
    return {
        "add",
        N_("Add a town to data.cfg: a place of the gazetteer, or coordinates of your own"),
        {PlaceOptions().front(),
         TextOption("search", "TEXT",
                    "The place: Name, \"Name, Country\" or \"Name, Region, Country\"",
                    &Options::search)
             .Excludes({"lat", "lon", "tz"},
                       N_("--search and --lat/--lon/--tz give the place two ways; keep one")),
         TextOption("pick", "N", "Which of the places a --search lists (from 1)", &Options::pick)
             .Needs({"search"}, N_("option '--pick' goes with --search")),
         DecimalOption("lat", "DEG",
                       "Latitude of a place of your own, -90..90 (with --lon and --name)",
                       &Options::lat, -90, 90),
         DecimalOption("lon", "DEG", "Longitude of that place, -180..180, east positive",
                       &Options::lon, -180, 180),
         TextOption("tz", "HOURS|ZONE",
                    "Its whole-hour zone or zone name (default: the nearest place's)",
                    &Options::tz),
         TextOption("name", "NAME", "Its name (at most 79 characters; spaces are written as _)",
                    &Options::name),
         WholeOption("convention", "N",
                     "The convention slot 0..8 (default: the method of the country's authority)",
                     &Options::convention, 0, kConventionCount - 1)},
        RunAdd};
}

}  // namespace orvano::cli
