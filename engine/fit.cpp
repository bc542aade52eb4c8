#include "engine/fit.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "astro/constants.h"
#include "astro/zone.h"
#include "config/grammar.h"
#include "engine/schedule.h"
#include "engine/shown_times.h"
#include "engine/solve_day.h"
#include "engine/solver.h"

namespace orvano {

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

std::string SignedMinutes(double minutes) {
    return (minutes >= 0 ? "+" : "") + GeneralText(minutes) + " min";
}

// A difference of clock minutes taken the short way round midnight.
int WrapMinutes(int minutes) {
    const int m = ((minutes % kMinutesPerDay) + kMinutesPerDay) % kMinutesPerDay;
    return m >= kMinutesPerDay / 2 ? m - kMinutesPerDay : m;
}

double WrapMinutes(double minutes) {
    const double m = minutes - kMinutesPerDay * std::floor(minutes / kMinutesPerDay);
    return m >= kMinutesPerDay * 0.5 ? m - kMinutesPerDay : m;
}

bool Same(double a, double b) {
    return std::fabs(a - b) < 1e-9;
}

// One day of the table under one convention.
struct DayHours {
    std::array<double, kPrayerCount> exact{};
    std::array<double, kPrayerCount> adjusted{};
    std::array<bool, kPrayerCount> solved{};  // the Sun reached the prayer's altitude
};

// The table's days computed under candidate conventions, through the very
// schedule the program shows.
class Evaluator {
  public:
    Evaluator(const ConfigTables& tables, int town, const Timetable& table) : table_(table) {
        FillCurrentPlace(tables.Towns[static_cast<size_t>(town)], place_);
        zone_ = PlaceZone(place_);
        hours_.resize(table.days.size());
    }

    const std::vector<DayHours>& Run(const Convention& convention) {
        for (size_t i = 0; i < table_.days.size(); ++i) {
            const Day computed = DayOf(i, convention);
            DayHours& day = hours_[i];
            day.exact = computed.schedule.exact;
            day.adjusted = computed.schedule.adjusted;
            // An estimated time is the program's guess, not the Sun at the
            // prayer's angle: that day says nothing about the angle.
            for (size_t p = 0; p < kPrayerCount; ++p) {
                day.solved[p] = computed.schedule.status[p] == PrayerStatus::Ok;
            }
        }
        return hours_;
    }

    // The angle (degrees below the horizon) at which day i's solve of `kind`
    // gives `hour`, by bisection over the solver itself; NaN when no angle in
    // [lo, hi] does.
    double AngleFor(size_t i, int kind, double hour, const Convention& convention, double lo,
                    double hi) {
        const Day day = DayOf(i, convention);
        const Observation date = Noon(i);
        Convention trial = convention;
        double* angle = kind == Fajr   ? &trial.FajrTwilightAngle
                        : kind == Isha ? &trial.IshaTwilightAngle
                                       : &trial.SunriseSetAngle;
        // Morning events come earlier, evening ones later, as the angle grows.
        const bool morning = kind == Fajr || kind == Chourouk;
        const auto tooDeep = [&](double a) {
            *angle = a;
            double h = 0.0;
            SunState sun = day.sun;
            engine_detail::SolveDay solver(place_, trial);
            if (solver.Solve(date, day.timeZoneInEffect, sun, static_cast<unsigned int>(kind), &h,
                             Trace{}) != kSolveFound) {
                return true;
            }
            return morning ? h < hour : h > hour;
        };
        if (tooDeep(lo) || !tooDeep(hi)) return kNaN;
        for (int step = 0; step < 40; ++step) {
            const double mid = 0.5 * (lo + hi);
            (tooDeep(mid) ? hi : lo) = mid;
        }
        return 0.5 * (lo + hi);
    }

  private:
    Observation Noon(size_t i) const {
        const TimetableDay& d = table_.days[i];
        return Observation{d.day, d.month, d.year, 12, 0, 0};
    }

    // Day i of the table under the trial method, never the town's own.
    Day DayOf(size_t i, const Convention& method) const {
        return ComputeDay(place_, zone_, DateOf(Noon(i)), method, kDefaultHighLatitudeRule,
                          DayReport::kNone);
    }

