#include "cli/commands.h"

namespace orvano::cli {

const std::vector<Command>& Commands() {
    // Built on first use, after every file's statics exist.
    static const std::vector<Command> table = {
        TownsCommand(),  TimesCommand(), MonthCommand(), NextCommand(),     ExportCommand(),
        TraceCommand(),  SunCommand(),   QiblaCommand(), CalendarCommand(), ReadCommand(),
        ResaveCommand(), BenchCommand(), FitCommand(),   AddCommand(),      MethodsCommand(),
    };
    return table;
}

}  // namespace orvano::cli
