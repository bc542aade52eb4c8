// orvano-cli: the prayer-time engine without a window.
#include <cstdio>
#include <exception>
#include <optional>
#include <string>
#include <vector>

#include "cli/command_line.h"
#include "cli/commands.h"
#include "language/languages.h"
#include "language/messages.h"
#include "platform/file_settings.h"
#include "platform/language.h"

using namespace orvano::cli;
using orvano::IsSpokenLanguage;
using orvano::Tr;

namespace {

constexpr const char* kTool = "orvano-cli";

void PrintUsage(std::FILE* out) {
    std::fprintf(out, Tr("usage: %s COMMAND [OPTIONS]   (%s COMMAND --help tells more)\n"), kTool,
                 kTool);
    for (const Command& c : Commands())
        std::fprintf(out, "  %-10s %s\n", c.name.c_str(), Tr(c.summary.c_str()));
}

// `--lang CODE`, anywhere on the line, taken out before the commands read it.
// The language of the texts the tool has always written in English; the
// pages and names it shares with the window follow LanguageOfSettings.
std::optional<int> TakeLanguage(std::vector<char*>& args) {
    std::optional<std::string> asked;
    for (size_t i = 1; i < args.size(); ++i) {
        if (std::string(args[i]) != "--lang") continue;
        if (i + 1 >= args.size() || !IsSpokenLanguage(args[i + 1])) {
            std::fprintf(stderr, "%s: --lang takes one of:", kTool);
            for (const auto& language : orvano::Languages())
                std::fprintf(stderr, " %s", language.code);
            std::fprintf(stderr, "\n");
            return 2;
        }
        asked = args[i + 1];
        args.erase(args.begin() + static_cast<std::ptrdiff_t>(i),
                   args.begin() + static_cast<std::ptrdiff_t>(i + 2));
        --i;
    }
    orvano::FileSettingsStore settings(orvano::DefaultSettingsPath());
    const orvano::LanguageChoice choice =
        asked ? orvano::LanguageChoice{*asked, orvano::LanguageSource::Saved}
              : orvano::LanguageOfSettings(settings);
    SetLanguages(choice);
    return std::nullopt;
}

const Command* CommandNamed(const std::string& name) {
    for (const Command& command : Commands()) {
        if (command.name == name) return &command;
    }
    return nullptr;
}

bool IsCommand(const std::string& name) {
    return CommandNamed(name) != nullptr || name == "help";
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

std::string ChosenName(const CLI::App& app) {
    const auto chosen = app.get_subcommands();
    return chosen.empty() ? kTool : std::string(kTool) + " " + chosen.front()->get_name();
}

bool HelpAsked(const CLI::App& app) {
    const auto chosen = app.get_subcommands();
    const CLI::App& asked = chosen.empty() ? app : *chosen.front();
    return asked.get_help_ptr() != nullptr && asked.get_help_ptr()->count() > 0;
}

// Options given without one they need, or beside one they shut out.
int RefuseRule(const CLI::App& app, const CLI::ParseError& error) {
    const CLI::App* sub = app.get_subcommands().front();
    std::string message = BrokenRuleMessage(*sub, *CommandNamed(sub->get_name()));
    if (message.empty()) message = error.what();
    std::fprintf(stderr, "%s: %s\n", ChosenName(app).c_str(), message.c_str());
    return 2;
}

// The exit status when parsing ends the run: help, version, a value of the
// wrong form or a parse error.
std::optional<int> ParseArguments(CLI::App& app, int argc, char** argv) {
    try {
        app.parse(argc, argv);
    } catch (const UsageError& e) {
        // CLI11 checks values before it looks at --help; the help still wins.
        if (HelpAsked(app)) return app.exit(CLI::CallForHelp());
        std::fprintf(stderr, "%s: %s\n", ChosenName(app).c_str(), e.what());
        return 2;
    } catch (const CLI::RequiresError& e) {
        return RefuseRule(app, e);
    } catch (const CLI::ExcludesError& e) {
        return RefuseRule(app, e);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForAllHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForVersion& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        std::fprintf(stderr, "%s: %s\n", ChosenName(app).c_str(), e.what());
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

int RunCommand(const Command& command, const Options& values) {
    try {
        return command.run(values);
    } catch (const UsageError& e) {
        std::fprintf(stderr, "%s %s: %s\n", kTool, command.name.c_str(), e.what());
        return 2;
    } catch (const ConfigError& e) {
        std::fprintf(stderr, "%s %s: %s\n", kTool, command.name.c_str(), e.what());
        return 1;
    }
}

int Run(int argc, char** argv) {
    std::vector<char*> args(argv, argv + argc);
    if (auto refused = TakeLanguage(args)) return *refused;
    argc = static_cast<int>(args.size());
    argv = args.data();
    CLI::App app(Tr("Prayer times, the sun and the Qibla without a window."), kTool);
    // Set before the commands are added, which copy them.
    app.option_defaults()->group(Tr("Options"));
    app.set_help_flag("-h,--help", Tr("Print this help message and exit"));
    app.set_version_flag("--version", std::string(kTool) + " " + ORVANO_VERSION,
                         Tr("Display program version information and exit"));
    app.require_subcommand(1);
    app.formatter(std::make_shared<HelpFormatter>());
    for (const auto& [key, text] : {std::pair{"Usage", Tr("Usage")},
                                    {"OPTIONS", Tr("OPTIONS")},
                                    {"SUBCOMMAND", Tr("COMMAND")},
                                    {"REQUIRED", Tr("REQUIRED")},
                                    {"Positionals", Tr("Positionals")}}) {
        app.get_formatter()->label(key, text);
    }
    Options values;
    for (const Command& command : Commands()) AddCommandLine(app, command, values);
    std::string helpTopic;
    app.add_subcommand("help", Tr("Show the help of the tool or of one command"))
        ->group(Tr("Commands"))
        ->add_option("command", helpTopic, Tr("The command to describe"));

    if (auto refused = RefuseFirstWord(argc, argv)) return *refused;
    if (auto ended = ParseArguments(app, argc, argv)) return *ended;
    const CLI::App* chosen = app.get_subcommands().front();
    if (chosen->get_name() == "help") return RunHelp(app, helpTopic);
    return RunCommand(*CommandNamed(chosen->get_name()), values);
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
