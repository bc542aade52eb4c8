// The catalogue of calculation methods: each authority's rules, read from the
// text files of PREFIX/share/orvano/methods/ and $XDG_CONFIG_HOME/orvano/methods/
// (the format is described at the top of resources/methods/orvano.methods),
// plus the nine conventions of data.cfg as the methods "slot0" to "slot8".
#pragma once

#include <array>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "astro/records.h"
#include "config/records.h"

namespace orvano {

// The longest method id; ids are lower-case letters, digits, '-' and '_',
// starting with a letter.
inline constexpr size_t kMaxMethodIdBytes = 32;
bool MethodIdWellFormed(std::string_view id);

// How a twilight prayer (Fajr or Isha) is found.
struct TwilightRule {
    enum class Kind {
        Angle,     // the Sun `value` degrees below the horizon
        Minutes,   // Fajr: `value` minutes before sunrise; Isha: after Maghrib
        Seasonal,  // the named seasonal rule (SeasonalRule) in minutes from sunrise/sunset
    };
    Kind kind = Kind::Angle;
    double value = 0.0;
};

// How Maghrib is found: sunset plus minutes, or the Sun at an angle below the
// horizon (solved as sunset is, at that angle).
struct MaghribRule {
    enum class Kind { AfterSunset, Angle };
    Kind kind = Kind::AfterSunset;
    double value = 0.0;
};

// How Zuhr is found: the transit plus minutes, or a fixed local hour.
struct ZuhrRule {
    enum class Kind { AfterTransit, FixedHour };
    Kind kind = Kind::AfterTransit;
    double value = 0.0;
};

// Where the night's middle is counted from, for the night times: sunset to
// sunrise, or sunset to Fajr.
enum class MidnightRule : unsigned char { Standard, Jafari };

// The seasonal rule the catalogue knows. Only one is published with its
// formula: the Moonsighting Committee's (Syed Khalid Shaukat, "Fajr and
// Isha", September 2015, section 11), Fajr before sunrise and Isha (the
// general Shafaq) after sunset, in minutes, as functions of the latitude and
// of the days since the winter solstice.
enum class SeasonalRule : unsigned char { None, Moonsighting };

struct Method {
    std::string id;
    std::string name;    // English
    std::string nameFr;  // "name.fr"; empty: the English name
    std::string authority;
    std::string source;  // where the values come from, with dates

    TwilightRule fajr{TwilightRule::Kind::Angle, 18.0};
    double sunriseSetAngle = 0.833;  // degrees below the horizon
    MaghribRule maghrib;
    TwilightRule isha{TwilightRule::Kind::Angle, 17.0};
    // Isha's minutes after Maghrib in Ramadan, where the authority sets them.
    std::optional<double> ishaRamadanMinutes;
    SeasonalRule seasonal = SeasonalRule::None;
    double asrFactor = 1.0;  // shadow length over the object's, beyond the noon shadow
    ZuhrRule zuhr;
    // Minutes added to each shown time (PrayerIndex order); negative = earlier.
    std::array<double, kPrayerCount> precaution{};
    MinuteRounding rounding = MinuteRounding::Nearest;
    // The rule for a Fajr or Isha whose twilight is never reached, where the
    // user has chosen none.
    HighLatitudeRule highLatitude = kDefaultHighLatitudeRule;
    MidnightRule midnight = MidnightRule::Standard;

    // Where it was read ("FILE:LINE"), or "data.cfg" for a slot.
    std::string origin;
    int slot = -1;  // 0..8 for the data.cfg conventions, else -1
};

// One problem found while reading a catalogue file: "FILE:LINE: text".
struct MethodProblem {
    std::string where;
    std::string text;
};

struct MethodCatalogue {
    std::vector<Method> methods;  // in the order read, later files replacing earlier ids
    std::vector<MethodProblem> problems;

    const Method* Find(std::string_view id) const;
};

// Reads one catalogue text; `name` is used in the origins and problems. A
// method with any problem is left out whole; the others are kept. A method
// whose id is already in `catalogue` replaces it (a user's file overrides the
// installed one).
void ReadMethodText(std::string_view text, const std::string& name, MethodCatalogue& catalogue);

// Reads every "*.methods" file of each folder, in name order, folders in the
// order given; a missing folder is no problem, an unreadable file is.
void ReadMethodFolders(const std::vector<std::string>& folders, MethodCatalogue& catalogue);

// A convention as a method (MethodAsConvention's inverse), without id, name's
// translation, authority or source; added minutes stay precaution minutes.
Method MethodFromConvention(const Convention& convention);
// The data.cfg convention slot `index` as a method ("slot<index>").
Method SlotMethod(int index, const Convention& convention);
// The catalogue's methods followed by the nine slots of `tables`; a file's
// method named "slotN" is refused (the slots' ids are taken).
MethodCatalogue FullCatalogue(const std::vector<std::string>& folders, const ConfigTables& tables);

// N for the id "slotN" of a data.cfg convention, else -1.
int SlotOfMethodId(std::string_view id);

// Every method of the catalogue that the engine can compute, as its
// convention (MethodAsConvention), by id; the slots are not among them.
std::map<std::string, Convention, std::less<>> MethodConventions(const MethodCatalogue& catalogue);

// The catalogue read from `folders` as MethodConventions, for a program's
// engine; problems are left to `orvano-cli methods` to report.
std::map<std::string, Convention, std::less<>> ReadMethodConventions(
    const std::vector<std::string>& folders);

// The text form of the rules, as a catalogue file writes them ("angle 18",
// "before-sunrise 100", ...), for listings.
// The method's name for readers of `language` (a code): the catalogue's own
// name in that language where it gives one ("name.fr"), else the English name.
const std::string& MethodNameIn(const Method& method, std::string_view language);

std::string FajrRuleText(const Method& method);
std::string MaghribRuleText(const Method& method);
std::string IshaRuleText(const Method& method);
std::string ZuhrRuleText(const Method& method);
const char* RoundingName(MinuteRounding rounding);
const char* MidnightName(MidnightRule rule);
const char* SeasonalName(SeasonalRule rule);

// One method as the lines of a catalogue file (for a fitted method written to
// the user's file); reads back to the same method.
std::string MethodText(const Method& method);

// The method as the convention the engine computes with (its rules beyond
// data.cfg's in the convention's extra fields); nothing for an Asr factor
// other than 1 or 2, or Isha minutes after Maghrib that are not whole.
std::optional<Convention> MethodAsConvention(const Method& method);

}  // namespace orvano
