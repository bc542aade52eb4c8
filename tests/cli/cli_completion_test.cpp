// The bash completion installed with orvano-cli, run by bash itself.
#include <gtest/gtest.h>

#include "tests/cli/run_cli.h"

namespace orvano {
namespace {

using testing::ShellQuote;

// What the completion offers for the words typed so far, one a line.
std::string Complete(const std::vector<std::string>& words) {
    std::string script = "source " +
                         ShellQuote(std::string(ORVANO_SOURCE_DIR) + "/cli/orvano-cli.bash") +
                         "; COMP_WORDS=(";
    for (const std::string& w : words) script += ShellQuote(w) + " ";
    script += "); COMP_CWORD=$((${#COMP_WORDS[@]} - 1)); _orvano_cli " +
              ShellQuote(testing::CliPath()) + "; printf '%s\\n' \"${COMPREPLY[@]}\"";
    std::string out;
    FILE* pipe = popen(("bash -c " + ShellQuote(script) + " 2>&1").c_str(), "r");
    if (pipe == nullptr) return out;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
    pclose(pipe);
    return out;
}

TEST(CliCompletion, CommandsOptionsValuesAndTowns) {
    const std::string towns = std::string(ORVANO_TEST_DATA) + "/cli_towns.cfg";
    const struct {
        std::vector<std::string> words;
        const char* offered;
    } cases[] = {
        {{"orvano-cli", "t"}, "towns\ntimes\ntrace\n"},
        {{"orvano-cli", "--v"}, "--version\n"},
        {{"orvano-cli", "help", "ne"}, "next\n"},
        {{"orvano-cli", "export", "--f"}, "--format\n--from\n"},
        {{"orvano-cli", "export", "--format", ""}, "csv\nics\n"},
        {{"orvano-cli", "times", "--date", ""}, "\n"},
        {{"orvano-cli", "next", "--config", towns, "--town", "hy"},
         "India/Hyderabad\nPakistan/Hyderabad\n"},
        {{"orvano-cli", "next", "--config", towns, "--town", "NEW"}, "New_York\nNewark\n"},
        {{"orvano-cli", "next", "--config", towns, "--town", "sa"},
         "Saint-\\\"Denis\\\"\\;Nord\\,Est\n"},
    };
    for (const auto& c : cases) EXPECT_EQ(Complete(c.words), c.offered) << c.words.back();
}

}  // namespace
}  // namespace orvano
