#include "config/writer.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <vector>

#include "config/grammar.h"
#include "config/text_encoding.h"
#include "fileio/file_lock.h"
#include "fileio/kept_file.h"

namespace orvano {

const std::array<const char*, 6> kSourceUrls = {
    "https://en.wikipedia.org/wiki/Salah_times",
    "https://en.wikipedia.org/wiki/Sunrise_equation",
    "https://gml.noaa.gov/grad/solcalc/calcdetails.html",
    "https://aa.usno.navy.mil/faq/sun_approx",
    "https://www.geonames.org/",
    "https://www.openstreetmap.org/",
};

namespace {

constexpr const char* kSeparator =
    "8 ------------------------------------------------------------------\n";
constexpr const char* kTitle =
    "8 --------- Config file for Vevor and Sun position program ---------\n";

// A word of a town line must stay one non-empty word, or the file would not
// read back: white space becomes '_', an empty text becomes "_".
std::string TownWord(const std::string& text) {
    if (text.empty()) return "_";
    std::string word = text;
    for (char& c : word) {
        if (c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r') c = '_';
    }
    return word;
}

// A convention name sits between two double quotes on one line.
std::string NameText(const std::string& text) {
    std::string name = text;
    for (char& c : name) {
        if (c == '"') c = '\'';
        if (c == '\n') c = ' ';
    }
    return name;
}

}  // namespace

std::string DataCfgText(const ConfigTables& tables, MessageSink& boxes) {
    std::string out;
    out += kSeparator;
    out += kTitle;
    out += kSeparator;
    for (int i = 0; i < kConventionCount; ++i) {
        const Convention& c = tables.Conventions[static_cast<size_t>(i)];
        out += "8 Convention Name\n";
        out += "5 " + ConventionNameFields(i, NameText(c.Name));
        out +=
            "8 Convention AsrSahfi/Hanafi FajrTwilightAngle IshaTwilightAngle Sunrise/SetAngle "
            "Isha_is_Maghrib_plus xx mn ZuhrFixe ZuhrHour(h)\n";
        ConventionParamsRecord p;
        p.index = i;
        p.AsrShafii = c.AsrShafii ? 1 : 0;
        p.FajrTwilightAngle = c.FajrTwilightAngle;
        p.IshaTwilightAngle = c.IshaTwilightAngle;
        p.SunriseSetAngle = c.SunriseSetAngle;
        p.Isha_is_Maghrib_plus = c.Isha_is_Maghrib_plus ? 1 : 0;
        p.IshaPlusMinutes = c.IshaPlusMinutes;
        p.ZuhrFixe = c.ZuhrFixe ? 1 : 0;
        p.ZuhrHour = c.ZuhrHour;
        out += "3 " + ConventionParamsFields(p);
        out += "8 - Time (mn) to add to get Vevor\n";
        out += "8 Convention Fajr     Chourouk Zuhr     Asr      Maghrib  Isha\n";
        out += "4 " + AddedMinutesFields(i, c.AddedMinutes);
        out += kSeparator;
    }
    out += "8 - sources :\n";
    for (const char* url : kSourceUrls) out += std::string("8 - ") + url + "\n";
    out += kSeparator;
    out += "8 NumberOfTowns  TownSelected  Verbose\n";
    out += "1 " + HeaderFields(tables.NumberOfTowns, tables.TownSelected, tables.Verbose);
    if (tables.NumberOfTowns < 1) boxes.Show(kTextInvalidTownCount, kCaptionReadError);
    out += kSeparator;
    out += "8 - Town location and TimeZone\n";
    out += "8 Country          Name             latitude    longitude   TimeZone DST Convention\n";
    const size_t count =
        tables.NumberOfTowns < 1
            ? 0
            : std::min(tables.Towns.size(), static_cast<size_t>(tables.NumberOfTowns));
    for (size_t i = 0; i < count; ++i) {
        Town town = tables.Towns[i];
        town.Country = TownWord(town.Country);
        town.Name = TownWord(town.Name);
        out += "2 " + TownFields(town);
        out += ZoneLine(town);
        out += MethodLine(town);
    }
    out += kSeparator;
    return out;
}

namespace {

bool ValueWithin(double value, double low, double high) {
    return value >= low && value <= high;
}

// A value as the reader will see it: the written text read back.
double AsWritten(const std::string& text) {
    double value = 0.0;
    CfgScanner scanner(text);
    if (scanner.ReadDouble(value) != CfgScanner::Scan::Ok) return std::nan("");
    return value;
}

std::string RangeText(double low, double high) {
    return " is outside " + GeneralText(low) + " to " + GeneralText(high);
}

// "<what>, <field>: <value> is outside <low> to <high>", or nothing.
std::string Check(const std::string& what, const char* field, const std::string& written,
                  double low, double high) {
    if (ValueWithin(AsWritten(written), low, high)) return {};
    return what + ", " + field + ": " + written + RangeText(low, high);
}

std::string CheckInt(const std::string& what, const char* field, int value, int low, int high) {
    if (value >= low && value <= high) return {};
    return what + ", " + field + ": " + IntText(value) + RangeText(low, high);
}

}  // namespace

std::string TownProblem(const Town& town) {
    // Written as it is, such a name would make the reader take the whole file
    // as Windows-1252 and change every other name in it.
    if (!IsValidUtf8(town.Name) || !IsValidUtf8(town.Country) || !IsValidUtf8(town.Zone)) {
        return "A town's name, country or zone is not valid UTF-8";
    }
    const std::string what = "Town " + TownWord(town.Name);
    for (std::string problem :
         {Check(what, "latitude", FixedText(town.latitude, 6), -90, 90),
          Check(what, "longitude", FixedText(town.longitude, 6), -180, 180),
          CheckInt(what, "TimeZone", town.TimeZone, kMinTimeZone, kMaxTimeZone),
          CheckInt(what, "Convention", town.Convention, 0, kConventionCount - 1)}) {
        if (!problem.empty()) return problem;
    }
    return {};
}

std::string ConventionProblem(int index, const Convention& c) {
    std::string what = "Convention " + IntText(index);
    if (!IsValidUtf8(c.Name)) return what + ", name: not valid UTF-8";
    if (!c.Name.empty()) what += " (" + NameText(c.Name) + ")";
    constexpr const char* kAddedNames[] = {"Fajr minutes", "Chourouk minutes", "Zuhr minutes",
                                           "Asr minutes",  "Maghrib minutes",  "Isha minutes"};
    std::vector<std::string> problems = {
        Check(what, "FajrTwilightAngle", GeneralText(c.FajrTwilightAngle), -90, 90),
        Check(what, "IshaTwilightAngle", GeneralText(c.IshaTwilightAngle), -90, 90),
        Check(what, "SunriseSetAngle", GeneralText(c.SunriseSetAngle), -90, 90),
        CheckInt(what, "IshaPlusMinutes", c.IshaPlusMinutes, -kMaxAddedMinutes, kMaxAddedMinutes),
        Check(what, "ZuhrHour", FixedText(c.ZuhrHour, 7), 0, 24)};
    for (size_t i = 0; i < c.AddedMinutes.size(); ++i) {
        problems.push_back(Check(what, kAddedNames[i], GeneralText(c.AddedMinutes[i]),
                                 -kMaxAddedMinutes, kMaxAddedMinutes));
    }
    for (const std::string& problem : problems) {
        if (!problem.empty()) return problem;
    }
    return {};
}

std::string TablesProblem(const ConfigTables& tables) {
    for (int i = 0; i < kConventionCount; ++i) {
        std::string problem = ConventionProblem(i, tables.Conventions[static_cast<size_t>(i)]);
        if (!problem.empty()) return problem;
    }
    // No towns at all is reported by the writer's own box and written anyway.
    if (tables.NumberOfTowns < 1) return {};
    if (tables.NumberOfTowns > kMaxNumberOfTowns ||
        tables.Towns.size() < static_cast<size_t>(tables.NumberOfTowns)) {
        return "NumberOfTowns: " + IntText(tables.NumberOfTowns) + " towns, " +
               std::to_string(tables.Towns.size()) + " in the table";
    }
    if (tables.TownSelected < 0 || tables.TownSelected >= tables.NumberOfTowns) {
        return "TownSelected: " + IntText(tables.TownSelected) +
               RangeText(0, tables.NumberOfTowns - 1);
    }
    for (int i = 0; i < tables.NumberOfTowns; ++i) {
        std::string problem = TownProblem(tables.Towns[static_cast<size_t>(i)]);
        if (!problem.empty()) return problem;
    }
    return {};
}

namespace {

// The bytes the reader decodes back to `text`: in the tables' own encoding,
// unless those bytes happen to form valid UTF-8 (Windows-1252 letters such as
// "Ã¼"), which the reader would take as UTF-8; then as UTF-8.
std::string FaithfulBytes(const std::string& text, TextEncoding encoding) {
    std::string bytes = EncodeConfigText(text, encoding);
    TextEncoding readAs = TextEncoding::Utf8;
    if (DecodeConfigBytes(bytes, readAs) != text) bytes = text;
    return bytes;
}

}  // namespace

bool WriteDataCfg(const std::string& path, const ConfigTables& tables, MessageSink& boxes) {
    // Refused before anything is written: a file no reader accepts would lose every town.
    const std::string problem = TablesProblem(tables);
    if (!problem.empty()) {
        boxes.Show(problem, kCaptionWriteError);
        return false;
    }
    const std::string text = DataCfgText(tables, boxes);
    const std::string bytes = FaithfulBytes(text, tables.encoding);
    TextEncoding readAs = TextEncoding::Utf8;
    if (DecodeConfigBytes(bytes, readAs) != text) {
        boxes.Show(kTextWouldReadDifferently, kCaptionWriteError);
        return false;
    }
    // Temporary files are "data.cfg.<16 hex digits>", as they always were.
    if (ReplaceKeptFile(path, bytes, "")) return true;
    // A full disk is not an open error, and says what the user can do about it.
    const bool full = errno == ENOSPC || errno == EDQUOT;
    boxes.Show(path, full ? kCaptionDiskFull : kCaptionWriteError);
    return false;
}

bool LockDataCfg(FileLock& lock, const std::string& path, MessageSink& boxes) {
    if (lock.Acquire(path)) return true;
    // Not a regular file (a FIFO, a device): there is nothing to protect, and
    // the read that follows refuses it with the reader's own message.
    if (errno == EINVAL || errno == EISDIR) return true;
    // A folder where the lock cannot be made is one where data.cfg cannot be replaced.
    if (errno == EWOULDBLOCK) {
        boxes.Show(LockBusyText(path), kCaptionDataCfgLocked);
    } else {
        boxes.Show(path, kCaptionWriteError);
    }
    return false;
}

}  // namespace orvano
