#include "config/writer.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <random>
#include <system_error>

#include "config/grammar.h"
#include "config/text_encoding.h"

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
    }
    out += kSeparator;
    return out;
}

namespace {

// Creates a new file beside `target` that no one else is using.
std::FILE* CreateTemporaryBeside(const std::filesystem::path& target,
                                 std::filesystem::path& tempPath) {
    std::random_device seed;
    std::mt19937_64 random(seed());
    for (int attempt = 0; attempt < 16; ++attempt) {
        char suffix[24];
        std::snprintf(suffix, sizeof suffix, ".%016llx", static_cast<unsigned long long>(random()));
        tempPath = target;
        tempPath += suffix;
        // "x": fails instead of reusing a file that already exists.
        if (std::FILE* f = std::fopen(tempPath.c_str(), "wbx")) return f;
        if (errno != EEXIST) return nullptr;
    }
    return nullptr;
}

}  // namespace

bool WriteDataCfg(const std::string& path, const ConfigTables& tables, MessageSink& boxes) {
    std::filesystem::path target(path);
    std::error_code error;
    // A data.cfg that is a link to the user's own file: the file is replaced, the link stays.
    if (std::filesystem::is_symlink(std::filesystem::symlink_status(target, error))) {
        const std::filesystem::path resolved = std::filesystem::canonical(target, error);
        if (!error) target = resolved;
    }
    std::filesystem::path tempPath;
    std::FILE* file = CreateTemporaryBeside(target, tempPath);
    if (file == nullptr) {
        boxes.Show(path, kCaptionWriteError);
        return false;
    }
    const std::string bytes = EncodeConfigText(DataCfgText(tables, boxes), tables.encoding);
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    ok = std::fflush(file) == 0 && ok;
    ok = std::fclose(file) == 0 && ok;
    if (ok) {
        // The user's own permissions on the file survive the replacement.
        const auto status = std::filesystem::status(target, error);
        if (!error && std::filesystem::is_regular_file(status)) {
            std::filesystem::permissions(tempPath, status.permissions(), error);
        }
        error.clear();
        std::filesystem::rename(tempPath, target, error);
        ok = !error;
    }
    if (!ok) {
        std::filesystem::remove(tempPath, error);
        boxes.Show(path, kCaptionWriteError);
    }
    return ok;
}

}  // namespace orvano
