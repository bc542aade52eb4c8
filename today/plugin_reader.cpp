#include "today/plugin_reader.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>

namespace orvano {

namespace {

constexpr double kDegreesToRadians = 0.017453292519943295;
constexpr std::size_t kRestOfLineChars = 199;

// Reads fields the way the file's formats do: white space separates them,
// line ends matter only to the rest-of-line records.
class Scanner {
  public:
    explicit Scanner(std::string text) : text_(std::move(text)) {}

    bool AtEnd() {
        SkipSpace();
        return pos_ >= text_.size();
    }

    std::optional<int> Int() {
        SkipSpace();
        const char* begin = text_.c_str() + pos_;
        char* end = nullptr;
        errno = 0;
        const long value = std::strtol(begin, &end, 10);
        if (end == begin || errno == ERANGE || value < INT32_MIN || value > INT32_MAX) {
            return std::nullopt;
        }
        pos_ += static_cast<std::size_t>(end - begin);
        return static_cast<int>(value);
    }

    std::optional<double> Real() {
        SkipSpace();
        const char* begin = text_.c_str() + pos_;
        char* end = nullptr;
        const double value = std::strtod(begin, &end);
        if (end == begin) return std::nullopt;
        pos_ += static_cast<std::size_t>(end - begin);
        return value;
    }

    std::optional<std::string> Word() {
        SkipSpace();
        const std::size_t start = pos_;
        while (pos_ < text_.size() && !IsSpace(text_[pos_])) ++pos_;
        if (pos_ == start) return std::nullopt;
        return text_.substr(start, pos_ - start);
    }

    // The rest of the current line, at most 199 characters; the line end and
    // whatever lies beyond the limit are passed over.
    std::string RestOfLine() {
        const std::size_t end = text_.find('\n', pos_);
        const std::size_t stop = end == std::string::npos ? text_.size() : end;
        std::string rest = text_.substr(pos_, std::min(stop - pos_, kRestOfLineChars));
        pos_ = end == std::string::npos ? text_.size() : end + 1;
        return rest;
    }

  private:
    static bool IsSpace(char c) {
        return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
    }
    void SkipSpace() {
        while (pos_ < text_.size() && IsSpace(text_[pos_])) ++pos_;
    }

    std::string text_;
    std::size_t pos_ = 0;
};

bool IsValidUtf8(const std::string& s) {
    std::size_t i = 0;
    while (i < s.size()) {
        const auto c = static_cast<unsigned char>(s[i]);
        const std::size_t extra = c < 0x80             ? 0
                                  : (c & 0xE0) == 0xC0 ? 1
                                  : (c & 0xF0) == 0xE0 ? 2
                                  : (c & 0xF8) == 0xF0 ? 3
                                                       : 4;
        if (extra == 4 || i + extra >= s.size() + (extra == 0 ? 1 : 0)) return false;
        for (std::size_t k = 1; k <= extra; ++k) {
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
        }
        i += extra + 1;
    }
    return true;
}

void AppendUtf8(std::string& out, unsigned code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// Texts keep at most 79 characters; never cut inside a character.
std::string LimitText(std::string text) {
    if (text.size() <= kMaxTextChars) return text;
    std::size_t cut = kMaxTextChars;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) >> 6) == 0x2) --cut;
    text.resize(cut);
    return text;
}

bool ValidConvention(int index) {
    return index >= 0 && index < kConventionCount;
}

}  // namespace

std::string TextToUtf8(const std::string& text) {
    if (IsValidUtf8(text)) return text;
    static const unsigned kHigh[32] = {
        0x20AC, 0x81,   0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x8D,   0x017D, 0x8F,   0x90,   0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x9D,   0x017E, 0x0178};
    std::string out;
    for (char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        AppendUtf8(out, c >= 0x80 && c < 0xA0 ? kHigh[c - 0x80] : c);
    }
    return out;
}

std::string PluginConfigPath(const std::string& libraryPath) {
    const auto slash = libraryPath.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "." : libraryPath.substr(0, slash);
    return folder + "/data.cfg";
}

