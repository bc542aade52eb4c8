#include "cli/export.h"

#include <cinttypes>
#include <cstdio>
#include <vector>

#include "engine/solver.h"

namespace orvano::cli {

namespace {

std::string UtcText(std::int64_t utcMinute) {
    const auto days = utcMinute >= 0 ? utcMinute / 1440 : (utcMinute - 1439) / 1440;
    const std::int64_t minute = utcMinute - days * 1440;
    const date::year_month_day day{date::sys_days(date::days(days))};
    char text[32];
    std::snprintf(text, sizeof text, "%04d%02u%02uT%02d%02d00Z", static_cast<int>(day.year()),
                  static_cast<unsigned>(day.month()), static_cast<unsigned>(day.day()),
                  static_cast<int>(minute / 60), static_cast<int>(minute % 60));
    return text;
}

std::string CompactDate(date::year_month_day day) {
    std::string text = DateText(day);
    text.erase(7, 1);
    text.erase(4, 1);
    return text;
}

// Identifies the place in the events' UIDs: the same town and position give
// the same identifier on every run and machine (64-bit FNV-1a).
std::string PlaceId(const CurrentPlace& place) {
    char position[64];
    // In radians: another form would give every event already in a user's
    // calendar a new identifier.
    std::snprintf(position, sizeof position, "/%.6f/%.6f", place.latitude.Radians(),
                  place.longitude.Radians());
    const std::string text = place.Country + "/" + place.Name + position;
    std::uint64_t hash = 14695981039346656037ull;
    for (char c : text) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ull;
    }
    char id[24];
    std::snprintf(id, sizeof id, "%016" PRIx64, hash);
    return id;
}

std::string ConventionName(const EngineState& state) {
    return SelectedConvention(state).Name;
}

}  // namespace

namespace {

// The columns of what the user set beside the times, in their order.
std::vector<AsideField> CsvAsides(const PrayerExtras& extras) {
    std::vector<AsideField> asides;
    if (AnyIqama(extras)) asides.push_back(&PrayerAside::iqama);
    if (AnyReminder(extras)) asides.push_back(&PrayerAside::reminder);
    return asides;
}

std::string CsvHeader(const std::vector<AsideField>& asides, bool jumuah) {
    std::string out = "date";
    for (const char* key : kPrayerKeys) out += std::string(",") + key;
    for (const char* key : kPrayerKeys) out += std::string(",") + key + "_status";
    out += ",hijri_year,hijri_month,hijri_day";
    for (const NightIndex n : {Imsak, Midnight, LastThird})
        out += std::string(",") + NightTimeCsvKey(n);
    for (const AsideField field : asides) {
        const char* suffix = field == &PrayerAside::iqama ? "_iqama" : "_reminder";
        for (size_t i = 0; i < kPrayerCount; ++i) {
            if (i != Chourouk) out += std::string(",") + kPrayerKeys[i] + suffix;
        }
    }
    if (jumuah) out += ",jumuah";
    out += "\r\n";
    return out;
}

std::string CsvAsideCells(const DayAsides& set, const std::vector<AsideField>& asides,
                          bool jumuah) {
    std::string out;
    for (const AsideField field : asides) {
        for (size_t i = 0; i < kPrayerCount; ++i) {
            if (i != Chourouk) out += "," + AsideText(set, i, field);
        }
    }
    if (jumuah) {
        out += ",";
        if (set.jumuah) out += AsideText(set, Zuhr, &PrayerAside::minute);
    }
    return out;
}

std::string CsvRow(EngineState& state, const ShownDay& day, const ShownDay& next) {
    std::string out = DateText(day.date);
    for (const std::string& text : day.text) out += "," + text;
    for (PrayerStatus status : day.status) out += std::string(",") + PrayerStatusName(status);
    if (day.hijri) {
        out += "," + std::to_string(day.hijri->year) + "," + std::to_string(day.hijri->month) +
               "," + std::to_string(day.hijri->day);
    } else {
        out += ",,,";
    }
    const NightTimes night = ShownNights(state, day, next);
    for (size_t n = 0; n < night.status.size(); ++n) {
        out += ",";
        if (night.status[n] != PrayerStatus::None)
            out += ShownClockText(night.status[n], night.hour[n]);
    }
    return out;
}

}  // namespace

std::string ExportCsv(EngineState& state, date::year_month_day from, date::year_month_day to,
                      const PrayerExtras& extras) {
    // What the user set beside the times gets columns only when set: the
    // columns stay as they were for everyone else.
    const std::vector<AsideField> asides = CsvAsides(extras);
    const bool jumuah = extras.jumuah.enabled;
    std::string out = CsvHeader(asides, jumuah);
    // Each day's night ends on the next day's Fajr: one day is computed ahead.
    ShownDay next = ComputeShownDay(state, from);
    for (auto d = date::sys_days(from); d <= date::sys_days(to); d += date::days(1)) {
        const ShownDay day = std::move(next);
        next = ComputeShownDay(state, d + date::days(1));
        out += CsvRow(state, day, next);
        out += CsvAsideCells(AsidesOf(day, extras), asides, jumuah);
        out += "\r\n";
    }
    return out;
}

std::string IcsText(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
            case '\\':
                out += "\\\\";
                break;
            case ';':
                out += "\\;";
                break;
            case ',':
                out += "\\,";
                break;
            case '\n':
                out += "\\n";
                break;
            default:
                // Control characters have no place in iCalendar text; a
                // calendar would refuse the whole file for one.
                if (static_cast<unsigned char>(c) >= 0x20 && c != 0x7F) out += c;
        }
    }
    return out;
}

