// A month of prayer times written as one HTML page and opened in the browser.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

#include "astro/trace.h"
#include "engine/state.h"

namespace orvano {

// Opens a written page with the desktop's default handler, the path passed as
// one argument and never through a command interpreter. It reports nothing:
// a browser that does not start leaves the page written all the same. An empty
// opener opens nothing.
using PageOpener = std::function<void(const std::string& path)>;

enum class CalendarStatus {
    Written,
    NoTown,       // the town table is empty or the selected town does not exist
    BadMonth,     // the observation's month is not 1..12
    NameTooLong,  // the file name or the path is over its limit
    OpenError,    // the file could not be created
    WriteError,   // the file was created but could not be written in full
};

struct CalendarResult {
    CalendarStatus status = CalendarStatus::OpenError;
    std::string fileName;  // without the folder, UTF-8
    std::string path;      // the folder followed by the file name
};

// The file name keeps to 79 characters and 100 bytes, so that its temporary
// twin stays within what a folder can name; the path to what this platform can
// open.
inline constexpr size_t kMaxCalendarFileNameChars = 79;
inline constexpr size_t kMaxCalendarFileNameBytes = 100;
inline constexpr size_t kMaxCalendarPathBytes = 4000;

// "<town>_<month name><year>.html", the town's name made safe for a file name
// and cut (never the month and the year) to fit the limits above.
std::string CalendarFileName(const std::string& townName, int month, int year);

// The page of the observation's month for the selected town, written into
// `folder` (the program's folder in the application) and then opened. Console
// lines (a file that cannot be created, an empty town table) go to `console`.
// `today`, the date in the town's zone, marks its row when it falls in the month.
// On return the observation's date, the day's schedule and timeZoneInEffect are
// as before, and Verbose is 1 if it was nonzero before, else 0.
CalendarResult WriteMonthCalendar(EngineState& state, const std::string& folder, TraceSink& console,
                                  const PageOpener& opener,
                                  const std::optional<Observation>& today = std::nullopt);

}  // namespace orvano
