// The data.cfg grammar shared by both readers (the application's and the
// plug-in's) and by the writer: a scanner with the field rules of formatted
// input, one record at a time, the fixed line layouts and the message texts.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "astro/records.h"
#include "config/records.h"

namespace orvano {

// Results of a read; the same codes for both readers.
enum ReadResult : int {
    kReadOk = 0,
    kReadOpenError = 1,        // data.cfg cannot be opened
    kReadEchoOpenError = 2,    // read_echo.cfg cannot be created
    kReadBadFormat = 3,        // unknown kind or unreadable record
    kReadTownCountError = 4,   // town lines differ from NumberOfTowns
    kReadTownOutOfRange = 5,   // TownSelected outside the table
    kReadInvalidTownCount = 6  // header with NumberOfTowns below 1 or too large
};

// The system's own texts.
inline constexpr const char* kCaptionFileOpenError = "File open error";
inline constexpr const char* kCaptionReadError = "Read error";
inline constexpr const char* kCaptionWriteError = "File open error for writing data.cfg";
inline constexpr const char* kCaptionDiskFull = "Disk full: data.cfg was not written";
inline constexpr const char* kCaptionDataCfgLocked = "data.cfg is in use";
inline constexpr const char* kTextWouldReadDifferently =
    "data.cfg would not read back as it is: a text in it is not valid UTF-8";
inline constexpr const char* kTextBadFormat = "bad format of data.cfg";
inline constexpr const char* kTextTownCount = "Number of towns does not match NTowns";
inline constexpr const char* kTextInvalidTownCount = "Invalid number of towns in data.cfg";
inline constexpr const char* kConsoleTownOutOfRange = "Error : Selected town out of range\n";
// The plug-in shows this one in a box instead of the console line.
inline constexpr const char* kTextTownOutOfRange = "Selected town out of range";
inline constexpr const char* kEchoTitleLine =
    "8 -----------------  File reading transcription  ---------------\n";

// The rest of a comment or name line is kept up to this many characters.
inline constexpr size_t kMaxLineRestChars = 199;
// A larger town table is refused rather than allocated.
inline constexpr int kMaxNumberOfTowns = 100000;

// What the numbers of a record can mean; a value outside is a bad format:
// latitude -90..90, longitude -180..180, time zone -12..14 whole hours, a town's
// convention 0..8, angles -90..90, added and Isha minutes within one day either
// way, the fixed Zuhr hour 0..24.
inline constexpr int kMinTimeZone = -12;
inline constexpr int kMaxTimeZone = 14;
inline constexpr int kMaxAddedMinutes = 1440;

inline bool ValidNumberOfTowns(int n) {
    return n >= 1 && n <= kMaxNumberOfTowns;
}
inline bool ValidConventionIndex(int i) {
    return i >= 0 && i < kConventionCount;
}

// Reads fields from UTF-8 text the way formatted input does: every field skips
// the white space before it (spaces, tabs, line ends), a number stops at the
// first character that cannot continue it, and the rest-of-line read starts
// exactly where the last field stopped. Numbers never depend on the locale.
class CfgScanner {
  public:
    enum class Scan { Ok, End, Bad };

    explicit CfgScanner(std::string_view text) : text_(text) {}

    // A decimal integer with optional sign that fits in 32 bits.
    Scan ReadInt(int& value);
    // A finite real number.
    Scan ReadDouble(double& value);
    // A run of non-white characters, kept up to 79 characters; the whole run is
    // consumed either way.
    Scan ReadWord(std::string& word);
    // Everything up to the line end (not included; a carriage return before it
    // is dropped), kept up to 199 characters; the line end is consumed.
    std::string ReadRestOfLine();

    bool AtEnd() const { return pos_ >= text_.size(); }
    size_t position() const { return pos_; }

  private:
    void SkipSpace();

    std::string_view text_;
    size_t pos_ = 0;
};

// The integers of a convention-parameters line exactly as read; a flag is true
// only when its integer is 1.
struct ConventionParamsRecord {
    int index = 0;
    int AsrShafii = 0;
    double FajrTwilightAngle = 0.0;
    double IshaTwilightAngle = 0.0;
    double SunriseSetAngle = 0.0;
    int Isha_is_Maghrib_plus = 0;
    int IshaPlusMinutes = 0;
    int ZuhrFixe = 0;
    double ZuhrHour = 0.0;
};

struct Record {
    enum class Type {
        End,               // nothing more in the file
        BadFormat,         // unknown kind, a kind that is no number, an unreadable field
        Header,            // kind 1
        Town,              // kind 2
        ConventionParams,  // kind 3
        AddedMinutes,      // kind 4
        ConventionName,    // kind 5
        Comment            // kind 8
    };
    Type type = Type::End;
    bool kindRead = false;  // whether `kind` holds the number that starts the record
    int kind = 0;

    // Header
    int NumberOfTowns = 0;
    int TownSelected = 0;
    int Verbose = 0;
    // Town
    orvano::Town town;
    // Kinds 3, 4 and 5 carry a convention index from 0 to 8.
    ConventionParamsRecord params;
    int conventionIndex = 0;
    std::array<double, kPrayerCount> addedMinutes{};
    std::string name;  // kind 5: between the first two double quotes, else empty
    std::string rest;  // kinds 5 and 8: the rest of the line as read
};

// Reads the next record. A convention index outside 0..8, or a value outside
// what it can mean (see above), is a bad format.
Record ReadRecord(CfgScanner& scanner);

// The zone a comment record names when it is a zone record: the rest of the
// line (after the kind) holds the word "zone" and one well-formed zone name.
// Empty for any other comment, malformed names included.
std::string ZoneRecordName(std::string_view rest);
// The whole zone line of a town, line end included; empty when the town has
// no zone or its name is malformed.
std::string ZoneLine(const Town& town);

// The method a comment record names when it is a method record: the word
// "method" and one well-formed method id. Empty for any other comment.
std::string MethodRecordId(std::string_view rest);
// The whole method line of a town, line end included; empty when it has none.
std::string MethodLine(const Town& town);

// The comment records that may follow a town's line, in either order, each at
// most once.
struct TownRecordsSeen {
    bool zone = false;
    bool method = false;
};
// Applies a comment line that follows a town's line (or the town's other
// records) to the town's zone or method. False when the line is neither, or
// repeats one already seen: the town's records end there.
bool ApplyTownRecord(std::string_view rest, std::string& zone, std::string& method,
                     TownRecordsSeen& seen);

// Stores a kind 3 record into its convention.
void ApplyConventionParams(const ConventionParamsRecord& record, Convention& convention);

// The selected town's working values, angles in radians.
void FillCurrentPlace(const Town& town, CurrentPlace& place);

// The fields of each line after "<kind> ", line end included, in the layout that
// both the writer and the transcription use. Widths count characters.
std::string HeaderFields(int numberOfTowns, int townSelected, int verbose);
std::string TownFields(const Town& town);
std::string ConventionParamsFields(const ConventionParamsRecord& record);
std::string AddedMinutesFields(int index, const std::array<double, kPrayerCount>& minutes);
std::string ConventionNameFields(int index, std::string_view name);

// printf's "%d", "%g" (six significant digits) and "%.Nf" in the "C" locale
// whatever the process's locale, and left justification counted in characters.
std::string IntText(int value);
std::string GeneralText(double value);
std::string FixedText(double value, int decimals);
std::string PadRight(std::string text, size_t width);

}  // namespace orvano
