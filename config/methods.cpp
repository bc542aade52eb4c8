#include "config/methods.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <map>
#include <system_error>

#include "config/grammar.h"
#include "fileio/safe_file.h"

namespace orvano {

namespace {

constexpr double kMaxMinutes = kMaxAddedMinutes;

std::string_view Trimmed(std::string_view text) {
    auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

// The shortest text that reads back to the same double, whatever the locale.
std::string NumberText(double value) {
    std::array<char, 32> buffer{};
    const auto [end, ec] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return ec == std::errc() ? std::string(buffer.data(), end) : std::string("0");
}

// A whole word that is a finite number within [low, high].
std::optional<double> Number(std::string_view word, double low, double high) {
    double value = 0.0;
    CfgScanner scanner(word);
    if (scanner.ReadDouble(value) != CfgScanner::Scan::Ok || !scanner.AtEnd()) return {};
    if (!(value >= low && value <= high)) return {};
    return value;
}

std::vector<std::string_view> Words(std::string_view text) {
    std::vector<std::string_view> words;
    while (true) {
        text = Trimmed(text);
        if (text.empty()) return words;
        const size_t end = std::min(text.find_first_of(" \t"), text.size());
        words.push_back(text.substr(0, end));
        text.remove_prefix(end);
    }
}

// "<keyword> <number>" with the number in range; the keyword's index in
// `keywords`, or nothing.
std::optional<std::pair<size_t, double>> KeywordNumber(std::string_view value,
                                                       std::initializer_list<const char*> keywords,
                                                       double low, double high) {
    const std::vector<std::string_view> words = Words(value);
    if (words.size() != 2) return {};
    size_t index = 0;
    for (const char* keyword : keywords) {
        if (words[0] == keyword) {
            const std::optional<double> number = Number(words[1], low, high);
            if (!number) return {};
            return std::make_pair(index, *number);
        }
        ++index;
    }
    return {};
}

template <typename Enum, size_t N>
std::optional<Enum> Named(std::string_view word, const std::array<const char*, N>& names) {
    for (size_t i = 0; i < N; ++i) {
        if (word == names[i]) return static_cast<Enum>(i);
    }
    return {};
}

constexpr std::array<const char*, 3> kRoundingNames = {"nearest", "up", "down"};
constexpr std::array<const char*, 2> kMidnightNames = {"standard", "jafari"};
constexpr std::array<const char*, 2> kSeasonalNames = {"none", "moonsighting"};
constexpr std::array<const char*, 4> kHighLatitudeNames = {"seventh", "middle", "angle", "none"};

// A twilight rule: "angle D", "<minutesWord> M" or "seasonal".
std::optional<TwilightRule> Twilight(std::string_view value, const char* minutesWord) {
    if (Trimmed(value) == "seasonal") return TwilightRule{TwilightRule::Kind::Seasonal, 0.0};
    const auto parsed = KeywordNumber(value, {"angle", minutesWord}, 0.0, kMaxMinutes);
    if (!parsed || (parsed->first == 0 && parsed->second > 90.0)) return {};
    return TwilightRule{
        parsed->first == 0 ? TwilightRule::Kind::Angle : TwilightRule::Kind::Minutes,
        parsed->second};
}

// The method being read, with what was set and what went wrong.
struct Draft {
    Method method;
    std::map<std::string, bool> seen;
    std::vector<MethodProblem> problems;
    std::string where;  // its header line
};

// The texts: name, its French form, authority, source; nothing when the key
// is not one of them.
std::optional<std::string> ApplyText(Method& m, std::string_view key, std::string_view value) {
    if (key == "name" || key == "name.fr" || key == "authority" || key == "source") {
        if (value.empty()) return std::string(key) + " is empty";
        std::string& field = key == "name"        ? m.name
                             : key == "name.fr"   ? m.nameFr
                             : key == "authority" ? m.authority
                                                  : m.source;
        field = std::string(value);
        return std::string();
    }
    return std::nullopt;
}

// The twilight prayers' rules: Fajr, Isha and Isha in Ramadan; nothing when
// the key is not one of them.
std::optional<std::string> ApplyTwilightRule(Method& m, std::string_view key,
                                             std::string_view value) {
    auto bad = [&](const char* expected) {
        return "'" + std::string(value) + "' is no " + expected + " for " + std::string(key);
    };
    if (key == "fajr" || key == "isha") {
        const auto rule = Twilight(value, key == "fajr" ? "before-sunrise" : "after-maghrib");
        if (!rule) {
            return bad(key == "fajr" ? "'angle D', 'before-sunrise M' or 'seasonal'"
                                     : "'angle D', 'after-maghrib M' or 'seasonal'");
        }
        (key == "fajr" ? m.fajr : m.isha) = *rule;
        return std::string();
    }
    if (key == "isha.ramadan") {
        const auto parsed = KeywordNumber(value, {"after-maghrib"}, 0.0, kMaxMinutes);
        if (!parsed) return bad("'after-maghrib M'");
        m.ishaRamadanMinutes = parsed->second;
        return std::string();
    }
    return std::nullopt;
}

// The Sun's rules: sunrise and sunset, Maghrib, Zuhr, Asr; nothing when the key
// is not one of them.
std::optional<std::string> ApplySunRule(Method& m, std::string_view key, std::string_view value) {
    auto bad = [&](const char* expected) {
        return "'" + std::string(value) + "' is no " + expected + " for " + std::string(key);
    };
    if (key == "sunrise") {
        const auto angle = Number(Trimmed(value), -90.0, 90.0);
        if (!angle) return bad("angle in degrees (-90 to 90)");
        m.sunriseSetAngle = *angle;
        return std::string();
    }
    if (key == "maghrib") {
        const auto parsed =
            KeywordNumber(value, {"after-sunset", "angle"}, -kMaxMinutes, kMaxMinutes);
        if (!parsed || (parsed->first == 1 && !(parsed->second >= -90 && parsed->second <= 90))) {
            return bad("'after-sunset M' or 'angle D'");
        }
        m.maghrib = {parsed->first == 0 ? MaghribRule::Kind::AfterSunset : MaghribRule::Kind::Angle,
                     parsed->second};
        return std::string();
    }
    if (key == "zuhr") {
        const auto parsed =
            KeywordNumber(value, {"after-transit", "fixed"}, -kMaxMinutes, kMaxMinutes);
        if (!parsed || (parsed->first == 1 && !(parsed->second >= 0 && parsed->second <= 24))) {
            return bad("'after-transit M' or 'fixed H' (0 to 24)");
        }
        m.zuhr = {parsed->first == 0 ? ZuhrRule::Kind::AfterTransit : ZuhrRule::Kind::FixedHour,
                  parsed->second};
        return std::string();
    }
    if (key == "asr") {
        const auto factor = Number(Trimmed(value), 0.25, 4.0);
        if (!factor) return bad("shadow factor (0.25 to 4)");
        m.asrFactor = *factor;
        return std::string();
    }
    return std::nullopt;
}

// The minutes and the named choices; nothing when the key is not one of them.
std::optional<std::string> ApplyChoice(Method& m, std::string_view key, std::string_view value) {
    auto bad = [&](const char* expected) {
        return "'" + std::string(value) + "' is no " + expected + " for " + std::string(key);
    };
    if (key == "precaution") {
        const std::vector<std::string_view> words = Words(value);
        if (words.size() != kPrayerCount) return bad("list of six minutes");
        for (size_t i = 0; i < words.size(); ++i) {
            const auto minutes = Number(words[i], -kMaxMinutes, kMaxMinutes);
            if (!minutes) return bad("list of six minutes");
            m.precaution[i] = *minutes;
        }
        return std::string();
    }
    const std::string_view word = Trimmed(value);
    if (key == "rounding") {
        const auto rounding = Named<MinuteRounding>(word, kRoundingNames);
        if (!rounding) return bad("rounding (nearest, up, down)");
        m.rounding = *rounding;
        return std::string();
    }
    if (key == "midnight") {
        const auto rule = Named<MidnightRule>(word, kMidnightNames);
        if (!rule) return bad("midnight rule (standard, jafari)");
        m.midnight = *rule;
        return std::string();
    }
    if (key == "seasonal") {
        const auto rule = Named<SeasonalRule>(word, kSeasonalNames);
        if (!rule) return bad("seasonal rule (none, moonsighting)");
        m.seasonal = *rule;
        return std::string();
    }
    if (key == "high-latitude") {
        const auto rule = Named<HighLatitudeRule>(word, kHighLatitudeNames);
        if (!rule) return bad("high-latitude rule (seventh, middle, angle, none)");
        m.highLatitude = *rule;
        return std::string();
    }
    return std::nullopt;
}

// Stores one "key = value" line; the problem's text, or empty.
std::string Apply(Method& m, std::string_view key, std::string_view value) {
    for (auto* apply : {ApplyText, ApplyTwilightRule, ApplySunRule, ApplyChoice}) {
        if (std::optional<std::string> problem = apply(m, key, value)) return *problem;
    }
    return "unknown key '" + std::string(key) + "'";
}

// What a complete method must hold; the problem's text, or empty.
std::string Incomplete(const Method& m) {
    if (m.name.empty()) return "no name";
    if (m.authority.empty()) return "no authority";
    if (m.source.empty()) return "no source";
    const bool usesSeasonal =
        m.fajr.kind == TwilightRule::Kind::Seasonal || m.isha.kind == TwilightRule::Kind::Seasonal;
    if (usesSeasonal && m.seasonal == SeasonalRule::None) {
        return "'seasonal' needs a seasonal rule";
    }
    if (!usesSeasonal && m.seasonal != SeasonalRule::None) {
        return "a seasonal rule that neither Fajr nor Isha uses";
    }
    if (m.ishaRamadanMinutes && m.isha.kind != TwilightRule::Kind::Minutes) {
        return "isha.ramadan needs Isha after Maghrib";
    }
    return {};
}

void Store(Method method, MethodCatalogue& catalogue) {
    for (Method& existing : catalogue.methods) {
        if (existing.id == method.id) {
            existing = std::move(method);
            return;
        }
    }
    catalogue.methods.push_back(std::move(method));
}

void Finish(std::optional<Draft>& draft, MethodCatalogue& catalogue) {
    if (!draft) return;
    const std::string missing = Incomplete(draft->method);
    if (!missing.empty()) draft->problems.push_back({draft->where, missing});
    if (draft->problems.empty()) {
        Store(std::move(draft->method), catalogue);
    } else {
        for (MethodProblem& p : draft->problems) catalogue.problems.push_back(std::move(p));
    }
    draft.reset();
}

}  // namespace

bool MethodIdWellFormed(std::string_view id) {
    if (id.empty() || id.size() > kMaxMethodIdBytes || id.front() < 'a' || id.front() > 'z') {
        return false;
    }
    return std::all_of(id.begin(), id.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_';
    });
}

int SlotOfMethodId(std::string_view id) {
    const bool slot =
        id.size() == 5 && id.starts_with("slot") && id[4] >= '0' && id[4] < '0' + kConventionCount;
    return slot ? id[4] - '0' : -1;
}

std::map<std::string, Convention, std::less<>> MethodConventions(const MethodCatalogue& catalogue) {
    std::map<std::string, Convention, std::less<>> conventions;
    for (const Method& m : catalogue.methods) {
        if (m.slot >= 0) continue;
        if (std::optional<Convention> c = MethodAsConvention(m)) conventions[m.id] = std::move(*c);
    }
    return conventions;
}

std::map<std::string, Convention, std::less<>> ReadMethodConventions(
    const std::vector<std::string>& folders) {
    MethodCatalogue catalogue;
    ReadMethodFolders(folders, catalogue);
    return MethodConventions(catalogue);
}

const Method* MethodCatalogue::Find(std::string_view id) const {
    for (const Method& m : methods) {
        if (m.id == id) return &m;
    }
    return nullptr;
}

void ReadMethodText(std::string_view text, const std::string& name, MethodCatalogue& catalogue) {
    std::optional<Draft> draft;
    std::vector<std::string> idsHere;
    int lineNumber = 0;
    while (!text.empty()) {
        const size_t end = std::min(text.find('\n'), text.size());
        const std::string_view line = Trimmed(text.substr(0, end));
        text.remove_prefix(std::min(end + 1, text.size()));
        ++lineNumber;
        const std::string where = name + ":" + std::to_string(lineNumber);
        if (line.empty() || line.front() == '#') continue;
        if (line.front() == '[') {
            Finish(draft, catalogue);
            draft.emplace();
            draft->where = where;
            draft->method.origin = where;
            const std::string id(line.back() == ']' ? Trimmed(line.substr(1, line.size() - 2))
                                                    : std::string_view());
            if (!MethodIdWellFormed(id) || SlotOfMethodId(id) >= 0) {
                draft->problems.push_back(
                    {where, "'" + std::string(line) + "' is no method header [id] with a free id"});
            } else if (std::find(idsHere.begin(), idsHere.end(), id) != idsHere.end()) {
                draft->problems.push_back({where, "method '" + id + "' twice in one file"});
            }
            idsHere.push_back(id);
            draft->method.id = id;
            continue;
        }
        const size_t equals = line.find('=');
        if (!draft) {
            catalogue.problems.push_back({where, "a line before the first [id]"});
            continue;
        }
        if (equals == std::string_view::npos) {
            draft->problems.push_back({where, "a line that is no 'key = value'"});
            continue;
        }
        const std::string key(Trimmed(line.substr(0, equals)));
        if (draft->seen[key]) {
            draft->problems.push_back({where, "'" + key + "' twice"});
            continue;
        }
        draft->seen[key] = true;
        const std::string problem = Apply(draft->method, key, Trimmed(line.substr(equals + 1)));
        if (!problem.empty()) draft->problems.push_back({where, problem});
    }
    Finish(draft, catalogue);
}

void ReadMethodFolders(const std::vector<std::string>& folders, MethodCatalogue& catalogue) {
    namespace fs = std::filesystem;
    for (const std::string& folder : folders) {
        std::error_code error;
        std::vector<fs::path> files;
        for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
            if (entry.path().extension() == ".methods") files.push_back(entry.path());
        }
        std::sort(files.begin(), files.end());
        for (const fs::path& path : files) {
            const InputFile file = ReadInputFile(path.string());
            if (!file.ok()) {
                catalogue.problems.push_back({path.string(), file.Reason()});
                continue;
            }
            ReadMethodText(file.bytes, path.string(), catalogue);
        }
    }
}

