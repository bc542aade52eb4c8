// orvano-cli next: the prayer whose time has come, and the one to come.
#include <cmath>
#include <cstdio>
#include <optional>

#include "astro/json.h"
#include "astro/trace.h"
#include "cli/commands.h"
#include "cli/shown_days.h"

namespace orvano::cli {

namespace {

struct Event {
    ShownDay day;
    size_t prayer = 0;
    std::int64_t utcMinute = 0;

    // The local date the prayer happens on: an Isha shown past midnight
    // happens the day after the one it belongs to.
    date::year_month_day happensOn() const {
        const auto local = utcMinute + static_cast<std::int64_t>(std::llround(day.zoneHours * 60));
        return date::sys_days(date::days(local >= 0 ? local / 1440 : (local - 1439) / 1440));
    }
};

// Hours to minutes to seconds, as "H:MM:SS".
std::string DurationText(std::int64_t seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", static_cast<long long>(seconds / 3600),
                  static_cast<long long>(seconds / 60 % 60), static_cast<long long>(seconds % 60));
    return text;
}

std::string EventJson(const Event& e, std::optional<std::int64_t> secondsLeft) {
    JsonObject o;
    o.add("prayer", kPrayerNames[e.prayer]).add("key", kPrayerKeys[e.prayer]);
    o.add("date", DateText(e.happensOn())).add("time", e.day.text[e.prayer]);
    o.add("status", PrayerStatusName(e.day.status[e.prayer]));
    if (secondsLeft) o.add("secondsLeft", static_cast<double>(*secondsLeft));
    return o.str();
}

// "(yesterday)" or "(tomorrow)" when the prayer happens on another day than now.
std::string DayNote(const Event& e, date::year_month_day today) {
    const auto offset = (date::sys_days(e.happensOn()) - date::sys_days(today)).count();
    if (offset == -1) return " (yesterday)";
    if (offset == 1) return " (tomorrow)";
    if (offset != 0) return " (" + DateText(e.happensOn()) + ")";
    return "";
}

int RunNext(const Options& options) {
    EngineState state = ScheduleState(options);
    Observation now = PlaceNow(state.place);
    if (auto at = options.get("at")) ParseDateTime("at", *at, now);
    const date::year_month_day today = DateOf(now);
    if (!today.ok())
        throw UsageError("option '--at' has an impossible date '" + *options.get("at") + "'");

    // Two days either side, so that a night without Isha or Fajr still has
    // a prayer before and after it.
    std::vector<Event> events;
    std::optional<double> todayZone;
    for (int offset = -2; offset <= 2; ++offset) {
        const ShownDay day = ComputeShownDay(state, date::sys_days(today) + date::days(offset));
        if (offset == 0) todayZone = day.zoneHours;
        for (size_t i = 0; i < kPrayerCount; ++i) {
            if (day.status[i] != PrayerStatus::None) events.push_back({day, i, day.utcMinute[i]});
        }
    }
    const std::int64_t nowSecond = LocalToUtcSeconds(
        state.place, today, now.hour * 3600 + now.minute * 60 + now.second, *todayZone);
    const Event* current = nullptr;
    const Event* next = nullptr;
    for (const Event& e : events) {
        const std::int64_t second = e.utcMinute * 60;
        if (second <= nowSecond && (current == nullptr || second >= current->utcMinute * 60))
            current = &e;
        if (second > nowSecond && (next == nullptr || second < next->utcMinute * 60)) next = &e;
    }
    const std::optional<std::int64_t> left =
        next ? std::optional<std::int64_t>(next->utcMinute * 60 - nowSecond) : std::nullopt;
    const std::string at =
        Format("%s %02d:%02d:%02d", DateText(today).c_str(), now.hour, now.minute, now.second);

    if (options.has("json")) {
        JsonObject json;
        json.add("town", state.place.Name).add("country", state.place.Country).add("at", at);
        json.add("timeZoneInEffect", *todayZone);
        json.addRaw("current", current ? EventJson(*current, std::nullopt) : "null");
        json.addRaw("next", next ? EventJson(*next, left) : "null");
        std::printf("%s\n", json.str().c_str());
        return 0;
    }
    std::printf("%s, %s\n", state.place.Name.c_str(), state.place.Country.c_str());
    std::printf("%s\n", at.c_str());
    if (current) {
        std::printf("now   %-9s %s%s\n", kPrayerNames[current->prayer],
                    current->day.text[current->prayer].c_str(), DayNote(*current, today).c_str());
    }
    if (next) {
        std::printf("next  %-9s %s%s, in %s\n", kPrayerNames[next->prayer],
                    next->day.text[next->prayer].c_str(), DayNote(*next, today).c_str(),
                    DurationText(*left).c_str());
    }
    if (!current && !next) std::printf("no prayer has a time within two days\n");
    return 0;
}

}  // namespace

Command NextCommand() {
    return {"next", "Print the prayer whose time has come, the next one and the time left",
            WithPlaceAndRule({{"at", "\"YYYY-MM-DD HH:MM:SS\"",
                               "The local instant to ask about (default: now in the town's zone)"},
                              {"json", "", "Print one JSON object"}}),
            RunNext};
}

}  // namespace orvano::cli
