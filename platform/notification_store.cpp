#include "platform/notification_store.h"

#include <date/date.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <sstream>
#include <utility>

#include "fileio/safe_file.h"

namespace orvano {

namespace {

// The civil time as a count of seconds on the local time line, where days
// beyond the month and hours beyond the day count on.
date::local_seconds Instant(const LocalTime& t) {
    const date::local_days day{date::year{t.year} / date::month{static_cast<unsigned>(t.month)} /
                               date::day{static_cast<unsigned>(t.day)}};
    return day + std::chrono::hours{t.hour} + std::chrono::minutes{t.minute} +
           std::chrono::seconds{t.second};
}

std::string Escape(const std::string& s) {
    std::string out;
    for (char c : s) {
        switch (c) {
            case '\\':
                out += "\\\\";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::string Unescape(const std::string& s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '\\' || i + 1 == s.size()) {
            out += s[i];
            continue;
        }
        const char c = s[++i];
        out += c == 't' ? '\t' : c == 'n' ? '\n' : c == 'r' ? '\r' : c;
    }
    return out;
}

std::vector<std::string> SplitTabs(const std::string& line) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    while (true) {
        const auto tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab == std::string::npos ? tab : tab - start));
        if (tab == std::string::npos) break;
        start = tab + 1;
    }
    return fields;
}

std::string TimeField(const LocalTime& t) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%d-%d-%d-%d-%d-%d-%d-%d", t.year, t.month, t.dayOfWeek,
                  t.day, t.hour, t.minute, t.second, t.milliseconds);
    return buffer;
}

bool ParseTime(const std::string& s, LocalTime& t) {
    return std::sscanf(s.c_str(), "%d-%d-%d-%d-%d-%d-%d-%d", &t.year, &t.month, &t.dayOfWeek,
                       &t.day, &t.hour, &t.minute, &t.second, &t.milliseconds) == 8;
}

}  // namespace

LocalTime NormaliseLocalTime(LocalTime t) {
    const date::local_seconds instant = Instant(t);
    const date::local_days day = std::chrono::floor<date::days>(instant);
    const date::year_month_day civil{day};
    const date::hh_mm_ss<std::chrono::seconds> clock{instant - day};
    t.year = static_cast<int>(civil.year());
    t.month = static_cast<int>(static_cast<unsigned>(civil.month()));
    t.day = static_cast<int>(static_cast<unsigned>(civil.day()));
    t.hour = static_cast<int>(clock.hours().count());
    t.minute = static_cast<int>(clock.minutes().count());
    t.second = static_cast<int>(clock.seconds().count());
    t.dayOfWeek = static_cast<int>(date::weekday{day}.c_encoding());  // 0 = Sunday
    return t;
}

long long LocalTimeKey(const LocalTime& t) {
    return Instant(t).time_since_epoch().count() * 1000LL + t.milliseconds;
}

NotificationStore::NotificationStore(std::string path, std::string eventsPath,
                                     std::function<LocalTime()> now)
    : path_(std::move(path)), eventsPath_(std::move(eventsPath)), now_(std::move(now)) {}

bool NotificationStore::Load(std::vector<Entry>& entries, NotificationHandle& next) {
    entries.clear();
    next = 1;
    // The program's own file: a link planted in its place is not read through.
    const InputFile file = ReadInputFile(path_, kMaxInputFileBytes, Links::Refuse);
    if (file.missing()) return true;  // no file yet: an empty store
    if (!file.ok()) return false;
    std::istringstream in(file.bytes);
    std::string line;
    while (std::getline(in, line)) {
        const auto f = SplitTabs(line);
        if (f.size() == 2 && f[0] == "next") {
            try {
                next = static_cast<NotificationHandle>(std::stoul(f[1]));
            } catch (const std::exception&) {
                next = 1;
            }
            continue;
        }
        if (f.size() != 11 || f[0] != "N") continue;  // a damaged line is skipped, not fatal
        Entry e;
        try {
            e.handle = static_cast<NotificationHandle>(std::stoul(f[1]));
            e.kind = std::stoi(f[2]);
            e.done = f[3] == "1";
            if (!ParseTime(f[4], e.trigger.start) || !ParseTime(f[5], e.trigger.end)) continue;
            e.trigger.application = Unescape(f[6]);
            e.trigger.arguments = Unescape(f[7]);
            e.user.actionFlags = std::stoi(f[8]);
            e.user.dialogTitle = Unescape(f[9]);
            e.user.dialogText = Unescape(f[10]);
        } catch (const std::exception&) {
            continue;
        }
        entries.push_back(std::move(e));
    }
    return true;
}

