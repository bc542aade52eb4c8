#include <cmath>
#include <cstdio>

#include "astro/constants.h"
#include "astro/plain_number.h"
#include "astro/zone.h"
#include "cli/gazetteer_town.h"
#include "cli/options.h"
#include "cli/town_match.h"
#include "config/methods.h"
#include "config/reader.h"
#include "language/messages.h"
#include "platform/file_settings.h"
#include "platform/setting_text.h"

namespace orvano::cli {

namespace {

// --lat, --lon, --tz and --dst give a place of their own.
OptionSpec OwnPlace(OptionSpec spec, std::vector<std::string> needs) {
    return std::move(spec)
        .Needs(std::move(needs), N_("--lat and --lon go together"))
        .Excludes({"config", "town"},
                  N_("--lat/--lon give a place of their own; drop --config and --town"));
}

}  // namespace

const std::vector<OptionSpec>& PlaceOptions() {
    static const std::vector<OptionSpec> options = {
        TextOption("config", "FILE",
                   "The data.cfg to read (default: yours, ~/.config/orvano/data.cfg)",
                   &Options::config),
        TextOption(
            "town", "N|NAME",
            "The town: its index or its name, as Country/Name if need be (default: the file's)",
            &Options::town),
        OwnPlace(
            DecimalOption("lat", "DEG", "Latitude of a place of your own, -90..90 (with --lon)",
                          &Options::lat, -90, 90),
            {"lon"}),
        OwnPlace(DecimalOption("lon", "DEG",
                               "Longitude of a place of your own, -180..180, east positive",
                               &Options::lon, -180, 180),
                 {"lat"}),
        OwnPlace(TextOption("tz", "HOURS|ZONE",
                            "Time zone of that place: hours -12..14 (fractions allowed) or a zone "
                            "name such as Asia/Kolkata (default: the desktop's zone)",
                            &Options::tz),
                 {"lat", "lon"}),
        OwnPlace(WholeOption("dst", "N", "Daylight saving of that place, 0..2 (default 0)",
                             &Options::dst, 0, 2),
                 {"lat", "lon"}),
    };
    return options;
}

std::vector<OptionSpec> WithFilePlace(std::vector<OptionSpec> own) {
    const auto& place = PlaceOptions();
    own.insert(own.begin(), place.begin(), place.begin() + 2);
    return own;
}

OptionSpec HighLatitudeOption() {
    return ChoiceOption(
        "high-latitude", "RULE",
        "How a Fajr or Isha whose twilight never comes is estimated: seventh, middle, angle "
        "or none (default: the window's setting, else the method's own)",
        &Options::highLatitude, {"seventh", "middle", "angle", "none"},
        "must be seventh, middle, angle or none");
}

OptionSpec HijriAdjustOption() {
    return WholeOption("hijri-adjust", "N",
                       "Move the Hijri date N whole days, -2..2, for the local sighting of the "
                       "moon (default: the window's setting, else 0)",
                       &Options::hijriAdjust, kHijriAdjustMin, kHijriAdjustMax);
}

std::vector<OptionSpec> WithPlaceAndRule(std::vector<OptionSpec> own) {
    own = WithPlace(std::move(own));
    own.push_back(HighLatitudeOption());
    own.push_back(MethodOption());
    own.push_back(HijriAdjustOption());
    return own;
}

OptionSpec MethodOption() {
    return TextOption("method", "ID",
                      "A calculation method of the catalogue (orvano-cli methods lists them) "
                      "instead of the town's (with --lat/--lon: of the nearest place's country)",
                      &Options::method);
}

std::vector<OptionSpec> WithPlace(std::vector<OptionSpec> own) {
    const auto& place = PlaceOptions();
    own.insert(own.begin(), place.begin(), place.end());
    return own;
}

namespace {

int CurrentYear() {
    return LocalNow().year;
}

void UseZoneName(const std::string& name, CurrentPlace& place) {
    place.Zone = name;
    if (const ZoneRef zone = FindZone(name)) {
        const ZoneIntegers integers = ZoneIntegersOf(zone, CurrentYear());
        place.TimeZone = integers.TimeZone;
        place.DST = integers.DST;
    }
}

// --tz: whole or fractional hours, or a zone name; without it the desktop's
// zone, and without that the whole-hour zone 0 as before.
void ZoneFromOption(const Options& options, CurrentPlace& place) {
    const auto& tz = options.tz;
    if (!tz) {
        const std::string desktop = DesktopZoneName();
        if (!desktop.empty()) UseZoneName(desktop, place);
        return;
    }
    if (const auto given = PlainDecimal(*tz)) {
        const double hours = *given;
        if (!(hours >= -12 && hours <= 14)) {
            throw UsageError("option '--tz' must lie in -12..14 hours");
        }
        place.TimeZone = static_cast<int>(hours);
        if (std::trunc(hours) != hours) place.FixedZone = hours;
        return;
    }
    // Hours in any other form ("+1", " 1", "0x1") are no zone name either.
    const bool numberLike = tz->find_first_of("+-. 0123456789") == 0;
    if (numberLike || !ZoneNameWellFormed(*tz)) {
        throw UsageError("option '--tz' must be hours or a zone name such as Asia/Kolkata");
    }
    UseZoneName(*tz, place);
}

// An unknown name is no error of the file: the town keeps its integers.
void WarnOfUnknownZone(const CurrentPlace& place) {
    if (place.Zone.empty() || place.FixedZone || ZoneKnown(place.Zone)) return;
    std::fprintf(stderr,
                 "orvano-cli: unknown time zone \"%s\" for %s; using TimeZone %d and DST %d\n",
                 PrintableText(place.Zone).c_str(), PrintableText(place.Name).c_str(),
                 place.TimeZone, place.DST);
}

// The command line has checked the values and that --lat and --lon come together.
void PlaceFromCoordinates(const Options& options, EngineState& state) {
    const double lat = *options.lat;
    const double lon = *options.lon;
    CurrentPlace& place = state.place;
    {
        const ScopedLanguage names(PageLanguage());
        place.Name = Tr("coordinates given", "Place");
        place.Country = Tr("coordinates given", "Coordinates");
    }
    place.latitude = Degrees{lat};
    place.longitude = Degrees{lon};
    place.DST = static_cast<int>(options.dst.value_or(0));
    place.Convention = 0;
    ZoneFromOption(options, place);
}

// Remembers the first message the reader shows, for the tool's error line.
class FirstMessage final : public MessageSink {
  public:
    void Show(const std::string& text, const std::string& caption) override {
        if (message.empty()) message = MessageLine(text, caption, openReason);
    }
    std::string message;
    std::string openReason;
};

void PlaceFromFile(const Options& options, EngineState& state) {
    const std::string path = ConfigOption(options);
    FirstMessage boxes;
    // The place lines of a file whose Verbose is set must not mix into a
    // command's own output; only the error line is kept.
    StringTraceSink console;
    const int result =
        ReadDataCfg(path, "", state.tables, state.place, boxes, &console, &boxes.openReason);
    if (result != kReadOk) {
        std::string message = boxes.message;
        if (message.empty()) {
            message = console.text();
            while (!message.empty() && message.back() == '\n') message.pop_back();
        }
        throw ConfigError(message);
    }
    if (const auto& text = options.town) {
        try {
            const int town = FindTown(state.tables.Towns, *text);
            state.tables.TownSelected = town;
            FillCurrentPlace(state.tables.Towns[static_cast<size_t>(town)], state.place);
        } catch (const NoSuchTown&) {
            if (!SelectGazetteerTown(*text, state)) throw;
        }
    }
    // As after the application's start-up: the trace is off until a command asks for it.
    state.tables.Verbose = 0;
}

}  // namespace

std::string MessageLine(const std::string& text, const std::string& caption,
                        const std::string& openReason) {
    std::string line = caption + ": " + text;
    if (caption == kCaptionFileOpenError && !openReason.empty()) line += " (" + openReason + ")";
    return line;
}

// The angles of the synthetic towns, and of a place given by --lat/--lon
// when no gazetteer names its country's method: Fajr 18°, Isha 17°, sunrise
// and sunset 0.833°, the Shafi'i Asr, nothing added.
Convention StandardConvention() {
    Convention c;
    c.Name = "Standard";
    c.FajrTwilightAngle = 18;
    c.IshaTwilightAngle = 17;
    c.SunriseSetAngle = 0.833;
    c.AsrShafii = true;
    return c;
}

namespace {

// The town's method (its "8 method" line), or --method: the engine computes
// with it instead of the town's convention slot.
void ApplyMethod(const Options& options, EngineState& state) {
    const std::optional<std::string>& given = options.method;
    if (!given && state.place.Method.empty()) return;
    const MethodCatalogue catalogue = FullCatalogue(MethodFolders(), state.tables);
    state.methods = MethodConventions(catalogue);
    if (given) {
        if (catalogue.Find(*given) == nullptr) {
            throw UsageError("option '--method' names no method of the catalogue: '" + *given +
                             "' (orvano-cli methods lists them)");
        }
        state.place.Method = *given;
    }
    const std::string& id = state.place.Method;
    if (SlotOfMethodId(id) < 0 && state.methods.count(id) == 0) {
        // Like an unknown zone: the town keeps working on what its line says.
        std::fprintf(
            stderr, "orvano-cli: %s uses method '%s', which %s; its convention %d is used\n",
            PrintableText(state.place.Name).c_str(), PrintableText(id).c_str(),
            catalogue.Find(id) == nullptr ? "the catalogue does not hold" : "cannot be computed",
            state.place.Convention);
    }
}

// Coordinates without --method take the method of the nearest place's
// country, as a town added there does; without a gazetteer, the standard
// angles.
void MethodOfNearestCountry(const Options& options, EngineState& state) {
    std::string nearest;
    Town town;
    try {
        town = TownNearest(*options.lat, *options.lon, nearest);
    } catch (const ConfigError& e) {
        std::fprintf(stderr, "orvano-cli: %s; the standard angles (Fajr 18°, Isha 17°) are used\n",
                     PrintableText(e.what()).c_str());
        return;
    }
    state.place.Method = town.Method;
    std::fprintf(stderr, "orvano-cli: the nearest place is %s; its country's method %s is used\n",
                 PrintableText(nearest).c_str(), PrintableText(town.Method).c_str());
    ApplyMethod(options, state);
}

}  // namespace

PrayerExtras ReadPrayerSettings(const Options& options) {
    FileSettingsStore settings(options.settings.value_or(DefaultSettingsPath()));
    return ReadPrayerExtras(SettingTextReader(settings));
}

void ResolvePlace(const Options& options, EngineState& state) {
    if (options.lat) {
        PlaceFromCoordinates(options, state);
    } else {
        PlaceFromFile(options, state);
    }
    WarnOfUnknownZone(state.place);
    FileSettingsStore settings(options.settings.value_or(DefaultSettingsPath()));
    const HijriNightSettings chosen = ReadHijriNightSettings(settings);
    state.hijriAdjust = static_cast<int>(options.hijriAdjust.value_or(chosen.hijriAdjust));
    state.imsakMinutes = chosen.imsakMinutes;
    // The option, else the window's choice; a word it would not write leaves
    // each method its own rule.
    state.highLatitudeRule = options.highLatitude
                                 ? options.highLatitude
                                 : ParseHighLatitudeRule(ReadHighLatitudeRuleText(settings));
    ApplyMethod(options, state);
}

EngineState ScheduleState(const Options& options) {
    EngineState state;
    ResolvePlace(options, state);
    if (options.lat) {
        if (!options.method) MethodOfNearestCountry(options, state);
        // What a method the engine cannot compute falls back on.
        state.place.Convention = 0;
        state.tables.Conventions[0] = StandardConvention();
    }
    state.tables.Verbose = 0;
    state.traceSink = nullptr;
    state.observation = ZoneOrDesktopNow(state.place);
    return state;
}

}  // namespace orvano::cli