Method SlotMethod(int index, const Convention& c) {
    Method m = MethodFromConvention(c);
    m.id = "slot" + std::to_string(index);
    m.name = c.Name.empty() ? "Convention " + std::to_string(index) : c.Name;
    m.authority = c.Name;
    m.source = "data.cfg convention " + std::to_string(index);
    m.origin = "data.cfg";
    m.slot = index;
    return m;
}

Method MethodFromConvention(const Convention& c) {
    Method m;
    m.name = c.Name;
    m.fajr = {TwilightRule::Kind::Angle, c.FajrTwilightAngle};
    if (c.FajrMinutesBeforeSunrise)
        m.fajr = {TwilightRule::Kind::Minutes, *c.FajrMinutesBeforeSunrise};
    m.sunriseSetAngle = c.SunriseSetAngle;
    m.isha = c.Isha_is_Maghrib_plus
                 ? TwilightRule{TwilightRule::Kind::Minutes, static_cast<double>(c.IshaPlusMinutes)}
                 : TwilightRule{TwilightRule::Kind::Angle, c.IshaTwilightAngle};
    if (c.MoonsightingSeasons) {
        m.fajr = {TwilightRule::Kind::Seasonal, 0.0};
        m.isha = {TwilightRule::Kind::Seasonal, 0.0};
        m.seasonal = SeasonalRule::Moonsighting;
    }
    if (c.MaghribAngle) m.maghrib = {MaghribRule::Kind::Angle, *c.MaghribAngle};
    m.asrFactor = c.AsrShafii ? 1.0 : 2.0;
    if (c.ZuhrFixe) m.zuhr = {ZuhrRule::Kind::FixedHour, c.ZuhrHour};
    m.precaution = c.AddedMinutes;
    m.rounding = c.Rounding;
    m.highLatitude = c.HighLatitude;
    if (c.IshaRamadanMinutes) m.ishaRamadanMinutes = *c.IshaRamadanMinutes;
    m.midnight = c.NightEndsAtSunrise ? MidnightRule::Standard : MidnightRule::Jafari;
    return m;
}