int ReadPluginConfig(const std::string& configPath, EngineState& state, MessageBoxes& boxes,
                     const std::function<DiagnosticLog&()>& getLog) {
    std::ifstream file(configPath, std::ios::binary);
    if (!file) {
        getLog().Write("Cannot open data.cfg file");
        getLog().WriteLastError();
        boxes.ShowOk(configPath, "File open error");
        return kReadOpenFailed;
    }
    std::ostringstream content;
    content << file.rdbuf();
    file.close();
    Scanner in(content.str());

    ConfigTables& tables = state.tables;
    CurrentPlace& place = state.place;
    int townLines = 0;
    auto badFormat = [&] {
        boxes.ShowOk("bad format of data.cfg", "Read error");
        return kReadBadFormat;
    };

    while (!in.AtEnd()) {
        const auto kind = in.Int();
        if (!kind) return badFormat();
        switch (*kind) {
            case 1: {
                const auto n = in.Int(), selected = in.Int(), verbose = in.Int();
                if (!n || !selected || !verbose) return badFormat();
                tables.NumberOfTowns = *n;
                tables.TownSelected = *selected;
                tables.Verbose = *verbose;
                if (tables.NumberOfTowns < 1) {
                    boxes.ShowOk("Invalid number of towns in data.cfg", "Read error");
                    return kReadInvalidTownCount;
                }
                break;
            }
            case 2: {
                const auto country = in.Word(), name = in.Word();
                const auto latitude = in.Real(), longitude = in.Real();
                const auto zone = in.Int(), dst = in.Int(), convention = in.Int();
                if (!country || !name || !latitude || !longitude || !zone || !dst || !convention) {
                    return badFormat();
                }
                if (townLines == tables.TownSelected) {
                    place.Country = LimitText(TextToUtf8(*country));
                    place.Name = LimitText(TextToUtf8(*name));
                    place.latitude = *latitude * kDegreesToRadians;
                    place.longitude = *longitude * kDegreesToRadians;
                    place.TimeZone = *zone;
                    place.DST = *dst;
                    place.Convention = *convention;
                }
                ++townLines;
                break;
            }
            case 3: {
                const auto index = in.Int();
                if (!index) return badFormat();
                place.Convention = *index;
                const auto asr = in.Int();
                const auto fajr = in.Real(), isha = in.Real(), sunrise = in.Real();
                const auto ishaPlus = in.Int(), ishaMinutes = in.Int(), zuhrFixe = in.Int();
                const auto zuhrHour = in.Real();
                if (!asr || !fajr || !isha || !sunrise || !ishaPlus || !ishaMinutes || !zuhrFixe ||
                    !zuhrHour) {
                    return badFormat();
                }
                if (!ValidConvention(*index)) break;  // no such slot: the line is passed over
                Convention& c = tables.Conventions[static_cast<std::size_t>(*index)];
                c.AsrShafii = *asr == 1;
                c.FajrTwilightAngle = *fajr;
                c.IshaTwilightAngle = *isha;
                c.SunriseSetAngle = *sunrise;
                c.Isha_is_Maghrib_plus = *ishaPlus == 1;
                c.IshaPlusMinutes = *ishaMinutes;
                c.ZuhrFixe = *zuhrFixe == 1;
                c.ZuhrHour = *zuhrHour;
                break;
            }
            case 4: {
                const auto index = in.Int();
                if (!index) return badFormat();
                place.Convention = *index;
                std::array<double, kPrayerCount> minutes{};
                for (double& m : minutes) {
                    const auto value = in.Real();
                    if (!value) return badFormat();
                    m = *value;
                }
                if (ValidConvention(*index)) {
                    tables.Conventions[static_cast<std::size_t>(*index)].AddedMinutes = minutes;
                }
                break;
            }
            case 5: {
                const auto index = in.Int();
                if (!index) return badFormat();
                place.Convention = *index;
                const std::string rest = in.RestOfLine();
                const auto open = rest.find('"');
                const auto close = open == std::string::npos ? open : rest.find('"', open + 1);
                // A line without two quotes names nothing; the old name stays.
                if (close != std::string::npos && ValidConvention(*index)) {
                    tables.Conventions[static_cast<std::size_t>(*index)].Name =
                        LimitText(TextToUtf8(rest.substr(open + 1, close - open - 1)));
                }
                break;
            }
            case 8:
                in.RestOfLine();
                break;
            default:
                return badFormat();
        }
    }

    if (townLines != tables.NumberOfTowns) {
        boxes.ShowOk("Number of towns does not match NTowns", "Read error");
        return kReadTownCountMismatch;
    }
    if (tables.TownSelected < 0 || tables.TownSelected >= tables.NumberOfTowns) {
        boxes.ShowOk("Selected town out of range", "Read error");
        return kReadTownOutOfRange;
    }
    return kReadOk;
}

}  // namespace orvano
