#include "cli/gazetteer_town.h"

#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>

#include "cli/options.h"
#include "config/grammar.h"
#include "places/new_town.h"
#include "places/text_key.h"
#include "platform/user_files.h"

namespace orvano::cli {

const Gazetteer& InstalledGazetteer() {
    // A file that cannot be read is not tried again within the run.
    static std::string error;
    static const std::unique_ptr<Gazetteer> loaded = [] {
        std::error_code ignored;
        const std::string program =
            std::filesystem::read_symlink("/proc/self/exe", ignored).string();
        auto g = Gazetteer::Load(InstalledFolderOfProgram(program) + "/gazetteer.tsv", error);
        return g ? std::make_unique<Gazetteer>(std::move(*g)) : nullptr;
    }();
    if (!loaded) throw ConfigError("the gazetteer cannot be read: " + error);
    return *loaded;
}

Town TownNearest(double latitude, double longitude, std::string& nearest) {
    const Gazetteer& gazetteer = InstalledGazetteer();
    const auto found = gazetteer.Nearest(latitude, longitude);
    if (!found) throw ConfigError("the gazetteer holds no place");
    Town town = TownFromPlace(gazetteer.place(*found), ThisYear());
    town.latitude = latitude;
    town.longitude = longitude;
    nearest = gazetteer.DisplayName(*found);
    return town;
}

int ThisYear() {
    return LocalNow().year;
}

bool SelectGazetteerTown(const std::string& text, EngineState& state) {
    // "Country/Name", as the file's towns are named, is "Name, Country" here.
    std::string query = text;
    if (const size_t slash = text.find('/'); slash != std::string::npos) {
        query = text.substr(slash + 1) + ", " + text.substr(0, slash);
    }
    const Gazetteer* loaded = nullptr;
    try {
        loaded = &InstalledGazetteer();
    } catch (const ConfigError& e) {
        // The file's own error about the name says more than the gazetteer's.
        std::fprintf(stderr, "orvano-cli: %s\n", e.what());
        return false;
    }
    const Gazetteer& gazetteer = *loaded;
    // The name must be whole: a beginning that fits no town of the file is
    // more likely a slip than a place elsewhere in the world.
    const std::vector<size_t> found = gazetteer.Search(query, 1);
    if (found.empty() || SearchKey(gazetteer.place(found.front()).asciiName) !=
                             SearchKey(query.substr(0, query.find(',')))) {
        return false;
    }
    const Place& place = gazetteer.place(found.front());
    ConfigTables& tables = state.tables;
    tables.Towns.push_back(TownFromPlace(place, ThisYear()));
    tables.NumberOfTowns = static_cast<int>(tables.Towns.size());
    tables.TownSelected = tables.NumberOfTowns - 1;
    FillCurrentPlace(tables.Towns.back(), state.place);
    std::fprintf(stderr, "orvano-cli: '%s' is no town of data.cfg; %s from the gazetteer\n",
                 PrintableText(text).c_str(),
                 PrintableText(gazetteer.DisplayName(found.front())).c_str());
    return true;
}

}  // namespace orvano::cli
