// orvano-cli calendar: the month's HTML page, opened in the desktop's browser.
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "calendar/month_calendar.h"
#include "cli/options.h"
#include "language/messages.h"

namespace orvano::cli {

namespace {

// The desktop's default handler with the path as its one argument; no shell
// ever sees the path. Started as a grandchild so that the browser is neither
// waited for nor left as a zombie; its failure is not reported.
void OpenWithDesktop(const std::string& path) {
    std::string program = "xdg-open";
    char* const argv[] = {program.data(), const_cast<char*>(path.c_str()), nullptr};
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child < 0) return;
    if (child == 0) {
        if (fork() == 0) {
            // The browser outlives us: its own session, and none of our standard
            // streams, so that whoever reads our output is not held open by it.
            setsid();
            const int devNull = open("/dev/null", O_RDWR);
            if (devNull >= 0) {
                dup2(devNull, STDIN_FILENO);
                dup2(devNull, STDOUT_FILENO);
                dup2(devNull, STDERR_FILENO);
                if (devNull > STDERR_FILENO) close(devNull);
            }
            execvp(argv[0], argv);
            _exit(127);
        }
        _exit(0);
    }
    waitpid(child, nullptr, 0);
}

int RunCalendar(const Options& options) {
    EngineState state;
    ResolvePlace(options, state);
    state.observation = ZoneOrDesktopNow(state.place);
    const Observation today = state.observation;
    if (options.month) SetDate(state.observation, *options.month);
    std::string folder;
    if (const auto& out = options.out) {
        if (out->empty()) throw UsageError("option '--out' needs a folder");
        folder = *out;
        // Said plainly, rather than as a page that cannot be created.
        std::error_code error;
        const auto type = std::filesystem::status(folder, error).type();
        if (type == std::filesystem::file_type::not_found) {
            std::fprintf(stderr,
                         "orvano-cli calendar: option '--out': the folder '%s' does not exist\n",
                         folder.c_str());
            return 1;
        }
        if (!error && type != std::filesystem::file_type::directory) {
            std::fprintf(stderr, "orvano-cli calendar: option '--out': '%s' is not a folder\n",
                         folder.c_str());
            return 1;
        }
    } else {
        folder = DefaultCalendarFolder();
    }

    FileTraceSink trace(stdout);
    state.traceSink = &trace;
    // The calendar's console lines all report failures.
    FileTraceSink errors(stderr);
    PageOpener opener;
    if (!options.noOpen) opener = OpenWithDesktop;
    const ScopedLanguage page(PageLanguage());
    const CalendarResult result = WriteMonthCalendar(state, folder, errors, opener, today);
    if (result.status != CalendarStatus::Written) return 1;
    std::printf("%s\n", result.path.c_str());
    return 0;
}

}  // namespace

Command CalendarCommand() {
    return {"calendar", N_("Write the month's prayer times as an HTML page and open it"),
            WithFilePlace({
                MonthOption("The month to show (default: this month)", &Options::month),
                TextOption("out", "DIR",
                           "The folder to write the page to (default: "
                           "~/.local/share/orvano/calendars)",
                           &Options::out),
                FlagOption("no-open", "Only write the page; don't open it in the browser",
                           &Options::noOpen),
                HighLatitudeOption(),
                MethodOption(),
                HijriAdjustOption(),
            }),
            RunCalendar};
}

}  // namespace orvano::cli
