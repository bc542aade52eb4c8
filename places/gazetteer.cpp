#include "places/gazetteer.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstring>
#include <map>
#include <unordered_map>

#include "fileio/safe_file.h"
#include "places/text_key.h"

namespace orvano {

namespace {

// No gazetteer comes near this; a larger file is not one.
constexpr std::size_t kMaxFileBytes = std::size_t{64} << 20;

std::vector<std::string_view> Fields(std::string_view line) {
    std::vector<std::string_view> fields;
    size_t start = 0;
    for (;;) {
        const size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab == std::string_view::npos ? tab : tab - start));
        if (tab == std::string_view::npos) return fields;
        start = tab + 1;
    }
}

template <typename T>
bool ParseNumber(std::string_view text, T& value) {
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return !text.empty() && ec == std::errc() && ptr == end;
}

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

// Whether a later word of `key` begins with `prefix`.
bool WordStartsWith(std::string_view key, std::string_view prefix) {
    for (size_t space = key.find(' '); space != std::string_view::npos;
         space = key.find(' ', space + 1)) {
        if (StartsWith(key.substr(space + 1), prefix)) return true;
    }
    return false;
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return text;
}

}  // namespace

struct Gazetteer::Query {
    std::string name;
    std::vector<std::string> qualifiers;  // [region,] country, as keys
};

std::optional<Gazetteer> Gazetteer::Load(const std::string& path, std::string& error) {
    // Never blocks on a FIFO, refuses what is not a regular file, and stops at the limit.
    const InputFile file = ReadInputFile(path, kMaxFileBytes);
    switch (file.status) {
        case InputFile::Status::Ok:
            break;
        case InputFile::Status::TooLarge:
        case InputFile::Status::NotRegular:
            error = path + ": not a gazetteer";
            return std::nullopt;
        case InputFile::Status::OpenFailed:
            error = path + ": cannot be opened (" + std::strerror(file.error) + ")";
            return std::nullopt;
        case InputFile::Status::ReadFailed:
            error = path + ": cannot be read (" + std::strerror(file.error) + ")";
            return std::nullopt;
    }
    return Parse(file.bytes, path, error);
}

// What the records read so far give the next ones.
struct Gazetteer::Reading {
    std::map<std::string, size_t, std::less<>> countryIndex;
    std::vector<std::string> regions, zones;
    std::vector<size_t> countryOfPlace;  // in countries_, for each place read
};

std::string Gazetteer::ReadCountry(const std::vector<std::string_view>& f, Reading& r) {
    Country c{std::string(f[1]), std::string(f[2]), {SearchKey(f[2]), SearchKey(f[1])}};
    for (std::string_view rest = f[3]; !rest.empty();) {
        const size_t bar = rest.find('|');
        c.keys.push_back(SearchKey(rest.substr(0, bar)));
        rest.remove_prefix(bar == std::string_view::npos ? rest.size() : bar + 1);
    }
    r.countryIndex.emplace(c.code, countries_.size());
    countries_.push_back(std::move(c));
    return {};
}

std::string Gazetteer::ReadPlace(const std::vector<std::string_view>& f, Reading& r) {
    Place p;
    long region = 0;
    size_t zone = 0;
    if (f[1].empty()) return "a place without a name";
    p.name = f[1];
    p.asciiName = f[2].empty() ? p.name : std::string(f[2]);
    const auto country = r.countryIndex.find(f[3]);
    if (country == r.countryIndex.end()) return "unknown country " + std::string(f[3]);
    if (!ParseNumber(f[4], region) || region < -1 || region >= static_cast<long>(r.regions.size()))
        return "bad region";
    if (!ParseNumber(f[5], p.latitude) || !(std::fabs(p.latitude) <= 90) ||
        !ParseNumber(f[6], p.longitude) || !(std::fabs(p.longitude) <= 180))
        return "bad coordinates";
    if (!ParseNumber(f[7], zone) || zone >= r.zones.size()) return "bad zone";
    if (!ParseNumber(f[8], p.population) || p.population < 0) return "bad population";
    p.countryCode = countries_[country->second].code;
    p.country = countries_[country->second].name;
    if (region >= 0) p.region = r.regions[static_cast<size_t>(region)];
    p.zone = r.zones[zone];
    r.countryOfPlace.push_back(country->second);
    places_.push_back(std::move(p));
    return {};
}

std::optional<Gazetteer> Gazetteer::Parse(std::string_view text, const std::string& origin,
                                          std::string& error) {
    Gazetteer g;
    Reading r;
    size_t lineNumber = 0;
    while (!text.empty()) {
        ++lineNumber;
        const size_t newline = text.find('\n');
        const std::string_view line = text.substr(0, newline);
        text.remove_prefix(newline == std::string_view::npos ? text.size() : newline + 1);
        if (line.empty() || line.front() == '#') continue;
        const std::vector<std::string_view> f = Fields(line);
        std::string why = "not a record of the gazetteer";
        if (f[0] == "C" && f.size() == 4) {
            why = g.ReadCountry(f, r);
        } else if (f[0] == "R" && f.size() == 2) {
            why.clear();
            r.regions.emplace_back(f[1]);
        } else if (f[0] == "Z" && f.size() == 2) {
            why.clear();
            r.zones.emplace_back(f[1]);
        } else if (f[0] == "P" && f.size() == 9) {
            why = g.ReadPlace(f, r);
        }
        if (!why.empty()) {
            error = origin;
            error += ": line " + std::to_string(lineNumber) + ": ";
            error += why;
            return std::nullopt;
        }
    }
    g.Index(r.countryOfPlace);
    return g;
}

