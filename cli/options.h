// Command-line parsing shared by every orvano-cli command.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

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

struct OptionSpec {
    std::string name;  // without the leading "--"
    bool takesValue;
};

class Options {
  public:
    // Throws UsageError for an unknown option or a missing value.
    Options(const std::vector<std::string>& args, const std::vector<OptionSpec>& allowed);

    bool has(const std::string& name) const { return values_.count(name) != 0; }
    std::optional<std::string> get(const std::string& name) const;
    // Whole number in [min, max]; throws UsageError naming the option otherwise.
    std::optional<long> getInt(const std::string& name, long min, long max) const;
    std::optional<double> getDouble(const std::string& name) const;

  private:
    std::map<std::string, std::string> values_;
};

// The folder of the running program, with a trailing '/'.
std::string ProgramFolder();

// Options that choose a place: --config FILE --town N, or --lat --lon --tz --dst.
extern const std::vector<OptionSpec> kPlaceOptions;

// Fills state.place (and state.tables when a file is read) from the options.
// Throws ConfigError with the reader's own message when the file cannot be read.
void ResolvePlace(const Options& options, EngineState& state);

// Parses "YYYY-MM-DD", "YYYY-MM" or "YYYY-MM-DD HH:MM:SS" into the observation;
// missing parts come from the local clock. Throws UsageError naming `option`.
void ParseDate(const std::string& option, const std::string& text, Observation& observation);
void ParseMonth(const std::string& option, const std::string& text, Observation& observation);
void ParseDateTime(const std::string& option, const std::string& text, Observation& observation);
Observation LocalNow();

// A command: name, the options it accepts, and what it does (returns the exit code).
struct Command {
    std::string name;
    std::string usage;
    std::vector<OptionSpec> options;
    std::function<int(const Options&)> run;
};

// Commands register themselves from their own files.
struct CommandRegistrar {
    explicit CommandRegistrar(Command command);
};
const std::vector<Command>& Commands();

}  // namespace orvano::cli