std::string IcsLine(const std::string& line) {
    std::string out;
    size_t start = 0;
    size_t limit = 75;  // the first line; continuations lose one octet to the space
    while (line.size() - start > limit) {
        size_t cut = start + limit;
        // Back up to the first byte of a UTF-8 character.
        while (cut > start && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80) --cut;
        out.append(line, start, cut - start);
        out += "\r\n ";
        start = cut;
        limit = 74;
    }
    out.append(line, start, std::string::npos);
    out += "\r\n";
    return out;
}

namespace {

// What every event of one export shares.
struct IcsContext {
    EngineState& state;
    const std::array<bool, kPrayerCount>& alarms;
    const PrayerExtras& extras;
    std::string placeText;
    std::string convention;
    std::string placeId;
    std::string stamp;
};

std::string IcsDescription(const IcsContext& context, const ShownDay& day, const DayAsides& set,
                           size_t i) {
    std::string description = context.placeText;
    description += "\nConvention: ";
    description += context.convention;
    if (day.status[i] == PrayerStatus::Estimated)
        description += "\nEstimated: the sun does not reach the twilight angle";
    // The evening starts the Hijri day: Maghrib and Isha are in the next one.
    const auto hijri =
        HijriAtMinute(static_cast<int>(day.date.year()),
                      static_cast<int>(static_cast<unsigned>(day.date.month())),
                      static_cast<int>(static_cast<unsigned>(day.date.day())), day.schedule,
                      ShownMinuteOf(day.schedule.shown[i]).minuteOfDay, context.state.hijriAdjust);
    if (hijri) description += "\nHijri: " + HijriDateText(*hijri);
    const std::string iqama = AsideText(set, i, &PrayerAside::iqama);
    if (!iqama.empty()) description += "\nIqama: " + iqama;
    return description;
}

std::string IcsAlarm(const std::string& description, const std::string& trigger) {
    std::string out = IcsLine("BEGIN:VALARM");
    out += IcsLine("ACTION:DISPLAY");
    out += IcsLine("DESCRIPTION:" + IcsText(description));
    out += IcsLine("TRIGGER:" + trigger);
    out += IcsLine("END:VALARM");
    return out;
}

std::string IcsEvent(const IcsContext& context, const ShownDay& day, const DayAsides& set,
                     size_t i) {
    const PrayerAside& aside = set.prayer[i];
    const std::string name = ShownPrayerName(set, i);
    // Jumu'ah may have a time of its own; every other prayer is at its shown minute.
    const std::int64_t utcMinute =
        set.IsJumuah(i) ? LocalToUtcSeconds(context.state.place, date::sys_days(day.date),
                                            std::int64_t{*aside.minute} * 60, day.zoneHours) /
                              60
                        : day.utcMinute[i];
    std::string summary = name;
    summary += ' ';
    summary += context.placeText;
    std::string out = IcsLine("BEGIN:VEVENT");
    out += IcsLine("UID:" + CompactDate(day.date) + "-" + kPrayerKeys[i] + "-" + context.placeId +
                   "@orvano");
    out += IcsLine("DTSTAMP:" + context.stamp);
    out += IcsLine("DTSTART:" + UtcText(utcMinute));
    out += IcsLine("SUMMARY:" + IcsText(summary));
    out += IcsLine("DESCRIPTION:" + IcsText(IcsDescription(context, day, set, i)));
    out += IcsLine("TRANSP:TRANSPARENT");
    if (context.alarms[i]) out += IcsAlarm(name, "PT0S");
    if (const int before = context.extras.reminderMinutes[i]; aside.reminder && before > 0) {
        const std::string minutes = std::to_string(before);
        out += IcsAlarm(name + " in " + minutes + " min", "-PT" + minutes + "M");
    }
    out += IcsLine("END:VEVENT");
    return out;
}

}  // namespace

std::string ExportIcs(EngineState& state, date::year_month_day from, date::year_month_day to,
                      const std::array<bool, kPrayerCount>& alarms, const PrayerExtras& extras) {
    const CurrentPlace& place = state.place;
    const IcsContext context{state,
                             alarms,
                             extras,
                             place.Name + ", " + place.Country,
                             ConventionName(state),
                             PlaceId(place),
                             CompactDate(from) + "T000000Z"};

    std::string out;
    out += IcsLine("BEGIN:VCALENDAR");
    out += IcsLine("VERSION:2.0");
    out += IcsLine("PRODID:-//Orvano//orvano-cli//EN");
    out += IcsLine("CALSCALE:GREGORIAN");
    out += IcsLine("METHOD:PUBLISH");
    out += IcsLine("X-WR-CALNAME:" + IcsText("Prayer times, " + context.placeText));
    for (auto d = date::sys_days(from); d <= date::sys_days(to); d += date::days(1)) {
        const ShownDay day = ComputeShownDay(state, d);
        const DayAsides set = AsidesOf(day, extras);
        for (size_t i = 0; i < kPrayerCount; ++i) {
            if (i == Chourouk || day.status[i] == PrayerStatus::None) continue;
            out += IcsEvent(context, day, set, i);
        }
    }
    out += IcsLine("END:VCALENDAR");
    return out;
}

}  // namespace orvano::cli