bool NotificationStore::Save(const std::vector<Entry>& entries, NotificationHandle next) {
    std::ostringstream out;
    out << "next\t" << next << '\n';
    for (const Entry& e : entries) {
        out << "N\t" << e.handle << '\t' << e.kind << '\t' << (e.done ? 1 : 0) << '\t'
            << TimeField(e.trigger.start) << '\t' << TimeField(e.trigger.end) << '\t'
            << Escape(e.trigger.application) << '\t' << Escape(e.trigger.arguments) << '\t'
            << e.user.actionFlags << '\t' << Escape(e.user.dialogTitle) << '\t'
            << Escape(e.user.dialogText) << '\n';
    }
    // Renamed over the store once complete, so a crash never leaves half a file.
    ReplacingFile file;
    if (!file.Create(path_, "", false)) return false;
    file.Write(out.str());
    return file.Commit();
}

NotificationHandle NotificationStore::Set(const NotificationTrigger& trigger,
                                          const UserNotification& notification) {
    std::vector<Entry> entries;
    NotificationHandle next = 1;
    if (!Load(entries, next)) return 0;
    if (entries.size() >= kMaxNotifications) return 0;
    // Handles stay unique even if the counter was damaged.
    for (const Entry& old : entries) {
        if (old.handle >= next) next = old.handle + 1;
    }
    Entry e;
    e.handle = next == 0 ? 1 : next;
    e.trigger = trigger;
    // An end of 24:00 (or a minute of 60) means the same instant of the next
    // day; the real service would not refuse it, so neither does this one.
    e.trigger.start = NormaliseLocalTime(trigger.start);
    e.trigger.end = NormaliseLocalTime(trigger.end);
    e.user = notification;
    // A period already over never fires; otherwise every alarm of the day
    // set in the afternoon would go off at once.
    e.done = LocalTimeKey(e.trigger.end) <= LocalTimeKey(now_());
    entries.push_back(e);
    if (!Save(entries, e.handle + 1)) return 0;
    return e.handle;
}

std::optional<std::vector<NotificationHandle>> NotificationStore::List(int maxCount) {
    std::vector<Entry> entries;
    NotificationHandle next = 1;
    if (!Load(entries, next)) return std::nullopt;
    std::vector<NotificationHandle> handles;
    for (const Entry& e : entries) {
        if (static_cast<int>(handles.size()) >= maxCount) break;
        handles.push_back(e.handle);
    }
    return handles;
}

std::optional<NotificationInfo> NotificationStore::Read(NotificationHandle handle) {
    std::vector<Entry> entries;
    NotificationHandle next = 1;
    if (!Load(entries, next)) return std::nullopt;
    for (const Entry& e : entries) {
        if (e.handle != handle) continue;
        return NotificationInfo{e.trigger, e.user};
    }
    return std::nullopt;
}

bool NotificationStore::Clear(NotificationHandle handle) {
    std::vector<Entry> entries;
    NotificationHandle next = 1;
    if (!Load(entries, next)) return false;
    const auto before = entries.size();
    std::erase_if(entries, [&](const Entry& e) { return e.handle == handle; });
    if (entries.size() == before) return false;
    return Save(entries, next);
}

std::vector<NotificationStore::Entry> NotificationStore::TakeDue(const LocalTime& now) {
    std::vector<Entry> entries;
    NotificationHandle next = 1;
    std::vector<Entry> due;
    if (!Load(entries, next)) return due;
    const long long nowKey = LocalTimeKey(now);
    bool changed = false;
    for (Entry& e : entries) {
        if (e.done || LocalTimeKey(e.trigger.start) > nowKey) continue;
        if (nowKey < LocalTimeKey(e.trigger.end)) due.push_back(e);
        e.done = true;
        changed = true;
    }
    if (changed && !Save(entries, next)) due.clear();  // delivered once at most, never twice
    return due;
}

bool NotificationStore::RecordNamedEvent(const std::string& application, const LocalTime& when) {
    const int fd = OpenRegularFileForAppend(eventsPath_);
    if (fd < 0) return false;
    char stamp[64];
    std::snprintf(stamp, sizeof stamp, "%04d-%02d-%02d %02d:%02d:%02d", when.year, when.month,
                  when.day, when.hour, when.minute, when.second);
    const std::string line = std::string(stamp) + '\t' + application + '\n';
    // One write with O_APPEND: a line is never interleaved with another writer's.
    const bool written = ::write(fd, line.data(), line.size()) == static_cast<ssize_t>(line.size());
    return ::close(fd) == 0 && written;
}

std::vector<NotificationStore::Entry> NotificationStore::Entries() {
    std::vector<Entry> entries;
    NotificationHandle next = 1;
    Load(entries, next);
    return entries;
}

}  // namespace orvano
