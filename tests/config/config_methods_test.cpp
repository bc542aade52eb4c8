// The method catalogue: the bundled file, bad lines, a user's file over the
// installed one, and the data.cfg conventions as methods.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "config/methods.h"
#include "config/reader.h"
#include "tests/config/config_test_support.h"

namespace orvano {
namespace {

using testing::Read;

const std::string kBundledFolder = std::string(ORVANO_SOURCE_DIR) + "/resources/methods";

MethodCatalogue Bundled() {
    MethodCatalogue catalogue;
    ReadMethodFolders({kBundledFolder}, catalogue);
    return catalogue;
}

TEST(MethodCatalogue, BundledFileReadsWholeWithEveryMethodTheUsersAskFor) {
    const MethodCatalogue catalogue = Bundled();
    EXPECT_TRUE(catalogue.problems.empty())
        << catalogue.problems.front().where << ": " << catalogue.problems.front().text;
    for (const char* id :
         {"mwl",     "isna",   "egypt",     "umm-al-qura",  "karachi", "karachi-hanafi", "uoif",
          "diyanet", "jakim",  "muis",      "kemenag",      "brunei",  "tehran",         "jafari",
          "gulf",    "kuwait", "qatar",     "dubai",        "morocco", "algeria",        "tunisia",
          "jordan",  "russia", "france-15", "moonsighting", "bosnia"}) {
        const Method* m = catalogue.Find(id);
        ASSERT_NE(m, nullptr) << id;
        EXPECT_FALSE(m->source.empty()) << id;
        EXPECT_FALSE(m->authority.empty()) << id;
    }
    // The rules the nine slots could not hold.
    const Method& tehran = *catalogue.Find("tehran");
    EXPECT_EQ(tehran.maghrib.kind, MaghribRule::Kind::Angle);
    EXPECT_EQ(tehran.maghrib.value, 4.5);
    EXPECT_EQ(tehran.midnight, MidnightRule::Jafari);
    EXPECT_EQ(catalogue.Find("jafari")->maghrib.value, 4.0);
    EXPECT_EQ(catalogue.Find("umm-al-qura")->ishaRamadanMinutes, 120.0);
    EXPECT_EQ(catalogue.Find("jakim")->fajr.value, 18.0);
    EXPECT_EQ(catalogue.Find("kemenag")->rounding, MinuteRounding::Up);
    EXPECT_EQ(catalogue.Find("moonsighting")->seasonal, SeasonalRule::Moonsighting);
    EXPECT_EQ(catalogue.Find("karachi-hanafi")->asrFactor, 2.0);
}

TEST(MethodCatalogue, EveryMethodWrittenAsTextReadsBackTheSame) {
    for (const Method& m : Bundled().methods) {
        MethodCatalogue again;
        ReadMethodText(MethodText(m), "again", again);
        ASSERT_TRUE(again.problems.empty()) << m.id << ": " << again.problems.front().text;
        ASSERT_EQ(again.methods.size(), 1u);
        EXPECT_EQ(MethodText(again.methods[0]), MethodText(m));
    }
}

// A bad line costs its own method only, and says where it is.
TEST(MethodCatalogue, BadLinesAreReportedWithTheirLineAndLeaveOutTheirMethodOnly) {
    const std::string good = "[good]\nname = G\nauthority = A\nsource = S\n";
    const std::string start = "[bad]\nname = B\nauthority = A\nsource = S\n";
    struct Case {
        std::string line, problem;
    } cases[] = {
        {"fajr = angle 95", "is no 'angle D'"},
        {"fajr = after-maghrib 90", "is no 'angle D'"},
        {"isha = angle", "is no 'angle D'"},
        {"isha = after-maghrib 1,5", "is no 'angle D'"},
        {"maghrib = angle -95", "is no 'after-sunset M'"},
        {"zuhr = fixed 25", "is no 'after-transit M'"},
        {"asr = 0", "is no shadow factor"},
        {"precaution = 1 2 3", "is no list of six minutes"},
        {"rounding = ceiling", "is no rounding"},
        {"high-latitude = polar", "is no high-latitude rule"},
        {"colour = red", "unknown key 'colour'"},
        {"name = twice", "'name' twice"},
        {"just words", "no 'key = value'"},
        {"fajr = seasonal", "'seasonal' needs a seasonal rule"},
        {"seasonal = moonsighting", "neither Fajr nor Isha uses"},
        {"isha.ramadan = after-maghrib 120", "isha.ramadan needs Isha after Maghrib"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        MethodCatalogue catalogue;
        ReadMethodText(start + c.line + "\n" + good, "user.methods", catalogue);
        ASSERT_EQ(catalogue.problems.size(), 1u);
        EXPECT_NE(catalogue.problems[0].text.find(c.problem), std::string::npos)
            << catalogue.problems[0].text;
        // What the method as a whole lacks is reported at its header.
        const bool wholeMethod = c.problem.find("needs") != std::string::npos ||
                                 c.problem.find("neither") != std::string::npos;
        EXPECT_EQ(catalogue.problems[0].where, wholeMethod ? "user.methods:1" : "user.methods:5");
        ASSERT_EQ(catalogue.methods.size(), 1u);
        EXPECT_EQ(catalogue.methods[0].id, "good");
    }
    for (const std::string header : {"[Bad]", "[slot3]", "[]", "[good"}) {
        MethodCatalogue catalogue;
        ReadMethodText(header + "\nname = B\nauthority = A\nsource = S\n" + good, "f", catalogue);
        EXPECT_EQ(catalogue.problems.size(), 1u) << header;
        EXPECT_EQ(catalogue.methods.size(), 1u) << header;
    }
    MethodCatalogue twice;
    ReadMethodText(good + good, "f", twice);
    EXPECT_EQ(twice.problems.size(), 1u);
}

TEST(MethodCatalogue, UsersFileReplacesTheInstalledMethodOfTheSameId) {
    testing::TempFolder user;
    std::ofstream(user.path() + "/mine.methods")
        << "[jakim]\nname = My JAKIM\nauthority = me\nsource = fitted by me\nfajr = angle 18.3\n";
    std::ofstream(user.path() + "/ignored.txt") << "[x]\n";
    MethodCatalogue catalogue;
    ReadMethodFolders({kBundledFolder, user.path(), user.path() + "/missing"}, catalogue);
    EXPECT_TRUE(catalogue.problems.empty());
    EXPECT_EQ(catalogue.methods.size(), Bundled().methods.size());
    EXPECT_EQ(catalogue.Find("jakim")->fajr.value, 18.3);
    EXPECT_EQ(catalogue.Find("jakim")->origin, user.path() + "/mine.methods:1");
}

// Each convention of the bundled data.cfg is a method, and as a convention again
// it is the convention it came from.
TEST(MethodCatalogue, DataCfgSlotsAreMethodsThatGiveTheirConventionBack) {
    Read r(testing::ReadFile(std::string(ORVANO_SOURCE_DIR) + "/resources/data.cfg"));
    ASSERT_EQ(r.result, kReadOk);
    const MethodCatalogue catalogue = FullCatalogue({kBundledFolder}, r.tables);
    for (int i = 0; i < kConventionCount; ++i) {
        const Convention& c = r.tables.Conventions[static_cast<size_t>(i)];
        const Method* m = catalogue.Find("slot" + std::to_string(i));
        ASSERT_NE(m, nullptr);
        EXPECT_EQ(m->slot, i);
        const std::optional<Convention> back = MethodAsConvention(*m);
        ASSERT_TRUE(back.has_value()) << i;
        EXPECT_EQ(back->FajrTwilightAngle, c.FajrTwilightAngle);
        EXPECT_EQ(back->Isha_is_Maghrib_plus, c.Isha_is_Maghrib_plus);
        EXPECT_EQ(c.Isha_is_Maghrib_plus ? back->IshaPlusMinutes : back->IshaTwilightAngle,
                  c.Isha_is_Maghrib_plus ? c.IshaPlusMinutes : c.IshaTwilightAngle);
        EXPECT_EQ(back->AsrShafii, c.AsrShafii);
        EXPECT_EQ(back->AddedMinutes, c.AddedMinutes);
        EXPECT_EQ(back->Name, c.Name);
    }
}

// The rules beyond data.cfg's reach the engine through the convention's
// extra fields; minutes after sunset move Maghrib and, with it, Isha.
TEST(MethodCatalogue, MethodsBecomeTheConventionsTheEngineComputesWith) {
    MethodCatalogue catalogue = Bundled();
    auto convention = [&](const char* id) { return MethodAsConvention(*catalogue.Find(id)); };
    EXPECT_EQ(convention("tehran")->MaghribAngle, 4.5);
    EXPECT_EQ(convention("jakim")->Rounding, MinuteRounding::Up);
    EXPECT_EQ(convention("kemenag")->AddedMinutes[Chourouk], -2.0);
    EXPECT_TRUE(convention("moonsighting")->MoonsightingSeasons);
    EXPECT_EQ(convention("moonsighting")->AddedMinutes[Zuhr], 5.0);
    EXPECT_EQ(convention("algeria")->AddedMinutes[Maghrib], 3.0);
    EXPECT_FALSE(convention("mwl")->MaghribAngle.has_value());
    ReadMethodText(
        "[mosque]\nname = M\nauthority = A\nsource = S\nfajr = before-sunrise 100\n"
        "maghrib = after-sunset 5\nisha = after-maghrib 80\n"
        "[half]\nname = H\nauthority = A\nsource = S\nisha = after-maghrib 80.5\n"
        "[odd-asr]\nname = O\nauthority = A\nsource = S\nasr = 1.5\n",
        "user", catalogue);
    const std::optional<Convention> mosque = convention("mosque");
    EXPECT_EQ(mosque->FajrMinutesBeforeSunrise, 100.0);
    EXPECT_EQ(mosque->IshaPlusMinutes, 85);
    EXPECT_EQ(mosque->AddedMinutes[Maghrib], 5.0);
    EXPECT_FALSE(convention("half").has_value());
    EXPECT_FALSE(convention("odd-asr").has_value());
}

}  // namespace
}  // namespace orvano
