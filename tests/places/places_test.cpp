// Searching places by name: the keys names are compared by, the ranking, the
// qualified names, the file's records; and the installed gazetteer's places.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/methods.h"
#include "places/authority.h"
#include "places/gazetteer.h"
#include "places/new_town.h"
#include "places/text_key.h"
#include "tests/places/installed_gazetteer.h"

namespace orvano {
namespace {

TEST(SearchKey, IgnoresCaseAccentsAndPunctuation) {
    const struct {
        const char* text;
        const char* key;
    } cases[] = {
        {"São Paulo", "sao paulo"},
        {"Saint-Denis", "saint denis"},
        {"  Kuala   Lumpur ", "kuala lumpur"},
        {"Xi’an", "xian"},
        {"Xi'an", "xian"},
        {"TROMSØ", "tromso"},
        {"Łódź", "lodz"},
        {"Ürümqi", "urumqi"},
        {"Sao_Paulo", "sao paulo"},
        {"St. John's", "st johns"},
        {"Ḩawsh ‘Īsá", "hawsh isa"},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(SearchKey(c.text), c.key) << c.text;
}

// Three countries, two regions of the same name's places, populations out of order.
constexpr const char* kTable =
    "# a small gazetteer\n"
    "C\tIN\tIndia\t\n"
    "C\tPK\tPakistan\tIslamic Republic of Pakistan\n"
    "C\tUS\tUSA\tUnited States|United States of America\n"
    "R\tTelangana\n"
    "R\tSindh\n"
    "Z\tAsia/Kolkata\n"
    "Z\tAsia/Karachi\n"
    "Z\tAmerica/New_York\n"
    "P\tHyderabad Colony\t\tIN\t0\t17.5\t78.5\t0\t20000\n"
    "P\tHyderabad\t\tPK\t1\t25.39242\t68.37366\t1\t1386330\n"
    "P\tHyderabad\t\tIN\t0\t17.38405\t78.45636\t0\t3597816\n"
    "P\tNew Hyderabad\t\tUS\t-1\t40.7\t-74.0\t2\t50000\n"
    "P\tSão Paulo Junction\tSao Paulo Junction\tUS\t-1\t41.0\t-75.0\t2\t16000\n";

TEST(GazetteerSearch, RanksByMatchThenPopulation) {
    std::string error;
    const auto g = Gazetteer::Parse(kTable, "table", error);
    ASSERT_TRUE(g) << error;
    const struct {
        const char* query;
        std::vector<std::string> names;  // DisplayName of each result, best first
    } cases[] = {
        {"hyderabad",
         {"Hyderabad, Telangana, India", "Hyderabad, Sindh, Pakistan", "Hyderabad Colony, India",
          "New Hyderabad, USA"}},
        {"HYDERABAD, pakistan", {"Hyderabad, Sindh, Pakistan"}},
        {"Hyderabad, PK", {"Hyderabad, Sindh, Pakistan"}},
        {"hyderabad, islamic republic", {"Hyderabad, Sindh, Pakistan"}},
        {"Hyderabad, Telangana, India", {"Hyderabad, Telangana, India", "Hyderabad Colony, India"}},
        {"Hyderabad, Sindh, India", {}},
        {"hyder",
         {"Hyderabad, Telangana, India", "Hyderabad, Sindh, Pakistan", "Hyderabad Colony, India",
          "New Hyderabad, USA"}},
        {"colony", {"Hyderabad Colony, India"}},  // a later word, from its beginning
        {"olony", {}},
        {"new hyd", {"New Hyderabad, USA"}},
        {"hyderabad, united states", {"New Hyderabad, USA"}},
        {"sao paulo", {"São Paulo Junction, USA"}},
        {"São-Paulo jun", {"São Paulo Junction, USA"}},
        {" , India", {}},
        {"", {}},
    };
    for (const auto& c : cases) {
        std::vector<std::string> names;
        for (size_t i : g->Search(c.query, 10)) names.push_back(g->DisplayName(i));
        EXPECT_EQ(names, c.names) << c.query;
    }
    EXPECT_EQ(g->Search("hyderabad", 2).size(), 2u);
    EXPECT_EQ(g->BestMatches("hyderabad").size(), 2u);  // the two exact names
    EXPECT_EQ(g->BestMatches("hyderabad co").size(), 1u);
    const auto nearest = g->Nearest(25.0, 68.0);
    ASSERT_TRUE(nearest);
    EXPECT_EQ(g->place(*nearest).countryCode, "PK");
}

TEST(GazetteerParse, RefusesMalformedRecordsNamingTheLine) {
    const std::string head = "C\tIN\tIndia\t\nR\tTelangana\nZ\tAsia/Kolkata\n";
    const struct {
        const char* line;
        const char* error;
    } cases[] = {
        {"P\tX\t\tFR\t0\t17\t78\t0\t1\n", "t: line 4: unknown country FR"},
        {"P\tX\t\tIN\t1\t17\t78\t0\t1\n", "t: line 4: bad region"},
        {"P\tX\t\tIN\t0\t91\t78\t0\t1\n", "t: line 4: bad coordinates"},
        {"P\tX\t\tIN\t0\t17\t78e\t0\t1\n", "t: line 4: bad coordinates"},
        {"P\tX\t\tIN\t0\t17\t78\t1\t1\n", "t: line 4: bad zone"},
        {"P\tX\t\tIN\t0\t17\t78\t0\t-5\n", "t: line 4: bad population"},
        {"P\t\t\tIN\t0\t17\t78\t0\t1\n", "t: line 4: a place without a name"},
        {"P\tX\t\tIN\t0\t17\t78\t0\n", "t: line 4: not a record of the gazetteer"},
        {"Q\tX\n", "t: line 4: not a record of the gazetteer"},
    };
    for (const auto& c : cases) {
        std::string error;
        EXPECT_FALSE(Gazetteer::Parse(head + c.line, "t", error)) << c.line;
        EXPECT_EQ(error, c.error);
    }
    // Files that are not there or not files are refused without blocking.
    const struct {
        const char* path;
        const char* error;
    } files[] = {
        {"/nonexistent/gazetteer.tsv",
         "/nonexistent/gazetteer.tsv: cannot be opened (No such file or directory)"},
        {"/tmp", "/tmp: not a gazetteer"},
    };
    for (const auto& f : files) {
        std::string error;
        EXPECT_FALSE(Gazetteer::Load(f.path, error)) << f.path;
        EXPECT_EQ(error, f.error);
    }
}

TEST(InstalledGazetteer, FindsThePlacesPeopleType) {
    const Gazetteer& g = testing::Installed();
    const struct {
        const char* query;
        const char* first;  // DisplayName of the first result
        const char* zone;
    } cases[] = {
        {"sarajevo", "Sarajevo, Bosnia and Herzegovina", "Europe/Sarajevo"},
        {"Sao Paulo", "São Paulo, Brazil", "America/Sao_Paulo"},
        {"kuala lum", "Kuala Lumpur, Malaysia", "Asia/Kuala_Lumpur"},
        {"oslo", "Oslo, Norway", "Europe/Oslo"},
        {"leicester", "Leicester, United Kingdom", "Europe/London"},
        {"Hyderabad", "Hyderabad, Telangana, India", "Asia/Kolkata"},
        {"Hyderabad, Pakistan", "Hyderabad, Sindh, Pakistan", "Asia/Karachi"},
        {"tromso", "Tromsø, Norway", "Europe/Oslo"},
        {"Reykjavik", "Reykjavík, Iceland", "Atlantic/Reykjavik"},
    };
    for (const auto& c : cases) {
        const auto found = g.Search(c.query, 1);
        ASSERT_EQ(found.size(), 1u) << c.query;
        EXPECT_EQ(g.DisplayName(found[0]), c.first) << c.query;
        EXPECT_EQ(g.place(found[0]).zone, c.zone) << c.query;
    }
}

TEST(NewTown, TakesThePlaceInDataCfgFormAndItsCountrysConvention) {
    const Gazetteer& g = testing::Installed();
    const struct {
        const char* query;
        const char* country;
        const char* name;
        int convention;
        const char* method;
        int timeZone, dst;  // the zone's integers in 2026
    } cases[] = {
        {"Hyderabad, Pakistan", "Pakistan", "Hyderabad", 8, "karachi-hanafi", 5, 0},
        {"Sao Paulo", "Brazil", "São_Paulo", 0, "mwl", -3, 0},
        {"Istanbul", "Turkey", "Istanbul", 6, "diyanet", 3, 0},
        {"Kuala Lumpur", "Malaysia", "Kuala_Lumpur", 7, "jakim", 8, 0},
        {"Riyadh", "Saudi_Arabia", "Riyadh", 3, "umm-al-qura", 3, 0},
        {"Cairo", "Egypt", "Cairo", 2, "egypt", 2, 1},
        {"Toronto", "Canada", "Toronto", 1, "isna", -5, 1},
        {"Oslo", "Norway", "Oslo", 0, "mwl", 1, 1},
    };
    for (const auto& c : cases) {
        const auto found = g.Search(c.query, 1);
        ASSERT_EQ(found.size(), 1u) << c.query;
        const Town town = TownFromPlace(g.place(found[0]), 2026);
        EXPECT_EQ(town.Country, c.country) << c.query;
        EXPECT_EQ(town.Name, c.name) << c.query;
        EXPECT_EQ(town.Convention, c.convention) << c.query;
        EXPECT_EQ(town.Method, c.method) << c.query;
        EXPECT_EQ(town.Zone, g.place(found[0]).zone) << c.query;
        EXPECT_EQ(town.TimeZone, c.timeZone) << c.query;
        EXPECT_EQ(town.DST, c.dst) << c.query;
    }
    EXPECT_EQ(DataCfgName(std::string(100, 'x') + " y").size(), 79u);
    EXPECT_EQ(DataCfgName("Ab c\td"), "Ab_c_d");
    EXPECT_EQ(DataCfgName(std::string(78, 'x') + "éé"), std::string(78, 'x') + "é");
}

// The authorities the country table is asked to name, each with its method,
// each a method that the bundled catalogue holds.
TEST(Authority, EachCountryTakesItsAuthoritysMethodFromTheCatalogue) {
    const struct {
        const char* code;
        const char* method;
    } cases[] = {
        {"TR", "diyanet"},        {"ID", "kemenag"}, {"MY", "jakim"},       {"SG", "muis"},
        {"PK", "karachi-hanafi"}, {"EG", "egypt"},   {"SA", "umm-al-qura"}, {"AE", "dubai"},
        {"KW", "kuwait"},         {"QA", "qatar"},   {"IR", "tehran"},      {"US", "isna"},
        {"CA", "isna"},           {"MA", "morocco"}, {"DZ", "algeria"},     {"TN", "tunisia"},
        {"JO", "jordan"},         {"BN", "brunei"},  {"RU", "russia"},      {"FR", "uoif"},
        {"BA", "bosnia"},         {"NO", "mwl"},     {"XX", "mwl"},
    };
    MethodCatalogue catalogue;
    ReadMethodFolders({std::string(ORVANO_SOURCE_DIR) + "/resources/methods"}, catalogue);
    for (const auto& c : cases) {
        EXPECT_STREQ(DefaultMethod(c.code), c.method) << c.code;
        EXPECT_NE(catalogue.Find(DefaultMethod(c.code)), nullptr) << c.code;
    }
}

TEST(Authority, EveryEntryPointsAtAConventionAndNamesItsSource) {
    EXPECT_EQ(DefaultConvention("XX"), 0);
    for (const char* code : {"TR", "ID", "MY", "SG", "PK", "EG", "SA", "IR", "US", "FR"}) {
        const CountryAuthority* a = AuthorityOf(code);
        ASSERT_NE(a, nullptr) << code;
        EXPECT_GE(a->convention, 0);
        EXPECT_LE(a->convention, 8);
        EXPECT_NE(std::string(a->source), "") << code;
    }
}

}  // namespace
}  // namespace orvano
