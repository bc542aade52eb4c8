// The content of data.cfg in memory.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "astro/records.h"

namespace orvano {

inline constexpr int kConventionCount = 9;
inline constexpr size_t kMaxTextChars = 79;  // names keep at most 79 characters

struct Town {
    std::string Country;
    std::string Name;
    double longitude = 0.0;  // degrees, east positive
    double latitude = 0.0;   // degrees, north positive
    int TimeZone = 0;
    int Convention = 0;
    int DST = 0;
    // The zone named by an "8 zone <Name>" line after the town's line; empty
    // when there is none. Kept as read, known to the zone database or not.
    std::string Zone;
    // The catalogue method named by an "8 method <id>" line after the town's
    // line; empty when there is none. Wins over Convention, which stays for
    // readers that do not know the record.
    std::string Method;
};

// Which way a time is brought to its shown minute.
enum class MinuteRounding : unsigned char { Nearest, Up, Down };

// How a Fajr or Isha whose twilight is never reached is estimated: a seventh
// of the night, half of it, or the twilight angle's sixtieth of it; or not at
// all.
enum class HighLatitudeRule : unsigned char { Seventh, Middle, Angle, None };

inline constexpr HighLatitudeRule kDefaultHighLatitudeRule = HighLatitudeRule::Seventh;

struct Convention {
    std::array<double, kPrayerCount> AddedMinutes{};
    bool AsrShafii = false;
    bool Isha_is_Maghrib_plus = false;
    bool ZuhrFixe = false;
    double FajrTwilightAngle = 0.0;  // degrees
    double IshaTwilightAngle = 0.0;  // degrees
    double SunriseSetAngle = 0.0;    // degrees
    int IshaPlusMinutes = 0;
    double ZuhrHour = 0.0;  // local hours
    std::string Name;
    // Rules only a catalogue method sets; data.cfg holds none of them, so a
    // convention read from it keeps these defaults.
    std::optional<double> MaghribAngle;              // degrees below the horizon; else sunset
    std::optional<double> FajrMinutesBeforeSunrise;  // else the Fajr angle
    bool MoonsightingSeasons = false;  // Fajr and Isha by the Moonsighting Committee's formula
    MinuteRounding Rounding = MinuteRounding::Nearest;
    // Isha's minutes after Maghrib on the days of Ramadan, where the method sets them.
    std::optional<int> IshaRamadanMinutes;
    // The night the night times divide ends at the next sunrise rather than
    // at the next Fajr.
    bool NightEndsAtSunrise = false;
    // The method's estimate of a failed Fajr or Isha, for users who have
    // chosen none.
    HighLatitudeRule HighLatitude = kDefaultHighLatitudeRule;
};

enum class TextEncoding { Utf8, Windows1252 };

struct ConfigTables {
    std::array<Convention, kConventionCount> Conventions{};
    // NumberOfTowns slots once a header is read; the reader keeps the two in
    // step (no slot when NumberOfTowns is below 1).
    std::vector<Town> Towns;
    int NumberOfTowns = 0;
    int TownSelected = 0;
    int Verbose = 0;
    // How the file was encoded when read, so that a save writes it back the same way.
    TextEncoding encoding = TextEncoding::Utf8;
};

}  // namespace orvano
