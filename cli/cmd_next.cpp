// orvano-cli next: the prayer whose time has come, and the one to come.
#include <cmath>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "astro/json.h"
#include "astro/trace.h"
#include "cli/commands.h"
#include "cli/shown_days.h"
#include "language/messages.h"

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

// Two days either side, so that a night without Isha or Fajr still has
// a prayer before and after it.
struct NearbyPrayers {
    std::vector<Event> events;
    ShownDay today;
};

NearbyPrayers PrayersAround(EngineState& state, date::year_month_day today) {
    NearbyPrayers nearby;
    for (int offset = -2; offset <= 2; ++offset) {
        const ShownDay day = ComputeShownDay(state, date::sys_days(today) + date::days(offset));
        if (offset == 0) nearby.today = day;
        for (size_t i = 0; i < kPrayerCount; ++i) {
            if (day.status[i] != PrayerStatus::None)
                nearby.events.push_back({day, i, day.utcMinute[i]});
        }
    }
    return nearby;
}

// The latest prayer that has come and the earliest still to come.
struct CurrentAndNext {
    const Event* current = nullptr;
    const Event* next = nullptr;
    std::int64_t secondsToNext = 0;
};

CurrentAndNext FindCurrentAndNext(const std::vector<Event>& events, std::int64_t nowSecond) {
    CurrentAndNext found;
    for (const Event& e : events) {
        const std::int64_t second = e.utcMinute * 60;
        if (second <= nowSecond &&
            (found.current == nullptr || second >= found.current->utcMinute * 60))
            found.current = &e;
        if (second > nowSecond && (found.next == nullptr || second < found.next->utcMinute * 60))
            found.next = &e;
    }
    if (found.next) found.secondsToNext = found.next->utcMinute * 60 - nowSecond;
    return found;
}

void PrintNextJson(const EngineState& state, const std::string& at, double todayZone,
                   const CurrentAndNext& found, const std::optional<HijriDate>& hijri) {
    JsonObject json;
    json.add("town", state.place.Name).add("country", state.place.Country).add("at", at);
    json.add("timeZoneInEffect", todayZone);
    json.addRaw("current", found.current ? EventJson(*found.current, std::nullopt) : "null");
    json.addRaw("next", found.next ? EventJson(*found.next, found.secondsToNext) : "null");
    json.addRaw("hijri", HijriJson(hijri));
    std::printf("%s\n", json.str().c_str());
}

void PrintNextText(const EngineState& state, const std::string& at, date::year_month_day today,
                   const CurrentAndNext& found, const std::optional<HijriDate>& hijri) {
    std::printf("%s, %s\n", PrintableText(state.place.Name).c_str(),
                PrintableText(state.place.Country).c_str());
    std::printf("%s\n", at.c_str());
    if (const Event* current = found.current) {
        std::printf("now   %-9s %s%s\n", kPrayerNames[current->prayer],
                    current->day.text[current->prayer].c_str(), DayNote(*current, today).c_str());
    }
    if (const Event* next = found.next) {
        std::printf("next  %-9s %s%s, in %s\n", kPrayerNames[next->prayer],
                    next->day.text[next->prayer].c_str(), DayNote(*next, today).c_str(),
                    DurationText(found.secondsToNext).c_str());
    }
    if (!found.current && !found.next) std::printf("no prayer has a time within two days\n");
    std::printf("%s\n", HijriLine(hijri).c_str());
}

int RunNext(const Options& options) {
    EngineState state = ScheduleState(options);
    Observation now = PlaceNow(state.place);
    if (options.at) now = *options.at;
    const date::year_month_day today = DateOf(now);

    const NearbyPrayers nearby = PrayersAround(state, today);
    const double todayZone = nearby.today.zoneHours;
    const std::int64_t nowSecond = LocalToUtcSeconds(
        state.place, today, now.hour * 3600 + now.minute * 60 + now.second, todayZone);
    const CurrentAndNext found = FindCurrentAndNext(nearby.events, nowSecond);
    const std::string at =
        Format("%s %02d:%02d:%02d", DateText(today).c_str(), now.hour, now.minute, now.second);

    // The Hijri date now: from the evening on, the next day's.
    const std::optional<HijriDate> hijri =
        HijriAtMinute(now.year, now.month, now.day, nearby.today.schedule,
                      now.hour * 60 + now.minute, state.hijriAdjust);

    if (options.json)
        PrintNextJson(state, at, todayZone, found, hijri);
    else
        PrintNextText(state, at, today, found, hijri);
    return 0;
}

}  // namespace

Command NextCommand() {
    return {"next", N_("Print the prayer whose time has come, the next one and the time left"),
            WithPlaceAndRule(
                {InstantOption("The local instant to ask about (default: now in the town's zone)",
                               &Options::at),
                 JsonOption("Print one JSON object")}),
            RunNext};
}

}  // namespace orvano::cli
