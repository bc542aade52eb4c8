// The commands' options as CLI11 reads them: typed, checked as they are read,
// refused with the tool's own messages.
#pragma once

#include <CLI/CLI.hpp>
#include <string>

#include "cli/options.h"

namespace orvano::cli {

// The help names an option's value only; which options go together is said by
// the refusals.
class HelpFormatter : public CLI::Formatter {
  public:
    std::string make_option_opts(const CLI::Option* option) const override;
};

// The command as a subcommand of `app` whose options land in `values`. A value
// of the wrong form throws UsageError from app.parse().
CLI::App* AddCommandLine(CLI::App& app, const Command& command, Options& values);

// The tool's message for what CLI11 refused with a RequiresError or an
// ExcludesError: the first option given without one it needs, else the first
// given beside one it shuts out.
std::string BrokenRuleMessage(const CLI::App& sub, const Command& command);

}  // namespace orvano::cli
