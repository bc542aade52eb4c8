// The offline gazetteer: populated places of the world with their country,
// region, coordinates, zone and population, read from the file that
// tools/make-gazetteer writes, and searched by name.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvano {

struct Place {
    std::string name;         // as the place writes it ("São Paulo")
    std::string asciiName;    // its letters without accents ("Sao Paulo")
    std::string countryCode;  // ISO 3166 ("BR")
    std::string country;      // English name ("Brazil")
    std::string region;       // first-level region ("Sao Paulo"), empty when unknown
    double latitude = 0.0;    // degrees, north positive
    double longitude = 0.0;   // degrees, east positive
    std::string zone;         // IANA zone ("America/Sao_Paulo")
    long population = 0;
};

class Gazetteer {
  public:
    // Reads the file; nullopt with `error` set ("<path>: line 12: ...") when
    // it cannot be opened or a line is malformed.
    static std::optional<Gazetteer> Load(const std::string& path, std::string& error);
    // The same from the file's text, `origin` naming it in errors.
    static std::optional<Gazetteer> Parse(std::string_view text, const std::string& origin,
                                          std::string& error);

    // The places `query` names, best first, at most `limit`: "Name",
    // "Name, Country" or "Name, Region, Country", where the name may be cut
    // short ("kuala lum") and case, accents and punctuation don't matter; a
    // country is also named by its ISO code. An exact name ranks before a
    // name it begins, which ranks before a name one of whose later words it
    // begins; then the more populous first.
    std::vector<size_t> Search(std::string_view query, size_t limit) const;
    // Search's results that match as well as the first does: the places a
    // person most likely meant, one unless the name is shared.
    std::vector<size_t> BestMatches(std::string_view query) const;
    // The place nearest to the coordinates (degrees); nullopt when empty.
    std::optional<size_t> Nearest(double latitude, double longitude) const;

    const Place& place(size_t index) const { return places_[index]; }
    size_t size() const { return places_.size(); }
    // "Name, Country", or "Name, Region, Country" when another place of the
    // gazetteer has the same name.
    std::string DisplayName(size_t index) const;

  private:
    struct Country {
        std::string code, name;
        std::vector<std::string> keys;  // the name's, its other names', the code's
    };
    struct Entry {
        std::string key;        // SearchKey of the place's name
        std::string regionKey;  // of its region
        size_t country = 0;     // in countries_
        bool sharedName = false;
    };
    struct Query;
    struct Reading;
    // One record of the file; the reason it is refused, empty when it is not.
    std::string ReadCountry(const std::vector<std::string_view>& fields, Reading& reading);
    std::string ReadPlace(const std::vector<std::string_view>& fields, Reading& reading);
    // Orders the places read, most populous first, and makes their keys.
    void Index(const std::vector<size_t>& countryOfPlace);
    int Rank(const Entry& entry, const Query& query) const;
    // The places the query names, by rank: exact names, names it begins, later words it begins.
    std::array<std::vector<size_t>, 3> Matches(std::string_view query) const;

    std::vector<Place> places_;
    std::vector<Entry> entries_;
    std::vector<Country> countries_;
};

}  // namespace orvano
