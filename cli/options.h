// What every orvano-cli command shares: its description, the options it
// accepts, the values they were given, and the errors that end the tool.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "astro/json.h"
#include "engine/state.h"

namespace orvano::cli {

// Bad usage: the message names the bad argument; the tool exits with 2.
struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The configuration cannot be read: the tool exits with 1.
struct ConfigError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// One option of a command, as `--name VALUE` or, without a value, `--name`.
struct OptionSpec {
    std::string name;       // without the leading "--"
    std::string valueName;  // shown in the help, e.g. "FILE"; empty for a switch
    std::string help;       // one line for --help

    bool takesValue() const { return !valueName.empty(); }
};

// Plain decimal forms, the only ones a number option takes: an optional minus
// sign, digits and (for a decimal) a point among them. No plus sign, space,
// base prefix or exponent, which the C library's conversions would let in.
bool IsPlainInteger(std::string_view text);
bool IsPlainDecimal(std::string_view text);

// The options given to one command, by name without the "--".
class Options {
  public:
    Options() = default;
    explicit Options(std::map<std::string, std::string> values) : values_(std::move(values)) {}

    bool has(const std::string& name) const { return values_.count(name) != 0; }
    std::optional<std::string> get(const std::string& name) const;
    // Whole number in [min, max]; throws UsageError naming the option otherwise.
    std::optional<long> getInt(const std::string& name, long min, long max) const;
    std::optional<double> getDouble(const std::string& name) const;

  private:
    std::map<std::string, std::string> values_;
};

// A command: its name, one line of description, the options it accepts, and
// what it does (returns the exit code; throws UsageError or ConfigError).
struct Command {
    std::string name;
    std::string summary;
    std::vector<OptionSpec> options;
    std::function<int(const Options&)> run;
};

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

// A message of the configuration code as one line, "<caption>: <text>"; the
// open error also says why the file could not be opened ("not a regular file").
std::string MessageLine(const std::string& text, const std::string& caption,
                        const std::string& openReason);

// The angles used where no convention table is at hand (synthetic towns, a
// place given by --lat/--lon).
Convention StandardConvention();

// The place, its convention and today's date as the options give them, ready
// for the schedule; nothing is printed unless the caller attaches a sink.
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
