#include "engine/shown_times.h"

#include <cmath>
#include <limits>

#include "astro/constants.h"
#include "astro/trace.h"
#include "engine/solver.h"
#include "engine/state.h"
#include "language/messages.h"

namespace orvano {

namespace {

bool Failed(const SolveResults& results, int prayer) {
    return results.result[static_cast<size_t>(prayer)] != kSolveFound;
}

double Portion(HighLatitudeRule rule, double night, double angle) {
    switch (rule) {
        case HighLatitudeRule::Middle:
            return night / 2;
        case HighLatitudeRule::Angle:
            return night * (angle / 60);
        case HighLatitudeRule::Seventh:
        case HighLatitudeRule::None:
            break;
    }
    return night / 7;
}

// Whole minutes from the schedule's midnight.
double RoundedMinutes(double hour, MinuteRounding rounding) {
    constexpr double kHair = 1e-7;
    switch (rounding) {
        case MinuteRounding::Up:
            return std::ceil(hour * 60.0 - kHair);
        case MinuteRounding::Down:
            return std::floor(hour * 60.0 + kHair);
        case MinuteRounding::Nearest:
            break;
    }
    // Hours, minutes and seconds each truncated, then half a minute up: the
    // split of the traced clock text, so that a shown minute and a traced
    // one agree to the last hair.
    const double days = std::floor(hour / 24);
    const double h = hour - 24 * days;
    const double whole = std::trunc(h);
    const double fm = (h - whole) * 60;
    const double minutes = std::trunc(fm);
    const double carry = (fm - minutes) * 60 >= 30 ? 1 : 0;
    return days * kMinutesPerDay + whole * 60 + minutes + carry;
}

// A failed Fajr before sunrise, or a failed Isha after sunset, by the rule's
// portion of the night, with the method's added minutes.
void Estimate(DaySchedule& day, int prayer, const Convention& convention, HighLatitudeRule rule,
              double night) {
    const auto p = static_cast<size_t>(prayer);
    const bool fajr = prayer == Fajr;
    const double angle = fajr ? convention.FajrTwilightAngle : convention.IshaTwilightAngle;
    const double estimate = fajr ? day.exact[Chourouk] - Portion(rule, night, angle)
                                 : day.exact[Maghrib] + Portion(rule, night, angle);
    day.status[p] = PrayerStatus::Estimated;
    day.shown[p] = estimate + convention.AddedMinutes[p] * kMinuteInHours;
}

}  // namespace

const char* PrayerStatusName(PrayerStatus status) {
    switch (status) {
        case PrayerStatus::Estimated:
            return "estimated";
        case PrayerStatus::None:
            return "none";
        case PrayerStatus::Ok:
            break;
    }
    return "ok";
}

const char* HighLatitudeRuleName(HighLatitudeRule rule) {
    switch (rule) {
        case HighLatitudeRule::Middle:
            return "middle";
        case HighLatitudeRule::Angle:
            return "angle";
        case HighLatitudeRule::None:
            return "none";
        case HighLatitudeRule::Seventh:
            break;
    }
    return "seventh";
}

std::optional<HighLatitudeRule> ParseHighLatitudeRule(std::string_view text) {
    for (HighLatitudeRule rule : {HighLatitudeRule::Seventh, HighLatitudeRule::Middle,
                                  HighLatitudeRule::Angle, HighLatitudeRule::None}) {
        if (text == HighLatitudeRuleName(rule)) return rule;
    }
    return std::nullopt;
}

void ComputeShownTimes(DaySchedule& day, const Convention& convention, HighLatitudeRule rule) {
    const SolveResults& r = day.results;
    const double noTime = std::numeric_limits<double>::quiet_NaN();
    for (int i = 0; i < kPrayerCount; ++i) {
        day.status[static_cast<size_t>(i)] = PrayerStatus::Ok;
        day.shown[static_cast<size_t>(i)] = day.adjusted[static_cast<size_t>(i)];
    }
    auto setNone = [&](int prayer) {
        day.status[static_cast<size_t>(prayer)] = PrayerStatus::None;
        day.shown[static_cast<size_t>(prayer)] = noTime;
    };

    const bool sunriseFailed = Failed(r, Chourouk);
    const bool sunsetFailed = Failed(r, Maghrib);
    if (sunriseFailed) setNone(Chourouk);
    if (sunsetFailed) setNone(Maghrib);
    // In polar night the shadow formula still yields an hour near noon,
    // though the Sun never rises.
    if (Failed(r, Asr) || r.result[Chourouk] == kSolveAlwaysBelow) setNone(Asr);
    if (r.ishaFollowsMaghrib && sunsetFailed) setNone(Isha);

    const bool canEstimate = !sunriseFailed && !sunsetFailed && rule != HighLatitudeRule::None;
    const double night = (day.exact[Chourouk] + 24) - day.exact[Maghrib];
    for (const int prayer : {Fajr, Isha}) {
        if (!Failed(r, prayer) || (prayer == Isha && r.ishaFollowsMaghrib)) continue;
        if (canEstimate) {
            Estimate(day, prayer, convention, rule, night);
        } else {
            setNone(prayer);
        }
    }
    if (convention.Rounding == MinuteRounding::Nearest) return;
    // A method that rounds up or down owns its minute: the shown hour becomes
    // that whole minute, which the nearest-minute texts then keep.
    for (size_t i = 0; i < kPrayerCount; ++i) {
        if (day.status[i] == PrayerStatus::None) continue;
        day.shown[i] = RoundedMinutes(day.shown[i], convention.Rounding) * kMinuteInHours;
    }
}

const char* EstimateLegendText(HighLatitudeRule rule) {
    switch (rule) {
        case HighLatitudeRule::Seventh:
            return Tr("* estimated: 1/7 of the night");
        case HighLatitudeRule::Middle:
            return Tr("* estimated: middle of the night");
        case HighLatitudeRule::Angle:
            return Tr("* estimated: angle/60 of the night");
        case HighLatitudeRule::None:
            break;
    }
    return "";
}

const char* EstimateLegendShortText(HighLatitudeRule rule) {
    switch (rule) {
        case HighLatitudeRule::Seventh:
            return Tr("* 1/7 night");
        case HighLatitudeRule::Middle:
            return Tr("* mid-night");
        case HighLatitudeRule::Angle:
            return Tr("* angle/60");
        case HighLatitudeRule::None:
            break;
    }
    return "";
}

double ReduceIntoDay(double hours) {
    return hours - 24 * std::floor(hours / 24);
}

ShownMinute ShownMinuteOf(double hour, MinuteRounding rounding) {
    ShownMinute shown;
    // Far beyond any schedule's neighbouring days the minute means nothing.
    constexpr double kFarHours = 1e6;
    if (!(std::fabs(hour) < kFarHours)) return shown;
    const double total = RoundedMinutes(hour, rounding);
    const double days = std::floor(total / kMinutesPerDay);
    shown.dayOffset = static_cast<int>(days);
    shown.minuteOfDay = static_cast<int>(total - days * kMinutesPerDay);
    shown.text = Format("%02d:%02d", shown.minuteOfDay / 60, shown.minuteOfDay % 60);
    return shown;
}

std::string ShownClockText(PrayerStatus status, double hour) {
    if (status == PrayerStatus::None) return kNoTimeText;
    return ShownMinuteOf(hour).text;
}

}  // namespace orvano
