// What the solves of one place share, so that a day's five solves and a
// month's days repeat no maths call whose result they already have. Every
// shared value is the very double the solver would compute again, so the
// results are the same to the last bit as solving each prayer on its own.
#pragma once

#include "engine/state.h"

namespace orvano::engine_detail {

// The Sun at one instant, as far as the solver needs it. The right ascension
// is left out: no solve reads it, and it follows from L alone, so it is
// formed once for the SunState the caller is left with (SetRightAscension).
struct SunSample {
    double T = 0.0;
    double L = 0.0;
    double delta = 0.0;
    double sinDelta = 0.0;
    double cosDelta = 0.0;
};

// The declination of SunEquatorial, without forming the right ascension.
double SunDeclination(double l);

SunSample SampleSun(const Observation& observation, double hourUT);

// Sets sun.RA to the right ascension that belongs with sun.L.
void SetRightAscension(SunState& sun);

class SolveDay {
  public:
    // Values fixed by the place's latitude and the convention: the same on
    // every day. The latitude turns into radians here, once.
    SolveDay(Degrees latitude, const Convention& convention);

    // Forget the previous day's Sun; call after MeridianTransit of the new day.
    void BeginDay() {
        haveFirst_ = false;
        haveFirstCos_ = false;
    }

    // SolveSalatHour for the observation's date in the zone, from the transit
    // that `sun` holds. Writes sun.T, L, delta, h and tau, but not sun.RA.
    int Solve(const Observation& observation, double zone, SunState& sun, unsigned int kind,
              double* hour, const Trace& trace);

  private:
    // Pass 1 of every solve evaluates the Sun at the transit.
    const SunSample& First(const Observation& observation, double transitUT);
    // The Sun for pass `pass` at `u` hours UT (the shared first sample, or one
    // made in `later`), with T, L and delta copied into `sun`.
    const SunSample& PassSun(const Observation& observation, int pass, double u, SunState& sun,
                             SunSample& later, const Trace& trace);
    // The pass-1 cosine of the hour angle for a fixed altitude; the sunrise and
    // sunset solves share one.
    double FirstCosTau(double h0, double sinH0, const SunSample& first, double* tau);
    // The cosine of the hour angle at `s` for the fixed altitude whose sine is
    // sinH0; *tau is set only when the cosine is in [-1, 1].
    double FixedCosTau(double sinH0, const SunSample& s, double* tau) const;
    // The same for Asr, whose altitude follows the shadow factor `k` and the
    // declination; sets sun.h, and traces the altitude when asked.
    double AsrCosTau(double k, const SunSample& s, bool traceAltitude, SunState& sun,
                     const Trace& trace, double* tau) const;

    double latitude_;  // radians
    double sinLatitude_;
    double cosLatitude_;
    const Convention& convention_;
    // Target altitudes and their sines, indexed by PrayerIndex (Zuhr and Asr unused).
    double h0_[6] = {};
    double sinH0_[6] = {};

    bool haveFirst_ = false;
    SunSample first_;
    bool haveFirstCos_ = false;
    double firstCosH0_ = 0.0;
    double firstCos_ = 0.0;
    double firstTau_ = 0.0;
};

}  // namespace orvano::engine_detail
