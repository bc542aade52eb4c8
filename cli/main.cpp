// orvano-cli: the prayer-time engine without a window.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <exception>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "cli/commands.h"

using namespace orvano::cli;

namespace {

constexpr const char* kTool = "orvano-cli";

void PrintUsage(std::FILE* out) {
    std::fprintf(out, "usage: %s COMMAND [OPTIONS]   (%s COMMAND --help tells more)\n", kTool,
                 kTool);
    for (const Command& c : Commands())
        std::fprintf(out, "  %-10s %s\n", c.name.c_str(), c.summary.c_str());
}

// One subcommand per entry of the table; every option takes one value at most once.
void AddCommand(CLI::App& app, const Command& command) {
    CLI::App* sub = app.add_subcommand(command.name, command.summary)->group("Commands");
    for (const OptionSpec& o : command.options) {
        if (o.takesValue()) {
            sub->add_option("--" + o.name, o.help)
                ->type_name(o.valueName)
                ->expected(1)
                ->multi_option_policy(CLI::MultiOptionPolicy::Throw);
        } else {
            sub->add_flag("--" + o.name, o.help);
        }
    }
}

Options GivenOptions(const CLI::App& sub, const Command& command) {
    std::map<std::string, std::string> values;
    for (const OptionSpec& o : command.options) {
        const CLI::Option* option = sub.get_option("--" + o.name);
        if (option->count() == 0) continue;
        values[o.name] = o.takesValue() ? option->results().back() : std::string();
    }
    return Options(std::move(values));
}

bool IsCommand(const std::string& name) {
    for (const Command& c : Commands()) {
        if (c.name == name) return true;
    }
    return name == "help";
}

// A first word that is no command is reported with the list of commands,
// rather than as a stray argument. The exit status when it is refused.
std::optional<int> RefuseFirstWord(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "%s: missing command\n", kTool);
        PrintUsage(stderr);
        return 2;
    }
    const std::string first = argv[1];
    if (first.empty() || (first[0] != '-' && !IsCommand(first))) {
        std::fprintf(stderr, "%s: unknown command '%s'\n", kTool, first.c_str());
        PrintUsage(stderr);
        return 2;
    }
    return std::nullopt;
}

// The exit status when parsing ends the run: help, version or a parse error.
std::optional<int> ParseArguments(CLI::App& app, int argc, char** argv) {
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForAllHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForVersion& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        const auto chosen = app.get_subcommands();
        const std::string who =
            chosen.empty() ? kTool : std::string(kTool) + " " + chosen.front()->get_name();
        std::fprintf(stderr, "%s: %s\n", who.c_str(), e.what());
        return 2;
    }
    return std::nullopt;
}

int RunHelp(CLI::App& app, const std::string& helpTopic) {
    if (!helpTopic.empty() && !IsCommand(helpTopic)) {
        std::fprintf(stderr, "%s help: unknown command '%s'\n", kTool, helpTopic.c_str());
        return 2;
    }
    // As "[COMMAND] --help", so that the text is the same either way.
    std::vector<std::string> args = {"--help"};
    if (!helpTopic.empty()) args.push_back(helpTopic);  // the arguments go in reversed
    app.clear();
    try {
        app.parse(args);
    } catch (const CLI::ParseError& e) {
        return app.exit(e);
    }
    return 2;
}

int RunCommand(const CLI::App& chosen) {
    for (const Command& command : Commands()) {
        if (command.name != chosen.get_name()) continue;
        try {
            return command.run(GivenOptions(chosen, command));
        } catch (const UsageError& e) {
            std::fprintf(stderr, "%s %s: %s\n", kTool, command.name.c_str(), e.what());
            return 2;
        } catch (const ConfigError& e) {
            std::fprintf(stderr, "%s %s: %s\n", kTool, command.name.c_str(), e.what());
            return 1;
        }
    }
    return 2;
}

int Run(int argc, char** argv) {
    CLI::App app("Prayer times, the sun and the Qibla without a window.", kTool);
    app.set_version_flag("--version", std::string(kTool) + " " + ORVANO_VERSION);
    app.require_subcommand(1);
    app.get_formatter()->label("SUBCOMMAND", "COMMAND");
    for (const Command& command : Commands()) AddCommand(app, command);
    std::string helpTopic;
    app.add_subcommand("help", "Show the help of the tool or of one command")
        ->group("Commands")
        ->add_option("command", helpTopic, "The command to describe");

    if (auto refused = RefuseFirstWord(argc, argv)) return *refused;
    if (auto ended = ParseArguments(app, argc, argv)) return *ended;
    const CLI::App* chosen = app.get_subcommands().front();
    if (chosen->get_name() == "help") return RunHelp(app, helpTopic);
    return RunCommand(*chosen);
}

}  // namespace

int main(int argc, char** argv) {
    // Anything a command did not foresee (a full disk, no memory) ends the
    // run with its reason rather than an abort.
    try {
        return Run(argc, argv);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s: %s\n", kTool, e.what());
        return 1;
    }
}