void Gazetteer::Index(const std::vector<size_t>& countryOfPlace) {
    // Most populous first, so that within a rank the search's order is the
    // order of the table.
    std::vector<size_t> order(places_.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        return places_[a].population > places_[b].population;
    });
    std::vector<Place> sorted;
    sorted.reserve(order.size());
    std::unordered_map<std::string, int> uses;
    for (size_t i : order) {
        sorted.push_back(std::move(places_[i]));
        const Place& p = sorted.back();
        Entry e{SearchKey(p.asciiName), SearchKey(p.region), countryOfPlace[i], false};
        ++uses[e.key];
        entries_.push_back(std::move(e));
    }
    places_ = std::move(sorted);
    for (Entry& e : entries_) e.sharedName = uses[e.key] > 1;
}

// 0 for an exact name, 1 for a name it begins, 2 for a later word it begins;
// -1 when the place is not named, or not in the region or country named.
int Gazetteer::Rank(const Entry& entry, const Query& query) const {
    int rank = -1;
    if (entry.key == query.name) {
        rank = 0;
    } else if (StartsWith(entry.key, query.name)) {
        rank = 1;
    } else if (WordStartsWith(entry.key, query.name)) {
        rank = 2;
    } else {
        return -1;
    }
    const auto inCountry = [&](const std::string& key) {
        const auto& keys = countries_[entry.country].keys;
        return std::any_of(keys.begin(), keys.end(),
                           [&](const std::string& k) { return StartsWith(k, key); });
    };
    const auto inRegion = [&](const std::string& key) {
        return !entry.regionKey.empty() && StartsWith(entry.regionKey, key);
    };
    switch (query.qualifiers.size()) {
        case 0:
            return rank;
        case 1:
            return inCountry(query.qualifiers[0]) || inRegion(query.qualifiers[0]) ? rank : -1;
        case 2:
            return inRegion(query.qualifiers[0]) && inCountry(query.qualifiers[1]) ? rank : -1;
        default:
            return -1;
    }
}

std::array<std::vector<size_t>, 3> Gazetteer::Matches(std::string_view text) const {
    Query query;
    for (bool first = true; first || !text.empty(); first = false) {
        const size_t comma = text.find(',');
        std::string key = SearchKey(Trimmed(text.substr(0, comma)));
        text.remove_prefix(comma == std::string_view::npos ? text.size() : comma + 1);
        if (first) {
            query.name = std::move(key);
        } else if (!key.empty()) {
            query.qualifiers.push_back(std::move(key));
        }
    }
    std::array<std::vector<size_t>, 3> byRank;
    if (query.name.empty()) return byRank;
    for (size_t i = 0; i < entries_.size(); ++i) {
        const int rank = Rank(entries_[i], query);
        if (rank >= 0) byRank[static_cast<size_t>(rank)].push_back(i);
    }
    return byRank;
}

std::vector<size_t> Gazetteer::Search(std::string_view query, size_t limit) const {
    std::vector<size_t> found;
    for (const auto& ranked : Matches(query)) {
        for (size_t i : ranked) {
            if (found.size() == limit) return found;
            found.push_back(i);
        }
    }
    return found;
}

std::vector<size_t> Gazetteer::BestMatches(std::string_view query) const {
    for (auto& ranked : Matches(query)) {
        if (!ranked.empty()) return std::move(ranked);
    }
    return {};
}

std::optional<size_t> Gazetteer::Nearest(double latitude, double longitude) const {
    constexpr double kRad = 3.14159265358979323846 / 180;
    std::optional<size_t> nearest;
    double best = 0;
    for (size_t i = 0; i < places_.size(); ++i) {
        const Place& p = places_[i];
        // The haversine of the central angle: smallest for the nearest place.
        const double dLat = std::sin((p.latitude - latitude) * kRad / 2);
        const double dLon = std::sin((p.longitude - longitude) * kRad / 2);
        const double h =
            dLat * dLat + std::cos(latitude * kRad) * std::cos(p.latitude * kRad) * dLon * dLon;
        if (!nearest || h < best) {
            nearest = i;
            best = h;
        }
    }
    return nearest;
}

std::string Gazetteer::DisplayName(size_t index) const {
    const Place& p = places_[index];
    if (entries_[index].sharedName && !p.region.empty()) {
        return p.name + ", " + p.region + ", " + p.country;
    }
    return p.name + ", " + p.country;
}

}  // namespace orvano
