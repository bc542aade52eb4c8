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

std::string ExportCsv(EngineState& state, date::year_month_day from, date::year_month_day to,
                      const PrayerExtras& extras) {
    std::string out = "date";
    for (const char* key : kPrayerKeys) out += std::string(",") + key;
    for (const char* key : kPrayerKeys) out += std::string(",") + key + "_status";
    out += ",hijri_year,hijri_month,hijri_day";
    for (const NightIndex n : {Imsak, Midnight, LastThird})
        out += std::string(",") + NightTimeCsvKey(n);
    // What the user set beside the times, only when set: the columns stay as
    // they were for everyone else.
    std::vector<AsideField> asides;
    if (AnyIqama(extras)) asides.push_back(&PrayerAside::iqama);
    if (AnyReminder(extras)) asides.push_back(&PrayerAside::reminder);
    for (const AsideField field : asides) {
        const char* suffix = field == &PrayerAside::iqama ? "_iqama" : "_reminder";
        for (size_t i = 0; i < kPrayerCount; ++i) {
            if (i != Chourouk) out += std::string(",") + kPrayerKeys[i] + suffix;
        }
    }
    const bool jumuah = extras.jumuah.enabled;
    if (jumuah) out += ",jumuah";
    out += "\r\n";
    // Each day's night ends on the next day's Fajr: one day is computed ahead.
    ShownDay next = ComputeShownDay(state, from);
    for (auto d = date::sys_days(from); d <= date::sys_days(to); d += date::days(1)) {
        const ShownDay day = std::move(next);
        next = ComputeShownDay(state, d + date::days(1));
        out += DateText(day.date);
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
        const DayAsides set = AsidesOf(day, extras);
        for (const AsideField field : asides) {
            for (size_t i = 0; i < kPrayerCount; ++i) {
                if (i != Chourouk) out += "," + AsideText(set, i, field);
            }
        }
        if (jumuah) {
            out += ",";
            if (set.jumuah) out += AsideText(set, Zuhr, &PrayerAside::minute);
        }
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

std::string ExportIcs(EngineState& state, date::year_month_day from, date::year_month_day to,
                      const std::array<bool, kPrayerCount>& alarms, const PrayerExtras& extras) {
    const CurrentPlace& place = state.place;
    const std::string placeText = place.Name + ", " + place.Country;
    const std::string convention = ConventionName(state);
    const std::string placeId = PlaceId(place);
    const std::string stamp = CompactDate(from) + "T000000Z";

    std::string out;
    out += IcsLine("BEGIN:VCALENDAR");
    out += IcsLine("VERSION:2.0");
    out += IcsLine("PRODID:-//Orvano//orvano-cli//EN");
    out += IcsLine("CALSCALE:GREGORIAN");
    out += IcsLine("METHOD:PUBLISH");
    out += IcsLine("X-WR-CALNAME:" + IcsText("Prayer times, " + placeText));
    for (auto d = date::sys_days(from); d <= date::sys_days(to); d += date::days(1)) {
        const ShownDay day = ComputeShownDay(state, d);
        const DayAsides set = AsidesOf(day, extras);
        for (size_t i = 0; i < kPrayerCount; ++i) {
            if (i == Chourouk || day.status[i] == PrayerStatus::None) continue;
            std::string description = placeText;
            description += "\nConvention: ";
            description += convention;
            if (day.status[i] == PrayerStatus::Estimated)
                description += "\nEstimated: the sun does not reach the twilight angle";
            // The evening starts the Hijri day: Maghrib and Isha are in the next one.
            const auto hijri =
                HijriAtMinute(static_cast<int>(day.date.year()),
                              static_cast<int>(static_cast<unsigned>(day.date.month())),
                              static_cast<int>(static_cast<unsigned>(day.date.day())), day.schedule,
                              ShownMinuteOf(day.schedule.shown[i]).minuteOfDay, state.hijriAdjust);
            if (hijri) description += "\nHijri: " + HijriDateText(*hijri);
            const PrayerAside& aside = set.prayer[i];
            const std::string iqama = AsideText(set, i, &PrayerAside::iqama);
            if (!iqama.empty()) description += "\nIqama: " + iqama;
            const std::string name = ShownPrayerName(set, i);
            // Jumu'ah may have a time of its own; every other prayer is at its shown minute.
            const std::int64_t utcMinute =
                i == Zuhr && set.jumuah
                    ? LocalToUtcSeconds(place, date::sys_days(day.date),
                                        std::int64_t{*aside.minute} * 60, day.zoneHours) /
                          60
                    : day.utcMinute[i];
            out += IcsLine("BEGIN:VEVENT");
            out += IcsLine("UID:" + CompactDate(day.date) + "-" + kPrayerKeys[i] + "-" + placeId +
                           "@orvano");
            out += IcsLine("DTSTAMP:" + stamp);
            out += IcsLine("DTSTART:" + UtcText(utcMinute));
            out += IcsLine("SUMMARY:" + IcsText(name + " " + placeText));
            out += IcsLine("DESCRIPTION:" + IcsText(description));
            out += IcsLine("TRANSP:TRANSPARENT");
            if (alarms[i]) {
                out += IcsLine("BEGIN:VALARM");
                out += IcsLine("ACTION:DISPLAY");
                out += IcsLine("DESCRIPTION:" + IcsText(name));
                out += IcsLine("TRIGGER:PT0S");
                out += IcsLine("END:VALARM");
            }
            if (const int before = extras.reminderMinutes[i]; aside.reminder && before > 0) {
                out += IcsLine("BEGIN:VALARM");
                out += IcsLine("ACTION:DISPLAY");
                out += IcsLine("DESCRIPTION:" +
                               IcsText(name + " in " + std::to_string(before) + " min"));
                out += IcsLine("TRIGGER:-PT" + std::to_string(before) + "M");
                out += IcsLine("END:VALARM");
            }
            out += IcsLine("END:VEVENT");
        }
    }
    out += IcsLine("END:VCALENDAR");
    return out;
}

}  // namespace orvano::cli