MethodCatalogue FullCatalogue(const std::vector<std::string>& folders, const ConfigTables& tables) {
    MethodCatalogue catalogue;
    ReadMethodFolders(folders, catalogue);
    for (int i = 0; i < kConventionCount; ++i) {
        catalogue.methods.push_back(SlotMethod(i, tables.Conventions[static_cast<size_t>(i)]));
    }
    return catalogue;
}

const std::string& MethodNameIn(const Method& method, std::string_view language) {
    return language == "fr" && !method.nameFr.empty() ? method.nameFr : method.name;
}

std::string FajrRuleText(const Method& m) {
    switch (m.fajr.kind) {
        case TwilightRule::Kind::Angle:
            return "angle " + NumberText(m.fajr.value);
        case TwilightRule::Kind::Minutes:
            return "before-sunrise " + NumberText(m.fajr.value);
        case TwilightRule::Kind::Seasonal:
            return "seasonal";
    }
    return {};
}

std::string IshaRuleText(const Method& m) {
    switch (m.isha.kind) {
        case TwilightRule::Kind::Angle:
            return "angle " + NumberText(m.isha.value);
        case TwilightRule::Kind::Minutes:
            return "after-maghrib " + NumberText(m.isha.value);
        case TwilightRule::Kind::Seasonal:
            return "seasonal";
    }
    return {};
}