    CurrentPlace place_;
    ZoneRef zone_ = nullptr;
    const Timetable& table_;
    std::vector<DayHours> hours_;
};

struct Stats {
    int days = 0;
    int maxShown = 0;  // whole minutes between the shown time and the table's
    double meanShown = 0.0;
    double maxExact = 0.0;  // minutes between the unrounded hour and the table's
};

// `adjusted` holds one hour a day, NaN for a day left out.
Stats Compare(const Timetable& table, int prayer, const std::vector<double>& adjusted) {
    Stats s;
    double sum = 0.0;
    for (size_t i = 0; i < table.days.size(); ++i) {
        const int given = table.days[i].minutes[static_cast<size_t>(prayer)];
        if (given == kNoTime || std::isnan(adjusted[i])) continue;
        const int shown = std::abs(WrapMinutes(ShownMinuteOf(adjusted[i]).minuteOfDay - given));
        const double exact = std::fabs(WrapMinutes(ReduceIntoDay(adjusted[i]) * 60 - given));
        ++s.days;
        sum += shown;
        s.maxShown = std::max(s.maxShown, shown);
        s.maxExact = std::max(s.maxExact, exact);
    }
    if (s.days > 0) s.meanShown = sum / s.days;
    return s;
}

// Which of two results fits better: those within a minute first, then the
// simpler, then the closer; when neither is within a minute, the closer first.
bool Better(const Stats& a, int changesA, const Stats& b, int changesB) {
    const bool okA = a.maxShown <= 1;
    const bool okB = b.maxShown <= 1;
    if (okA != okB) return okA;
    if (!okA && a.maxShown != b.maxShown) return a.maxShown < b.maxShown;
    if (changesA != changesB) return changesA < changesB;
    return a.maxExact < b.maxExact;
}

struct MinuteChoice {
    double minutes = 0.0;
    Stats stats;
    int changed = 0;
};

std::vector<double> WithMinutes(const std::vector<DayHours>& hours, int prayer, double minutes) {
    std::vector<double> out(hours.size(), kNaN);
    for (size_t i = 0; i < hours.size(); ++i) {
        const size_t p = static_cast<size_t>(prayer);
        if (hours[i].solved[p]) out[i] = hours[i].exact[p] + minutes * kMinuteInHours;
    }
    return out;
}

// The starting minutes kept, or the whole minutes that centre the misses.
MinuteChoice ChooseMinutes(const Timetable& table, const std::vector<DayHours>& hours, int prayer,
                           double startMinutes) {
    MinuteChoice best{startMinutes,
                      Compare(table, prayer, WithMinutes(hours, prayer, startMinutes)), 0};
    double low = std::numeric_limits<double>::infinity();
    double high = -low;
    for (size_t i = 0; i < hours.size(); ++i) {
        const size_t p = static_cast<size_t>(prayer);
        const int given = table.days[i].minutes[p];
        if (given == kNoTime || !hours[i].solved[p]) continue;
        const double r = WrapMinutes(given - ReduceIntoDay(hours[i].exact[p]) * 60);
        low = std::min(low, r);
        high = std::max(high, r);
    }
    if (low > high) return best;
    const double centre = std::round(0.5 * (low + high));
    for (const double m : {centre - 1, centre, centre + 1}) {
        const int changed = Same(m, startMinutes) ? 0 : 1;
        const Stats s = Compare(table, prayer, WithMinutes(hours, prayer, m));
        if (Better(s, changed, best.stats, best.changed)) best = {m, s, changed};
    }
    return best;
}

double Median(std::vector<double> values) {
    values.erase(
        std::remove_if(values.begin(), values.end(), [](double v) { return std::isnan(v); }),
        values.end());
    if (values.empty()) return kNaN;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Angles worth trying: the starting one, those of the file's conventions, and
// 0.1° steps around the angle the table's own times give.
std::vector<double> AngleCandidates(double start, const std::vector<double>& fromFile,
                                    double estimate) {
    std::vector<double> out{start};
    out.insert(out.end(), fromFile.begin(), fromFile.end());
    if (!std::isnan(estimate)) {
        const double centre = std::round(estimate * 10);
        for (int step = -10; step <= 10; ++step) out.push_back((centre + step) / 10);
    }
    std::vector<double> unique;
    for (const double a : out) {
        if (std::none_of(unique.begin(), unique.end(), [a](double u) { return Same(a, u); })) {
            unique.push_back(a);
        }
    }
    return unique;
}

// The result of fitting one group of prayers that share rule parameters.
struct GroupFit {
    Convention convention;
    std::array<MinuteChoice, kPrayerCount> minutes{};
    int changed = 0;
    Stats worst;  // the group's largest misses
};

class Fitter {
  public:
    Fitter(const ConfigTables& tables, int town, const Timetable& table)
        : tables_(tables), table_(table), eval_(tables, town, table) {
        start_ = tables.Conventions[static_cast<size_t>(std::clamp(
            tables.Towns[static_cast<size_t>(town)].Convention, 0, kConventionCount - 1))];
    }

    FitResult Fit() {
        FitResult result;
        result.starting = start_;
        const std::vector<DayHours> before = eval_.Run(start_);
        Convention work = start_;
        // Isha after Maghrib needs Maghrib's hour, so the shared sunrise/sunset
        // angle is fitted first.
        FitGroup(work, {Chourouk, Maghrib}, SunCandidates(work));
        FitGroup(work, {Fajr}, TwilightCandidates(work, Fajr, &Convention::FajrTwilightAngle));
        FitGroup(work, {Zuhr}, ZuhrCandidates(work));
        FitGroup(work, {Asr}, AsrCandidates(work));
        FitGroup(work, {Isha}, IshaCandidates(work));
        result.fitted = work;

        const std::vector<DayHours>& after = eval_.Run(work);
        result.reproduces = true;
        result.within2 = true;
        for (int p = 0; p < kPrayerCount; ++p) {
            PrayerFit& f = result.prayers[static_cast<size_t>(p)];
            f.given = table_.given[static_cast<size_t>(p)];
            if (!f.given) continue;
            const Stats b = Compare(table_, p, Adjusted(before, p));
            const Stats a = Compare(table_, p, Adjusted(after, p));
            f.days = a.days;
            f.meanBefore = b.meanShown;
            f.maxBefore = b.maxShown;
            f.meanAfter = a.meanShown;
            f.maxAfter = a.maxShown;
            f.parameters = Describe(p, work);
            result.reproduces = result.reproduces && a.maxShown <= 1;
            result.within2 = result.within2 && a.maxShown <= 2;
            if (a.maxShown > 1) f.pattern = Pattern(p, after);
        }
        for (const int c : changedFor_) result.changed += c;
        result.changed += sharedChanges_;
        result.sameRulesAs = SameRulesAs(work);
        return result;
    }

  private:
    using AngleField = double Convention::*;

    static std::vector<double> Adjusted(const std::vector<DayHours>& hours, int prayer) {
        std::vector<double> out(hours.size(), kNaN);
        for (size_t i = 0; i < hours.size(); ++i) {
            const size_t p = static_cast<size_t>(prayer);
            if (hours[i].solved[p]) out[i] = hours[i].adjusted[p];
        }
        return out;
    }

    bool AnyGiven(std::initializer_list<int> prayers) const {
        return std::any_of(prayers.begin(), prayers.end(),
                           [this](int p) { return table_.given[static_cast<size_t>(p)]; });
    }

    // The angle that day i's time of `kind` asks for, with the starting minutes.
    double DayAngle(size_t i, int kind, const Convention& c, const std::vector<DayHours>& ref) {
        const size_t p = static_cast<size_t>(kind);
        const int given = table_.days[i].minutes[p];
        if (given == kNoTime) return kNaN;
        double hour = (given - c.AddedMinutes[p]) * kMinuteInHours;
        // The table's clock wraps at midnight; the schedule's hours do not.
        if (ref[i].solved[p]) hour += 24 * std::round((ref[i].exact[p] - hour) / 24);
        const bool sun = kind == Chourouk || kind == Maghrib;
        return eval_.AngleFor(i, kind, hour, c, sun ? -5.0 : 0.0, sun ? 20.0 : 30.0);
    }

    std::vector<double> FileAngles(AngleField field) const {
        std::vector<double> out;
        for (const Convention& c : tables_.Conventions) out.push_back(c.*field);
        return out;
    }

    std::vector<Convention> WithAngles(const Convention& base, AngleField field,
                                       const std::vector<double>& angles) const {
        std::vector<Convention> out;
        for (const double a : angles) {
            Convention c = base;
            c.*field = a;
            out.push_back(c);
        }
        return out;
    }

    std::vector<Convention> SunCandidates(const Convention& work) {
        if (!AnyGiven({Chourouk, Maghrib})) return {work};
        const std::vector<DayHours> ref = eval_.Run(work);
        std::vector<double> angles;
        for (size_t i = 0; i < table_.days.size(); ++i) {
            angles.push_back(DayAngle(i, Chourouk, work, ref));
            angles.push_back(DayAngle(i, Maghrib, work, ref));
        }
        return WithAngles(
            work, &Convention::SunriseSetAngle,
            AngleCandidates(work.SunriseSetAngle, FileAngles(&Convention::SunriseSetAngle),
                            Median(angles)));
    }

    std::vector<Convention> TwilightCandidates(const Convention& work, int kind, AngleField field) {
        if (!AnyGiven({kind})) return {work};
        Convention base = work;
        if (kind == Isha) base.Isha_is_Maghrib_plus = false;
        const std::vector<DayHours> ref = eval_.Run(base);
        std::vector<double> angles;
        for (size_t i = 0; i < table_.days.size(); ++i)
            angles.push_back(DayAngle(i, kind, base, ref));
        return WithAngles(base, field,
                          AngleCandidates(work.*field, FileAngles(field), Median(angles)));
    }

    std::vector<Convention> ZuhrCandidates(const Convention& work) {
        std::vector<Convention> out{work};
        Convention transit = work;
        transit.ZuhrFixe = false;
        out.push_back(transit);
        // A table whose Zuhr never moves is a fixed hour.
        std::vector<double> given;
        for (const TimetableDay& d : table_.days) {
            if (d.minutes[Zuhr] != kNoTime) given.push_back(d.minutes[Zuhr]);
        }
        if (!given.empty()) {
            const auto [lo, hi] = std::minmax_element(given.begin(), given.end());
            if (*hi - *lo <= 1) {
                Convention fixed = work;
                fixed.ZuhrFixe = true;
                fixed.ZuhrHour = Median(given) / 60;
                out.push_back(fixed);
            }
        }
        return out;
    }

    std::vector<Convention> AsrCandidates(const Convention& work) {
        Convention other = work;
        other.AsrShafii = !work.AsrShafii;
        return {work, other};
    }

    std::vector<Convention> IshaCandidates(const Convention& work) {
        if (!AnyGiven({Isha})) return {work};
        std::vector<Convention> out =
            TwilightCandidates(work, Isha, &Convention::IshaTwilightAngle);
        // Isha a fixed delay after Maghrib: the delay the table shows most.
        Convention plus = work;
        plus.Isha_is_Maghrib_plus = true;
        const std::vector<DayHours>& hours = eval_.Run(plus);
        std::vector<double> delays;
        for (size_t i = 0; i < table_.days.size(); ++i) {
            const int given = table_.days[i].minutes[Isha];
            if (given == kNoTime || !hours[i].solved[Maghrib]) continue;
            delays.push_back(WrapMinutes(given - work.AddedMinutes[Isha] -
                                         ReduceIntoDay(hours[i].exact[Maghrib]) * 60));
        }
        const double delay = Median(delays);
        if (!std::isnan(delay) && delay > 0) {
            out.push_back(plus);
            for (const double d :
                 {std::round(delay) - 1, std::round(delay), std::round(delay) + 1}) {
                plus.IshaPlusMinutes = static_cast<int>(d);
                out.push_back(plus);
            }
        }
        return out;
    }

    // Rule parameters of one group changed from the starting convention.
    int RuleChanges(const Convention& c, std::initializer_list<int> prayers) const {
        const int first = *prayers.begin();
        if (first == Chourouk) return Same(c.SunriseSetAngle, start_.SunriseSetAngle) ? 0 : 1;
        if (first == Fajr) return Same(c.FajrTwilightAngle, start_.FajrTwilightAngle) ? 0 : 1;
        if (first == Asr) return c.AsrShafii == start_.AsrShafii ? 0 : 1;
        if (first == Zuhr) {
            return (c.ZuhrFixe != start_.ZuhrFixe ? 1 : 0) +
                   (c.ZuhrFixe && !Same(c.ZuhrHour, start_.ZuhrHour) ? 1 : 0);
        }
        int n = c.Isha_is_Maghrib_plus != start_.Isha_is_Maghrib_plus ? 1 : 0;
        if (c.Isha_is_Maghrib_plus) {
            n += c.IshaPlusMinutes != start_.IshaPlusMinutes ? 1 : 0;
        } else {
            n += Same(c.IshaTwilightAngle, start_.IshaTwilightAngle) ? 0 : 1;
        }
        return n;
    }

    void FitGroup(Convention& work, std::initializer_list<int> prayers,
                  const std::vector<Convention>& candidates) {
        if (!AnyGiven(prayers)) return;
        bool have = false;
        GroupFit best;
        for (const Convention& c : candidates) {
            const std::vector<DayHours>& hours = eval_.Run(c);
            GroupFit g;
            g.convention = c;
            g.changed = RuleChanges(c, prayers);
            for (const int p : prayers) {
                if (!table_.given[static_cast<size_t>(p)]) continue;
                MinuteChoice m;
                if (p == Zuhr && c.ZuhrFixe) {
                    // A fixed Zuhr takes no minutes: they stay as they were.
                    m = {c.AddedMinutes[Zuhr], Compare(table_, p, Adjusted(hours, p)), 0};
                } else {
                    m = ChooseMinutes(table_, hours, p,
                                      start_.AddedMinutes[static_cast<size_t>(p)]);
                }
                g.minutes[static_cast<size_t>(p)] = m;
                g.convention.AddedMinutes[static_cast<size_t>(p)] = m.minutes;
                g.changed += m.changed;
                g.worst.maxShown = std::max(g.worst.maxShown, m.stats.maxShown);
                g.worst.maxExact = std::max(g.worst.maxExact, m.stats.maxExact);
            }
            if (!have || Better(g.worst, g.changed, best.worst, best.changed)) {
                best = g;
                have = true;
            }
        }
        work = best.convention;
        // The rule change counts once for the group, the minutes per prayer.
        const int rules = RuleChanges(work, prayers);
        sharedChanges_ += rules;
        for (const int p : prayers) {
            changedFor_[static_cast<size_t>(p)] = best.minutes[static_cast<size_t>(p)].changed;
        }
    }

    std::string Was(bool changed, const std::string& before) const {
        return changed ? " (was " + before + ")" : "";
    }

    std::string MinutesText(int prayer, const Convention& c) const {
        const size_t p = static_cast<size_t>(prayer);
        return SignedMinutes(c.AddedMinutes[p]) +
               Was(!Same(c.AddedMinutes[p], start_.AddedMinutes[p]),
                   SignedMinutes(start_.AddedMinutes[p]));
    }

    std::string AngleText(double angle, double before) const {
        return GeneralText(angle) + "°" + Was(!Same(angle, before), GeneralText(before) + "°");
    }

    std::string Describe(int prayer, const Convention& c) const {
        switch (prayer) {
            case Fajr:
                return "twilight angle " +
                       AngleText(c.FajrTwilightAngle, start_.FajrTwilightAngle) + ", " +
                       MinutesText(prayer, c);
            case Chourouk:
            case Maghrib:
                return "sunrise/sunset angle " +
                       AngleText(c.SunriseSetAngle, start_.SunriseSetAngle) + ", " +
                       MinutesText(prayer, c);
            case Zuhr:
                if (c.ZuhrFixe) {
                    return "fixed at " + ShownMinuteOf(c.ZuhrHour).text +
                           Was(!start_.ZuhrFixe, "the transit");
                }
                return "the transit, " + MinutesText(prayer, c);
            case Asr: {
                const auto rule = [](bool shafii) {
                    return std::string(shafii ? "shadow factor 1 (Shafi'i)"
                                              : "shadow factor 2 (Hanafi)");
                };
                return rule(c.AsrShafii) +
                       Was(c.AsrShafii != start_.AsrShafii, rule(start_.AsrShafii)) + ", " +
                       MinutesText(prayer, c);
            }
            default: {
                const auto rule = [](const Convention& x) {
                    return x.Isha_is_Maghrib_plus
                               ? "Maghrib + " + std::to_string(x.IshaPlusMinutes) + " min"
                               : "twilight angle " + GeneralText(x.IshaTwilightAngle) + "°";
                };
                const std::string now = rule(c);
                const std::string was = rule(start_);
                return now + Was(now != was, was) + ", " + MinutesText(prayer, c);
            }
        }
    }

    // How the table departs from the best fit, in words.
    std::string Pattern(int prayer, const std::vector<DayHours>& hours) const {
        static constexpr const char* kNames[kPrayerCount] = {"Fajr", "Sunrise", "Dhuhr",
                                                             "Asr",  "Maghrib", "Isha"};
        static constexpr const char* kEvents[kPrayerCount] = {
            "the computed dawn", "sunrise", "the transit",
            "the computed Asr",  "sunset",  "the computed nightfall"};
        const size_t p = static_cast<size_t>(prayer);
        std::vector<double> offsets;
        bool allFives = true;
        for (size_t i = 0; i < hours.size(); ++i) {
            const int given = table_.days[i].minutes[p];
            if (given == kNoTime || !hours[i].solved[p]) continue;
            allFives = allFives && given % 5 == 0;
            offsets.push_back(WrapMinutes(given - ReduceIntoDay(hours[i].exact[p]) * 60));
        }
        const std::string name = kNames[p];
        if (offsets.empty()) return name + ": no day of the table can be compared";
        if (allFives && offsets.size() >= kMinTimetableDays) {
            return name + ": every time of the table is a multiple of 5 minutes; it is rounded";
        }
        const auto [lo, hi] = std::minmax_element(offsets.begin(), offsets.end());
        const double typical = Median(offsets);
        const std::string side = typical >= 0 ? " after " : " before ";
        std::string text = name + ": about " + GeneralText(std::round(std::fabs(typical))) +
                           " min" + side + kEvents[p];
        if (*hi - *lo > 2) {
            text += ", varying from " + GeneralText(std::round(*lo)) + " to " +
                    GeneralText(std::round(*hi)) + " min with the season";
        }
        return text;
    }

    int SameRulesAs(const Convention& c) const {
        for (int k = 0; k < kConventionCount; ++k) {
            const Convention& f = tables_.Conventions[static_cast<size_t>(k)];
            const bool same =
                Same(c.FajrTwilightAngle, f.FajrTwilightAngle) &&
                Same(c.SunriseSetAngle, f.SunriseSetAngle) && c.AsrShafii == f.AsrShafii &&
                c.Isha_is_Maghrib_plus == f.Isha_is_Maghrib_plus &&
                (c.Isha_is_Maghrib_plus ? c.IshaPlusMinutes == f.IshaPlusMinutes
                                        : Same(c.IshaTwilightAngle, f.IshaTwilightAngle)) &&
                c.ZuhrFixe == f.ZuhrFixe && (!c.ZuhrFixe || Same(c.ZuhrHour, f.ZuhrHour));
            if (same) return k;
        }
        return -1;
    }

    const ConfigTables& tables_;
    const Timetable& table_;
    Evaluator eval_;
    Convention start_;
    std::array<int, kPrayerCount> changedFor_{};
    int sharedChanges_ = 0;
};

}  // namespace

TableAgreement CompareWithTable(const ConfigTables& tables, int town, const Timetable& table,
                                const Convention& convention, int tolerance) {
    CurrentPlace place;
    FillCurrentPlace(tables.Towns[static_cast<size_t>(town)], place);
    const ZoneRef zone = PlaceZone(place);
    TableAgreement agreement;
    double sum = 0.0;
    for (const TimetableDay& d : table.days) {
        const DaySchedule day = ComputeDay(place, zone, CivilDateOf(d.year, d.month, d.day),
                                           convention, kDefaultHighLatitudeRule, DayReport::kNone)
                                    .schedule;
        for (size_t p = 0; p < kPrayerCount; ++p) {
            if (d.minutes[p] == kNoTime || day.status[p] == PrayerStatus::None) continue;
            const int off =
                std::abs(WrapMinutes(ShownMinuteOf(day.shown[p]).minuteOfDay - d.minutes[p]));
            ++agreement.times;
            if (off <= tolerance) ++agreement.within;
            sum += off;
        }
    }
    if (agreement.times > 0) agreement.meanMinutes = sum / agreement.times;
    return agreement;
}

FitResult FitConvention(const ConfigTables& tables, int town, const Timetable& table) {
    return Fitter(tables, town, table).Fit();
}

}  // namespace orvano
