// orvano-cli times, month, trace and bench: the prayer-time engine.
#include <array>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <string>
#include <thread>
#include <vector>

#include "astro/angle_text.h"
#include "astro/civil_date.h"
#include "astro/constants.h"
#include "astro/json.h"
#include "astro/julian_time.h"
#include "cli/export.h"
#include "cli/options.h"
#include "engine/schedule.h"
#include "language/date_names.h"
#include "language/messages.h"

namespace orvano::cli {

namespace {

constexpr const char* kPrayerNames[kPrayerCount] = {"Fajr", "Chourouk", "Zuhr",
                                                    "Asr",  "Maghrib",  "Isha"};

void ReadDate(const Options& options, Observation& observation) {
    if (options.date) SetDate(observation, *options.date);
}

// The shown hours, unreduced, with null for a prayer that has no time.
std::string JsonShown(const std::array<double, kPrayerCount>& hours,
                      const std::array<PrayerStatus, kPrayerCount>& status) {
    std::array<std::string, kPrayerCount> items;
    for (size_t i = 0; i < kPrayerCount; ++i) {
        items[i] = status[i] == PrayerStatus::None ? "null" : JsonNumber(hours[i]);
    }
    return JsonArray(items, [](const std::string& item) { return item; });
}

std::string JsonStatus(const std::array<PrayerStatus, kPrayerCount>& status) {
    return JsonArray(status, [](PrayerStatus s) { return JsonString(PrayerStatusName(s)); });
}

// Under the times, when one of them is estimated: which rule made it.
void PrintLegend(const std::array<PrayerStatus, kPrayerCount>& status, HighLatitudeRule rule) {
    for (PrayerStatus s : status) {
        if (s == PrayerStatus::Estimated) {
            std::printf("%s\n", EstimateLegendText(rule));
            return;
        }
    }
}

std::string JsonDoubles(const std::array<double, kPrayerCount>& values) {
    return JsonArray(values, [](double v) { return JsonNumber(v); });
}

// "method": the catalogue method the times follow, or null for the town's
// convention slot.
void AddMethod(JsonObject& json, const EngineState& state) {
    if (state.place.Method.empty() || state.methods.count(state.place.Method) == 0) {
        json.addRaw("method", "null");
    } else {
        json.add("method", state.place.Method);
    }
}

// The iqama or the reminder of each prayer, null where there is none.
std::string AsidesJson(const DayAsides& day, AsideField field) {
    std::array<std::string, kPrayerCount> items;
    for (size_t i = 0; i < kPrayerCount; ++i) {
        const std::string text = AsideText(day, i, field);
        items[i] = text.empty() ? "null" : JsonString(text);
    }
    return JsonArray(items, [](const std::string& item) { return item; });
}

// Only what the user set, so that the object stays as it was for everyone else.
void AddAsides(JsonObject& json, const PrayerExtras& extras, const DayAsides& day) {
    if (AnyIqama(extras)) json.addRaw("iqama", AsidesJson(day, &PrayerAside::iqama));
    if (AnyReminder(extras)) json.addRaw("reminders", AsidesJson(day, &PrayerAside::reminder));
    if (!extras.jumuah.enabled) return;
    if (!day.jumuah) {
        json.addRaw("jumuah", "null");
        return;
    }
    const std::string iqama = AsideText(day, Zuhr, &PrayerAside::iqama);
    JsonObject jumuah;
    jumuah.add("time", AsideText(day, Zuhr, &PrayerAside::minute));
    if (iqama.empty())
        jumuah.addRaw("iqama", "null");
    else
        jumuah.add("iqama", iqama);
    json.addRaw("jumuah", jumuah.str());
}

// After the lines that were always there: the Friday prayer, then one line
// per iqama and per reminder set, an estimated prayer's marked.
void PrintAsides(const ShownDay& shown, const DayAsides& day) {
    if (day.jumuah) {
        std::printf("%-9s %s\n", kJumuahName, AsideText(day, Zuhr, &PrayerAside::minute).c_str());
    }
    for (const auto& [label, field] :
         {std::pair{"Iqama", &PrayerAside::iqama}, std::pair{"Reminder", &PrayerAside::reminder}}) {
        for (size_t i = 0; i < kPrayerCount; ++i) {
            const std::string text = AsideText(day, i, field);
            if (text.empty()) continue;
            const bool estimated = shown.status[i] == PrayerStatus::Estimated && !day.IsJumuah(i);
            std::printf("%-9s %s %s%s\n", label, ShownPrayerName(day, i), text.c_str(),
                        estimated ? kEstimateMark : "");
        }
    }
}

int RunTimes(const Options& options) {
    EngineState state = ScheduleState(options);
    ReadDate(options, state.observation);
    const date::year_month_day date = DateOf(state.observation);
    // The night that follows the day ends on the next day's Fajr.
    const ShownDay today = ComputeShownDay(state, date);
    const NightTimes night =
        ShownNights(state, today, ComputeShownDay(state, date::sys_days(date) + date::days(1)));
    const DaySchedule& day = today.schedule;
    const PrayerExtras extras = ReadPrayerSettings(options);
    const DayAsides asides = AsidesOf(today, extras);
    std::array<std::string, kPrayerCount> text;
    for (size_t i = 0; i < kPrayerCount; ++i) text[i] = ShownClockText(day.status[i], day.shown[i]);

    if (options.json) {
        JsonObject json;
        json.add("town", state.place.Name).add("country", state.place.Country);
        json.add("date", DateText(date));
        json.add("timeZoneInEffect", today.zoneHours);
        json.addRaw("exact", JsonDoubles(day.exact));
        json.addRaw("adjusted", JsonShown(day.shown, day.status));
        json.addRaw("text", JsonArray(text, [](const std::string& t) { return JsonString(t); }));
        json.addRaw("status", JsonStatus(day.status));
        AddZone(json, state.place);
        AddMethod(json, state);
        json.addRaw("hijri", HijriJson(today.hijri));
        for (const NightIndex n : {Imsak, Midnight, LastThird})
            json.addRaw(NightTimeJsonKey(n), NightJson(night, n));
        AddAsides(json, extras, asides);
        std::printf("%s\n", json.str().c_str());
        return 0;
    }
    std::printf("%s\n", PlaceLine(state.place).c_str());
    std::printf("%s  TZ=%s\n", DateText(date).c_str(), ZoneHoursText(today.zoneHours).c_str());
    for (size_t i = 0; i < kPrayerCount; ++i) {
        std::printf("%-9s %s%s\n", kPrayerNames[i], text[i].c_str(),
                    day.status[i] == PrayerStatus::Estimated ? kEstimateMark : "");
    }
    PrintLegend(day.status, HighLatitudeRuleOf(state));
    if (const auto m = state.methods.find(state.place.Method); m != state.methods.end()) {
        std::printf("Method: %s (%s)\n", PrintableText(m->first).c_str(),
                    PrintableText(m->second.Name).c_str());
    }
    std::printf("%s\n", HijriLine(today.hijri).c_str());
    for (const NightIndex n : {Imsak, Midnight, LastThird}) {
        const auto i = static_cast<size_t>(n);
        std::printf("%-9s %s%s\n", NightTimeName(n),
                    ShownClockText(night.status[i], night.hour[i]).c_str(),
                    night.status[i] == PrayerStatus::Estimated ? kEstimateMark : "");
    }
    PrintAsides(today, asides);
    return 0;
}

// The night times of each day of a month, one array per time; each day's
// night ends on the next day's, so one day is computed ahead.
void AddMonthNights(JsonObject& json, EngineState& state, int year, int month, int dayCount) {
    const date::year_month_day first = CivilDateOf(year, month, 1);
    std::array<std::vector<std::string>, kNightCount> nights;
    ShownDay next = ComputeShownDay(state, first);
    for (int d = 0; d < dayCount; ++d) {
        const ShownDay day = std::move(next);
        next = ComputeShownDay(state, AddDays(first, d + 1));
        const NightTimes night = ShownNights(state, day, next);
        for (const NightIndex n : {Imsak, Midnight, LastThird})
            nights[static_cast<size_t>(n)].push_back(NightJson(night, n));
    }
    for (const NightIndex n : {Imsak, Midnight, LastThird}) {
        json.addRaw(NightTimeJsonKey(n), JsonArray(nights[static_cast<size_t>(n)],
                                                   [](const std::string& item) { return item; }));
    }
}

int RunMonth(const Options& options) {
    EngineState state = ScheduleState(options);
    if (options.month) SetDate(state.observation, *options.month);
    const Observation& o = state.observation;
    if (options.csv) {
        const date::year_month_day first = DateOf(o);
        const std::string csv = ExportCsv(state, first, first.year() / first.month() / date::last,
                                          ReadPrayerSettings(options));
        std::fwrite(csv.data(), 1, csv.size(), stdout);
        return 0;
    }
    MonthSchedule table;
    ComputeMonthSchedule(state, table, DaysInMonth(o.year, o.month));
    const auto count = static_cast<size_t>(table.dayCount);
    std::vector<std::string> shownRows, textRows, statusRows;
    for (size_t row = 0; row < count; ++row) {
        shownRows.push_back(JsonShown(table.shown[row], table.status[row]));
        std::array<std::string, kPrayerCount> text;
        for (size_t i = 0; i < kPrayerCount; ++i) {
            text[i] = ShownClockText(table.status[row][i], table.shown[row][i]);
        }
        textRows.push_back(JsonArray(text, [](const std::string& t) { return JsonString(t); }));
        statusRows.push_back(JsonStatus(table.status[row]));
    }
    const auto raw = [](const std::string& item) { return item; };
    std::vector<std::optional<HijriDate>> hijri;
    for (int d = 1; d <= table.dayCount; ++d)
        hijri.push_back(HijriOfCivilDay(o.year, o.month, d, state.hijriAdjust));

    if (options.json) {
        JsonObject json;
        json.add("town", state.place.Name).add("country", state.place.Country);
        json.add("month", Format("%04d-%02d", o.year, o.month));
        json.add("dayCount", table.dayCount);
        json.addRaw("adjusted", JsonArray(shownRows, raw));
        json.addRaw("text", JsonArray(textRows, raw));
        json.addRaw("status", JsonArray(statusRows, raw));
        json.addRaw("weekday", JsonArray(std::vector<int>(table.weekday.begin(),
                                                          table.weekday.begin() + table.dayCount),
                                         [](int w) { return std::to_string(w); }));
        // The zone in effect on the month's first day; a change within the
        // month shows in the hours of the days after it.
        json.add("timeZoneInEffect", ZoneInEffect(state.place, 1, o.month, o.year, nullptr));
        AddZone(json, state.place);
        json.addRaw("hijri", JsonArray(hijri, HijriJson));
        AddMonthNights(json, state, o.year, o.month, table.dayCount);
        std::printf("%s\n", json.str().c_str());
        return 0;
    }
    std::printf("%s\n", PlaceLine(state.place).c_str());
    // The names of days and months are the window's, in its language.
    std::array<std::string, 7> weekdays;
    {
        const ScopedLanguage names(PageLanguage());
        std::printf("%s %d\n", ShownMonthName(o.month), o.year);
        for (size_t i = 0; i < weekdays.size(); ++i) {
            weekdays[i] = ShownWeekdayName(static_cast<int>(i));
        }
    }
    std::printf("%-12s", "");
    for (const char* name : kPrayerNames) std::printf(" %-8s", name);
    std::printf("\n");
    bool estimated = false;
    for (int d = 1; d <= table.dayCount; ++d) {
        const size_t row = static_cast<size_t>(d - 1);
        std::printf("%2d %-9s", d, weekdays[static_cast<size_t>(table.weekday[row])].c_str());
        for (size_t i = 0; i < kPrayerCount; ++i) {
            const PrayerStatus status = table.status[row][i];
            std::string text = ShownClockText(status, table.shown[row][i]);
            if (status == PrayerStatus::Estimated) {
                text += kEstimateMark;
                estimated = true;
            }
            std::printf(" %-8s", text.c_str());
        }
        std::printf("\n");
    }
    if (estimated) std::printf("%s\n", EstimateLegendText(HighLatitudeRuleOf(state)));
    if (!hijri.empty()) {
        std::string line = HijriLine(hijri.front());
        if (hijri.back()) line += " - " + HijriDateText(*hijri.back());
        std::printf("%s\n", line.c_str());
    }
    return 0;
}

int RunTrace(const Options& options) {
    EngineState state = ScheduleState(options);
    ReadDate(options, state.observation);
    FileTraceSink out(stdout);
    state.traceSink = &out;
    // Whatever the file says, this command exists to show the report.
    state.tables.Verbose = 1;
    ComputeDaySchedule(state);
    return 0;
}

// Synthetic towns spread evenly over latitudes -60..65 and every longitude by
// two Weyl sequences, so that the peer benchmark builds the very same towns.
CurrentPlace SyntheticTown(long index) {
    const double n = static_cast<double>(index + 1);
    const double a = n * 0.6180339887498949;
    const double b = n * 0.7548776662466927;
    const double lat = -60 + 125 * (a - std::floor(a));
    const double lon = -180 + 360 * (b - std::floor(b));
    CurrentPlace place;
    place.Name = "Synthetic";
    place.latitude = Degrees{lat};
    place.longitude = Degrees{lon};
    place.TimeZone = static_cast<int>(std::lround(lon / 15));
    place.DST = 0;
    place.Convention = 0;
    return place;
}

// Every day's six adjusted hours, summed per town so that the total does not
// depend on how the towns were split over threads.
void RunTowns(long first, long last, long days, std::vector<double>& sums) {
    EngineState state;
    state.tables.Conventions[0] = StandardConvention();
    for (long town = first; town < last; ++town) {
        state.place = SyntheticTown(town);
        state.observation = Observation{1, 1, 2010, 12, 0, 0};
        double sum = 0;
        for (long d = 0; d < days; ++d) {
            ComputeDaySchedule(state);
            for (double hour : state.schedule.adjusted) sum += hour;
            SetDate(state.observation, AddDays(DateOf(state.observation), 1));
        }
        sums[static_cast<size_t>(town)] = sum;
    }
}

int RunBench(const Options& options) {
    const long towns = options.towns.value_or(200);
    const long days = options.days.value_or(365);
    const long threads = options.threads.value_or(1);
    std::vector<double> sums(static_cast<size_t>(towns), 0.0);

    const std::clock_t cpuStart = std::clock();
    const auto start = std::chrono::steady_clock::now();
    if (threads == 1) {
        RunTowns(0, towns, days, sums);
    } else {
        std::vector<std::thread> workers;
        for (long t = 0; t < threads; ++t) {
            const long first = towns * t / threads;
            const long last = towns * (t + 1) / threads;
            workers.emplace_back(RunTowns, first, last, days, std::ref(sums));
        }
        for (std::thread& w : workers) w.join();
    }
    const auto stop = std::chrono::steady_clock::now();
    const std::clock_t cpuStop = std::clock();

    double checksum = 0;
    for (double s : sums) checksum += s;
    const double seconds = std::chrono::duration<double>(stop - start).count();
    const double total = static_cast<double>(towns) * static_cast<double>(days);
    std::printf("towns=%ld days=%ld threads=%ld\n", towns, days, threads);
    std::printf("checksum=%.17g\n", checksum);
    std::printf("seconds=%.6f\n", seconds);
    // Processor time of all threads together: on a busy machine it shows the
    // work done better than the wall clock does.
    std::printf("cpu_seconds=%.6f\n", static_cast<double>(cpuStop - cpuStart) / CLOCKS_PER_SEC);
    std::printf("days_per_second=%.0f\n", seconds > 0 ? total / seconds : 0.0);
    return 0;
}

}  // namespace

Command TimesCommand() {
    return {"times", N_("Print one day's prayer times"),
            WithPlaceAndRule({DayOption("date", "The day (default: today)", &Options::date),
                              JsonOption("Print one JSON object with every value to the bit")}),
            RunTimes};
}

Command MonthCommand() {
    return {"month", N_("Print a month's prayer times, one line a day"),
            WithPlaceAndRule(
                {MonthOption("The month (default: this month)", &Options::month),
                 JsonOption("Print one JSON object with every value to the bit"),
                 FlagOption("csv", "Print CSV, as export --format csv does for the month",
                            &Options::csv)
                     .Excludes({"json"}, N_("--json and --csv cannot be given together"))}),
            RunMonth};
}

Command TraceCommand() {
    return {
        "trace", N_("Print the engine's full report of one day's computation"),
        WithPlace({DayOption("date", "The day (default: today)", &Options::date), MethodOption()}),
        RunTrace};
}

Command BenchCommand() {
    return {"bench",
            N_("Time the engine over synthetic towns and days"),
            {WholeOption("towns", "N", "How many towns, 1..1000000 (default 200)", &Options::towns,
                         1, 1000000),
             WholeOption("days", "N", "How many days from 2010-01-01, 1..100000 (default 365)",
                         &Options::days, 1, 100000),
             WholeOption("threads", "N", "How many threads share the towns, 1..256 (default 1)",
                         &Options::threads, 1, 256)},
            RunBench};
}

}  // namespace orvano::cli
