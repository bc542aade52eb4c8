// orvano-cli: the prayer-time engine without a window.
#include <cstdio>
#include <string>
#include <vector>

#include "cli/options.h"

using namespace orvano::cli;

namespace {

void PrintUsage(std::FILE* out) {
    std::fprintf(out, "usage:\n");
    for (const Command& c : Commands()) std::fprintf(out, "  orvano-cli %s\n", c.usage.c_str());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "orvano-cli: missing command\n");
        PrintUsage(stderr);
        return 2;
    }
    const std::string name = argv[1];
    if (name == "--help" || name == "help") {
        PrintUsage(stdout);
        return 0;
    }
    for (const Command& command : Commands()) {
        if (command.name != name) continue;
        try {
            const Options options(std::vector<std::string>(argv + 2, argv + argc), command.options);
            return command.run(options);
        } catch (const UsageError& e) {
            std::fprintf(stderr, "orvano-cli %s: %s\n", name.c_str(), e.what());
            return 2;
        } catch (const ConfigError& e) {
            std::fprintf(stderr, "orvano-cli %s: %s\n", name.c_str(), e.what());
            return 1;
        }
    }
    std::fprintf(stderr, "orvano-cli: unknown command '%s'\n", name.c_str());
    PrintUsage(stderr);
    return 2;
}
