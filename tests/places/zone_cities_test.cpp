// The principal city of every zone of the installed tzdata's zone1970.tab,
// searched by name as `orvano-cli towns --search` searches: the first place
// found must be that city, in that zone, within 0.3° of the table's
// coordinates. Cities the gazetteer cannot hold are listed with the reason.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "places/text_key.h"
#include "tests/places/installed_gazetteer.h"

namespace orvano {
namespace {

struct ZoneRow {
    std::string codes;  // the countries of the zone, comma-separated
    std::string zone;
    std::string city;  // the zone name's last part, '_' read as a space
    double latitude = 0, longitude = 0;
};

// ±DDMM[SS] or ±DDDMM[SS] as degrees.
double Degrees(const std::string& text, size_t degreeDigits) {
    const double sign = text[0] == '-' ? -1 : 1;
    const double d = std::stod(text.substr(1, degreeDigits));
    const double m = std::stod(text.substr(1 + degreeDigits, 2));
    const double s = text.size() > 3 + degreeDigits ? std::stod(text.substr(3 + degreeDigits)) : 0;
    return sign * (d + m / 60 + s / 3600);
}

std::vector<ZoneRow> ZoneTable() {
    std::ifstream in("/usr/share/zoneinfo/zone1970.tab");
    std::vector<ZoneRow> rows;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        std::string codes, coordinates, zone;
        std::getline(fields, codes, '\t');
        std::getline(fields, coordinates, '\t');
        std::getline(fields, zone, '\t');
        const size_t split = coordinates.find_first_of("+-", 1);
        ZoneRow row;
        row.codes = codes;
        row.zone = zone;
        row.city = zone.substr(zone.rfind('/') + 1);
        for (char& c : row.city) c = c == '_' ? ' ' : c;
        row.latitude = Degrees(coordinates.substr(0, split), 2);
        row.longitude = Degrees(coordinates.substr(split), 3);
        rows.push_back(row);
    }
    return rows;
}

TEST(ZoneCities, FoundFirstInTheirZoneNearTheTablesCoordinates) {
    const std::vector<ZoneRow> rows = ZoneTable();
    ASSERT_GT(rows.size(), 300u) << "zone1970.tab is missing or short";
    const Gazetteer& g = testing::Installed();
    int found = 0;
    std::map<std::string, std::vector<std::string>> skipped;  // reason -> cities
    for (const ZoneRow& row : rows) {
        const std::vector<size_t> first = g.Search(row.city, 1);
        const bool named =
            !first.empty() &&
            SearchKey(g.place(first[0]).asciiName).rfind(SearchKey(row.city), 0) == 0;
        if (row.zone.rfind("Antarctica/", 0) == 0) {
            skipped["a research station"].push_back(row.zone);
            continue;
        }
        if (!named) {
            skipped
                ["no place of that name (a country or an island, under 15 000 people, or "
                 "spelt otherwise)"]
                    .push_back(row.zone);
            continue;
        }
        const Place& p = g.place(first[0]);
        const bool near = std::fabs(p.latitude - row.latitude) <= 0.3 &&
                          std::fabs(p.longitude - row.longitude) <= 0.3;
        if (p.zone == row.zone && near) {
            ++found;
        } else if (!near) {
            // The table's city is smaller than a namesake elsewhere, or a
            // place under 15 000 people whose name a larger one begins.
            skipped["a larger namesake, or a longer name it begins, comes first"].push_back(
                row.zone + " (" + g.DisplayName(first[0]) + ")");
        } else if (row.codes.find(p.countryCode) != std::string::npos) {
            // The boundary data puts the city's point just across a zone
            // border of its own country (Nicosia's north in Asia/Famagusta).
            skipped["on a zone border within its country"].push_back(row.zone + " (" + p.zone +
                                                                     ")");
        } else {
            ADD_FAILURE() << row.zone << ": " << g.DisplayName(first[0]) << " is in " << p.zone;
        }
    }
    for (const auto& [reason, zones] : skipped) {
        std::string list;
        for (const std::string& z : zones) list += (list.empty() ? "" : ", ") + z;
        std::printf("skipped, %s (%zu): %s\n", reason.c_str(), zones.size(), list.c_str());
    }
    std::printf("found %d of %zu principal cities\n", found, rows.size());
    EXPECT_GE(found, 200);
}

}  // namespace
}  // namespace orvano
