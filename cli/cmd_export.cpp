// orvano-cli export: a span of days as CSV or iCalendar, on standard output
// or into a file.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "cli/commands.h"
#include "cli/export.h"
#include "fileio/safe_file.h"
#include "language/messages.h"
#include "platform/file_settings.h"

namespace orvano::cli {

namespace {

// Longer spans are almost surely a typing slip, and would take long to write.
constexpr int kMaxYears = 10;

std::array<bool, kPrayerCount> AlarmSwitches(const Options& options) {
    std::array<bool, kPrayerCount> alarms{};
    FileSettingsStore store(options.settings.value_or(DefaultSettingsPath()));
    const auto key = store.OpenKey(kTodaySettingsKey);
    if (!key) return alarms;
    const std::array<int, 5> prayers = {Fajr, Zuhr, Asr, Maghrib, Isha};
    for (size_t i = 0; i < prayers.size(); ++i) {
        const auto value = key->ReadByte(kAlarmValueNames[i]);
        alarms[static_cast<size_t>(prayers[i])] = value && *value != 0;
    }
    return alarms;
}

const char* KindOf(mode_t mode) {
    if (S_ISDIR(mode)) return "a folder";
    if (S_ISFIFO(mode)) return "a FIFO";
    if (S_ISCHR(mode) || S_ISBLK(mode)) return "a device";
    if (S_ISSOCK(mode)) return "a socket";
    return "not a regular file";
}

// Only a regular file is ever replaced: renaming over a device node, a FIFO or
// a folder's name would destroy it (as root, --out /dev/full replaced the
// device), and replacing a link would cut it where the user meant its target.
void CheckTarget(const std::string& path) {
    struct stat info {};
    if (lstat(path.c_str(), &info) != 0) return;  // nothing there yet
    if (S_ISLNK(info.st_mode)) {
        std::string target(4096, '\0');
        const ssize_t n = readlink(path.c_str(), target.data(), target.size());
        target.resize(n > 0 ? static_cast<size_t>(n) : 0);
        throw UsageError("option '--out': '" + path + "' is a symbolic link to '" + target +
                         "'; give the file itself");
    }
    if (!S_ISREG(info.st_mode)) {
        throw UsageError("option '--out': '" + path + "' is " + KindOf(info.st_mode) +
                         ", not a regular file; nothing was written");
    }
}

// The folder must exist; the file is replaced whole or not at all.
void WriteFileReplacing(const std::string& path, const std::string& bytes) {
    const size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "."
                               : slash == 0               ? "/"
                                                          : path.substr(0, slash);
    struct stat info {};
    if (path.empty() || path.back() == '/') {
        throw UsageError("option '--out' needs a file name, not '" + path + "'");
    }
    if (stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
        throw UsageError("option '--out': the folder '" + folder + "' does not exist");
    }
    CheckTarget(path);
    // Exports killed before their rename left these (earlier versions named
    // them so); ten minutes on, no live export owns one.
    RemoveStaleMkstempFiles(folder, ".orvano-export-", kStaleTemporarySeconds);
    RemoveStaleTemporaries(folder, "." + path.substr(slash + 1) + ".", kStaleTemporarySeconds);
    ReplacingFile file;
    if (!file.Create(path, "", true)) {
        throw ConfigError("cannot write in " + folder + ": " + std::strerror(errno));
    }
    file.Write(bytes);
    if (!file.Commit()) throw ConfigError("cannot write " + path + ": " + std::strerror(errno));
}

int RunExport(const Options& options) {
    if (!options.format) throw UsageError("option '--format' needs csv or ics, not ''");
    const std::string& format = *options.format;
    EngineState state = ScheduleState(options);
    const date::year_month_day today = DateOf(PlaceNow(state.place));
    const date::year_month_day from = options.from.value_or(today.year() / today.month() / 1);
    const date::year_month_day to = options.to.value_or(from.year() / from.month() / date::last);
    if (date::sys_days(to) < date::sys_days(from)) {
        throw UsageError("option '--to' " + DateText(to) + " comes before --from " +
                         DateText(from));
    }
    if (date::sys_days(to) >= date::sys_days(from + date::years(kMaxYears))) {
        throw UsageError("options '--from' and '--to' span more than " + std::to_string(kMaxYears) +
                         " years");
    }
    const PrayerExtras extras = ReadPrayerSettings(options);
    const std::string bytes = format == "csv"
                                  ? ExportCsv(state, from, to, extras)
                                  : ExportIcs(state, from, to, AlarmSwitches(options), extras);
    if (const auto& out = options.out) {
        WriteFileReplacing(*out, bytes);
    } else {
        std::fwrite(bytes.data(), 1, bytes.size(), stdout);
    }
    return 0;
}

}  // namespace

Command ExportCommand() {
    return {
        "export", N_("Write the prayer times of a span of days as CSV or iCalendar"),
        WithPlaceAndRule({
            ChoiceOption("format", "csv|ics", "CSV (RFC 4180) or iCalendar (RFC 5545); required",
                         &Options::format, {"csv", "ics"}, "needs csv or ics"),
            DayOption("from", "The first day (default: the first of this month)", &Options::from),
            DayOption("to", "The last day (default: the end of --from's month)", &Options::to),
            TextOption("out", "FILE", "Write to this file instead of standard output",
                       &Options::out),
            TextOption("settings", "FILE",
                       "Where the alarm switches (for iCalendar reminders) and the "
                       "high-latitude rule are read (default: the user's settings)",
                       &Options::settings),
        }),
        RunExport};
}

}  // namespace orvano::cli
