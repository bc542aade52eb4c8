#include "engine/solver.h"

#include <cmath>

#include "astro/angle_text.h"
#include "astro/constants.h"
#include "astro/julian_time.h"
#include "astro/solar_ephemeris.h"
#include "config/methods.h"
#include "engine/solve_day.h"

namespace orvano {

namespace {

constexpr const char* kBelowText =
    "ERROR : then the Sun is always below our altitude limit. One example is midwinter in the "
    "arctics, when the Sun never gets above the horizon.\n";
constexpr const char* kAboveText =
    "ERROR : then the Sun is always above our altitude limit. If we were computing rise/set "
    "times, the Sun is then aboute the horizon continuously; we have Midnight Sun.\n";

bool IsSolvable(unsigned int kind) {
    return kind == Fajr || kind == Chourouk || kind == Asr || kind == Maghrib || kind == Isha;
}

double Side(unsigned int kind) {
    return (kind == Fajr || kind == Chourouk) ? -1.0 : 1.0;
}

}  // namespace

const Convention& SelectedConvention(const EngineState& state) {
    if (!state.place.Method.empty()) {
        const int slot = SlotOfMethodId(state.place.Method);
        if (slot >= 0) return state.tables.Conventions[static_cast<size_t>(slot)];
        const auto method = state.methods.find(std::string_view(state.place.Method));
        if (method != state.methods.end()) return method->second;
    }
    const int index = state.place.Convention;
    if (index < 0 || index >= kConventionCount) return state.tables.Conventions[0];
    return state.tables.Conventions[static_cast<size_t>(index)];
}

namespace engine_detail {

double SunDeclination(double l) {
    // Term for term as SunEquatorial forms it, so the bits agree.
    const double epsilon = 23.43999 * kDegToRad;
    const double z = std::sin(l) * std::sin(epsilon);
    const double c = std::sqrt(1 - z * z);
    return std::atan2(z, c);
}

SunSample SampleSun(const Observation& observation, double hourUT) {
    SunSample s;
    s.T = JulianCenturies(observation.day, observation.month, observation.year, hourUT);
    s.L = SunLongitude(s.T);
    s.delta = SunDeclination(s.L);
    s.sinDelta = std::sin(s.delta);
    s.cosDelta = std::cos(s.delta);
    return s;
}

void SetRightAscension(SunState& sun) {
    double delta = 0.0;
    SunEquatorial(sun.L, sun.RA, delta);
}

SolveDay::SolveDay(Degrees latitude, const Convention& convention)
    : latitude_(latitude.Radians()),
      sinLatitude_(std::sin(latitude_)),
      cosLatitude_(std::cos(latitude_)),
      convention_(convention) {
    h0_[Fajr] = -convention.FajrTwilightAngle * kDegToRad;
    h0_[Chourouk] = -convention.SunriseSetAngle * kDegToRad;
    h0_[Maghrib] = convention.MaghribAngle ? -*convention.MaghribAngle * kDegToRad : h0_[Chourouk];
    h0_[Isha] = -convention.IshaTwilightAngle * kDegToRad;
    for (int kind : {Fajr, Chourouk, Maghrib, Isha}) sinH0_[kind] = std::sin(h0_[kind]);
}

const SunSample& SolveDay::First(const Observation& observation, double transitUT) {
    if (!haveFirst_) {
        first_ = SampleSun(observation, transitUT);
        haveFirst_ = true;
    }
    return first_;
}

double SolveDay::FirstCosTau(double h0, double sinH0, const SunSample& first, double* tau) {
    if (!haveFirstCos_ || !(firstCosH0_ == h0)) {
        firstCos_ = (sinH0 - first.sinDelta * sinLatitude_) / first.cosDelta / cosLatitude_;
        if (firstCos_ >= -1 && firstCos_ <= 1) firstTau_ = std::acos(firstCos_);
        firstCosH0_ = h0;
        haveFirstCos_ = true;
    }
    *tau = firstTau_;
    return firstCos_;
}

double SolveDay::FixedCosTau(double sinH0, const SunSample& s, double* tau) const {
    const double cosTau = (sinH0 - s.sinDelta * sinLatitude_) / s.cosDelta / cosLatitude_;
    if (cosTau >= -1 && cosTau <= 1) *tau = std::acos(cosTau);
    return cosTau;
}

double SolveDay::AsrCosTau(double k, const SunSample& s, bool traceAltitude, SunState& sun,
                           const Trace& trace, double* tau) const {
    const double h0 = std::atan(1 / (k + std::tan(std::fabs(latitude_ - s.delta))));
    sun.h = h0;
    if (traceAltitude && trace.on()) {
        trace.Printf("h=%g°  ie altitude %s\n", h0 * kRadToDeg, AngleToDmsText(h0).c_str());
    }
    const double cosTau = (std::sin(h0) - s.sinDelta * sinLatitude_) / s.cosDelta / cosLatitude_;
    if (cosTau >= -1 && cosTau <= 1) *tau = std::acos(cosTau);
    return cosTau;
}

namespace {

void TraceNextPass(const Trace& trace, int pass, double hour, double zone) {
    if (!trace.on()) return;
    if (pass == 1) {
        trace.Printf("** corrected values ** :\n");
        trace.Printf(" 2nd iter à %s\n", HoursToHmsText(hour - zone).c_str());
    } else if (pass == 2) {
        trace.Printf(" 3rd iter à %s\n", HoursToHmsText(hour - zone).c_str());
    }
}

// The hour that the hour angle gives, unless the Sun never reaches the altitude.
int TakeHourAngle(double cosTau, double tau, double side, double transit, SunState& sun,
                  double* hour, const Trace& trace) {
    if (trace.on()) trace.Printf(" costau=%g\n", cosTau);
    if (cosTau > 1) {
        trace.Printf("%s", kBelowText);
        return kSolveAlwaysBelow;
    }
    if (cosTau < -1) {
        trace.Printf("%s", kAboveText);
        return kSolveAlwaysAbove;
    }
    // A cosine that is not a number passes neither test nor this one: the
    // hour stays as it was and the next pass starts from it again.
    if (cosTau >= -1 && cosTau <= 1) {
        sun.tau = tau;
        *hour = tau * kRadToHours * side + transit;
        if (trace.on()) {
            trace.Printf(" SalatHour=%gh ie : %s\n", *hour, HoursToHmsText(*hour).c_str());
        }
    }
    return kSolveFound;
}

}  // namespace

const SunSample& SolveDay::PassSun(const Observation& observation, int pass, double u,
                                   SunState& sun, SunSample& later, const Trace& trace) {
    const SunSample* sample = &later;
    if (pass == 1) {
        sample = &First(observation, u);
    } else {
        later = SampleSun(observation, u);
    }
    const SunSample& s = *sample;
    sun.T = s.T;
    if (trace.on()) trace.Printf("T=%g JC à %s\n", s.T, HoursToHmsText(u).c_str());
    sun.L = s.L;
    sun.delta = s.delta;
    return s;
}

int SolveDay::Solve(const Observation& observation, double zone, SunState& sun, unsigned int kind,
                    double* hour, const Trace& trace) {
    *hour = 0.0;
    if (!IsSolvable(kind)) return kSolveBadKind;
    const bool asr = kind == Asr;
    const double side = Side(kind);
    const double transit = sun.transitHour;
    // Shadow factor: one stick length for the Shafi'i rule, two for the Hanafi.
    const double k = convention_.AsrShafii ? 1.0 : 2.0;

    double h0 = 0.0;
    double sinH0 = 0.0;
    if (!asr) {
        h0 = h0_[kind];
        sinH0 = sinH0_[kind];
        sun.h = h0;
    }
    if (trace.on()) trace.Printf(" 1st iter %s\n", HoursToHmsText(transit - zone).c_str());

    for (int pass = 1; pass <= 3; ++pass) {
        const double u = (pass == 1 ? transit : *hour) - zone;
        SunSample later;
        const SunSample& s = PassSun(observation, pass, u, sun, later, trace);

        double tau = 0.0;
        const double cosTau = asr         ? AsrCosTau(k, s, pass == 3, sun, trace, &tau)
                              : pass == 1 ? FirstCosTau(h0, sinH0, s, &tau)
                                          : FixedCosTau(sinH0, s, &tau);
        const int result = TakeHourAngle(cosTau, tau, side, transit, sun, hour, trace);
        if (result != kSolveFound) return result;
        TraceNextPass(trace, pass, *hour, zone);
    }
    return kSolveFound;
}

}  // namespace engine_detail

int SolveSalatHour(EngineState& state, unsigned int kind, double* hour) {
    engine_detail::SolveDay day(state.place.latitude, SelectedConvention(state));
    const int result =
        day.Solve(state.observation, state.timeZoneInEffect, state.sun, kind, hour, state.trace());
    if (result != kSolveBadKind) engine_detail::SetRightAscension(state.sun);
    return result;
}

}  // namespace orvano