std::string MaghribRuleText(const Method& m) {
    return (m.maghrib.kind == MaghribRule::Kind::Angle ? "angle " : "after-sunset ") +
           NumberText(m.maghrib.value);
}

std::string ZuhrRuleText(const Method& m) {
    return (m.zuhr.kind == ZuhrRule::Kind::FixedHour ? "fixed " : "after-transit ") +
           NumberText(m.zuhr.value);
}

const char* RoundingName(MinuteRounding rounding) {
    return kRoundingNames[static_cast<size_t>(rounding)];
}

const char* MidnightName(MidnightRule rule) {
    return kMidnightNames[static_cast<size_t>(rule)];
}

const char* SeasonalName(SeasonalRule rule) {
    return kSeasonalNames[static_cast<size_t>(rule)];
}

std::string MethodText(const Method& m) {
    std::string out = "[" + m.id + "]\n";
    auto line = [&](const char* key, const std::string& value) {
        out += std::string(key) + " = " + value + "\n";
    };
    line("name", m.name);
    if (!m.nameFr.empty()) line("name.fr", m.nameFr);
    line("authority", m.authority);
    line("source", m.source);
    line("fajr", FajrRuleText(m));
    line("sunrise", NumberText(m.sunriseSetAngle));
    line("maghrib", MaghribRuleText(m));
    line("isha", IshaRuleText(m));
    if (m.ishaRamadanMinutes)
        line("isha.ramadan", "after-maghrib " + NumberText(*m.ishaRamadanMinutes));
    if (m.seasonal != SeasonalRule::None) line("seasonal", SeasonalName(m.seasonal));
    line("asr", NumberText(m.asrFactor));
    line("zuhr", ZuhrRuleText(m));
    std::string minutes;
    for (const double p : m.precaution) minutes += (minutes.empty() ? "" : " ") + NumberText(p);
    line("precaution", minutes);
    line("rounding", RoundingName(m.rounding));
    line("high-latitude", kHighLatitudeNames[static_cast<size_t>(m.highLatitude)]);
    line("midnight", MidnightName(m.midnight));
    return out;
}

