// What every orvano-cli command shares: its description, the options it
// accepts, the values they were given, and the errors that end the tool.
#pragma once

#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "astro/civil_date.h"
#include "astro/json.h"
#include "engine/iqama.h"
#include "engine/shown_times.h"
#include "engine/state.h"
#include "language/languages.h"

namespace orvano::cli {

// Bad usage: the message names the bad argument; the tool exits with 2.
struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The configuration cannot be read: the tool exits with 1.
struct ConfigError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct Options;

// How an option's value is checked and kept as the command line is read.
enum class ValueKind {
    Flag,     // no value
    Text,     // any text; what it names is looked at by the command
    Choice,   // one of `choices`
    Whole,    // a plain integer in [min, max]
    Decimal,  // a plain decimal in [low, high]
    Day,      // "YYYY-MM-DD"
    Month,    // "YYYY-MM", kept as its first day
    Instant,  // "YYYY-MM-DD HH:MM:SS"
};

// Where the value lands: the member of Options that the kind keeps.
using OptionField =
    std::variant<bool Options::*, std::optional<std::string> Options::*,
                 std::optional<long> Options::*, std::optional<double> Options::*,
                 std::optional<HighLatitudeRule> Options::*, std::optional<CivilDate> Options::*,
                 std::optional<Observation> Options::*>;

// One option of a command, as `--name VALUE` or, without a value, `--name`,
// with what its value must be and which options it needs or shuts out; each
// refusal has the tool's own message.
struct OptionSpec {
    std::string name;       // without the leading "--"
    std::string valueName;  // shown in the help, e.g. "FILE"; empty for a switch
    std::string help;       // one line for --help
    ValueKind kind = ValueKind::Flag;
    OptionField field;
    long min = 0, max = 0;     // Whole
    double low = 0, high = 0;  // Decimal
    std::vector<std::string> choices;
    std::string wanted;  // Choice: "needs csv or ics", said before the text given
    std::vector<std::string> needs;
    std::string needsMessage;
    std::vector<std::string> excludes;
    std::string excludesMessage;

    bool takesValue() const { return kind != ValueKind::Flag; }
    OptionSpec Needs(std::vector<std::string> names, std::string message) &&;
    OptionSpec Excludes(std::vector<std::string> names, std::string message) &&;
};

OptionSpec FlagOption(std::string name, std::string help, bool Options::*field);
OptionSpec TextOption(std::string name, std::string valueName, std::string help,
                      std::optional<std::string> Options::*field);
OptionSpec ChoiceOption(std::string name, std::string valueName, std::string help,
                        std::optional<std::string> Options::*field,
                        std::vector<std::string> choices, std::string wanted);
OptionSpec ChoiceOption(std::string name, std::string valueName, std::string help,
                        std::optional<HighLatitudeRule> Options::*field,
                        std::vector<std::string> choices, std::string wanted);
OptionSpec WholeOption(std::string name, std::string valueName, std::string help,
                       std::optional<long> Options::*field, long min, long max);
OptionSpec DecimalOption(std::string name, std::string valueName, std::string help,
                         std::optional<double> Options::*field, double low, double high);
OptionSpec DayOption(std::string name, std::string help, std::optional<CivilDate> Options::*field);
OptionSpec MonthOption(std::string help, std::optional<CivilDate> Options::*field);
OptionSpec InstantOption(std::string help, std::optional<Observation> Options::*field);
// --json, with the command's own words for what it prints.
OptionSpec JsonOption(std::string help);

// The values given to a command, checked and converted as the command line
// was read; an option not given is empty (or false).
struct Options {
    // The place
    std::optional<std::string> config, town, tz, method, settings;
    std::optional<double> lat, lon;
    std::optional<long> dst;
    std::optional<HighLatitudeRule> highLatitude;
    // The days and instants
    std::optional<CivilDate> date, month, from, to;
    std::optional<Observation> at;
    // What is written, and where
    std::optional<std::string> format, out, timetable, name, applyMethod, search;
    // --pick's range is the number of places found, known only after the search.
    std::optional<std::string> pick;
    std::optional<long> towns, days, threads, apply, convention, limit, hijriAdjust;
    bool json = false, csv = false, trace = false, noOpen = false, force = false, catalogue = false,
         names = false;
};

// A command: its name, one line of description, the options it accepts, and
// what it does (returns the exit code; throws UsageError or ConfigError).
struct Command {
    std::string name;
    std::string summary;
    std::vector<OptionSpec> options;
    std::function<int(const Options&)> run;
};

// The languages of the run: the texts the tool has always written in English
// follow a chosen language (saved, the desktop's or --lang) and stay English
// otherwise; the pages and names it shares with the window (the calendar, day
// and month names, a place given by coordinates) follow the window's language,
// French by default.
void SetLanguages(const LanguageChoice& choice);
const std::string& PageLanguage();

// The user's data.cfg, made at first start as a copy of the installed default;
// a problem making it is reported once on standard error.
std::string DefaultConfigPath();
// Where the method catalogue is read from: the installed folder's methods/,
// then the user's $XDG_CONFIG_HOME/orvano/methods/.
std::vector<std::string> MethodFolders();
// --config when given, else DefaultConfigPath() (only then is a copy made).
std::string ConfigOption(const Options& options);
// read_echo.cfg in the user's state folder.
std::string DefaultReadEchoPath();
// The user's calendar folder, made if missing.
std::string DefaultCalendarFolder();

// Options that choose a place: --config FILE --town N, or --lat --lon --tz --dst.
const std::vector<OptionSpec>& PlaceOptions();
// The command's own options followed by the place options.
std::vector<OptionSpec> WithPlace(std::vector<OptionSpec> own);
// The command's own options after --config and --town only.
std::vector<OptionSpec> WithFilePlace(std::vector<OptionSpec> own);

// --high-latitude RULE, for the commands that show or export times.
OptionSpec HighLatitudeOption();
// --method ID, for the commands that show, export or trace times.
OptionSpec MethodOption();
// --hijri-adjust N.
OptionSpec HijriAdjustOption();
// The command's own options followed by the place options, --high-latitude,
// --method and --hijri-adjust.
std::vector<OptionSpec> WithPlaceAndRule(std::vector<OptionSpec> own);

// Fills state.place (and state.tables when a file is read) from the options,
// state.highLatitudeRule from --high-latitude and state.hijriAdjust from
// --hijri-adjust, each else from the window's setting, else the default;
// state.imsakMinutes from the setting.
// Throws ConfigError with the reader's own message when the file cannot be read.
void ResolvePlace(const Options& options, EngineState& state);
// The reminders, iqama and Jumu'ah the window stored (--settings, else the
// user's settings).
PrayerExtras ReadPrayerSettings(const Options& options);

// A message of the configuration code as one line, "<caption>: <text>"; the
// open error also says why the file could not be opened ("not a regular file").
std::string MessageLine(const std::string& text, const std::string& caption,
                        const std::string& openReason);

// The angles used where no convention table is at hand (synthetic towns, a
// place given by --lat/--lon when the gazetteer cannot be read).
Convention StandardConvention();

// The place, its convention and today's date as the options give them, ready
// for the schedule; nothing is printed unless the caller attaches a sink. A
// place given by --lat/--lon without --method takes the method of the nearest
// gazetteer place's country, said on standard error.
EngineState ScheduleState(const Options& options);

// Parses "YYYY-MM-DD", "YYYY-MM" or "YYYY-MM-DD HH:MM:SS" into the observation;
// missing parts come from the local clock. Throws UsageError naming `option`.
void ParseDate(const std::string& option, const std::string& text, Observation& observation);
void ParseMonth(const std::string& option, const std::string& text, Observation& observation);
void ParseDateTime(const std::string& option, const std::string& text, Observation& observation);
Observation LocalNow();
// "Now" for a place: the current instant in its zone when it names a known one,
// else the desktop's clock.
Observation ZoneOrDesktopNow(const CurrentPlace& place);
// The zone the place's times are in, for texts: its name when the database
// knows it, else empty.
std::string ZoneNameInUse(const CurrentPlace& place);
// "Name, Country", followed by " (Zone)" when the place's zone is in use.
std::string PlaceLine(const CurrentPlace& place);
// "zone": the name in use or null.
void AddZone(JsonObject& json, const CurrentPlace& place);

}  // namespace orvano::cli