std::optional<Convention> MethodAsConvention(const Method& m) {
    const bool asrKnown = m.asrFactor == 1.0 || m.asrFactor == 2.0;
    // Isha after Maghrib counts from Maghrib's exact hour, which minutes after
    // sunset do not move: they join Isha's own minutes, which are whole.
    const double maghribMinutes =
        m.maghrib.kind == MaghribRule::Kind::AfterSunset ? m.maghrib.value : 0.0;
    const double ishaMinutes = m.isha.value + maghribMinutes;
    const auto whole = [](double v) { return static_cast<double>(static_cast<int>(v)) == v; };
    const bool ishaWhole = whole(ishaMinutes);
    const bool ramadanWhole =
        !m.ishaRamadanMinutes || whole(*m.ishaRamadanMinutes + maghribMinutes);
    if (!asrKnown || (m.isha.kind == TwilightRule::Kind::Minutes && !ishaWhole) || !ramadanWhole) {
        return std::nullopt;
    }
    Convention c;
    c.Name = m.name;
    c.AsrShafii = m.asrFactor == 1.0;
    c.SunriseSetAngle = m.sunriseSetAngle;
    if (m.fajr.kind == TwilightRule::Kind::Angle) c.FajrTwilightAngle = m.fajr.value;
    if (m.fajr.kind == TwilightRule::Kind::Minutes) c.FajrMinutesBeforeSunrise = m.fajr.value;
    c.Isha_is_Maghrib_plus = m.isha.kind == TwilightRule::Kind::Minutes;
    if (c.Isha_is_Maghrib_plus) c.IshaPlusMinutes = static_cast<int>(ishaMinutes);
    if (m.isha.kind == TwilightRule::Kind::Angle) c.IshaTwilightAngle = m.isha.value;
    c.MoonsightingSeasons = m.seasonal == SeasonalRule::Moonsighting;
    c.ZuhrFixe = m.zuhr.kind == ZuhrRule::Kind::FixedHour;
    c.ZuhrHour = c.ZuhrFixe ? m.zuhr.value : 0.0;
    c.AddedMinutes = m.precaution;
    if (!c.ZuhrFixe) c.AddedMinutes[Zuhr] += m.zuhr.value;
    if (m.maghrib.kind == MaghribRule::Kind::Angle) {
        c.MaghribAngle = m.maghrib.value;
    } else {
        c.AddedMinutes[Maghrib] += m.maghrib.value;
    }
    c.Rounding = m.rounding;
    c.HighLatitude = m.highLatitude;
    if (m.ishaRamadanMinutes) {
        c.IshaRamadanMinutes = static_cast<int>(*m.ishaRamadanMinutes + maghribMinutes);
    }
    c.NightEndsAtSunrise = m.midnight == MidnightRule::Standard;
    return c;
}

}  // namespace orvano
