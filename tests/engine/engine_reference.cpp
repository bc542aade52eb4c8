#include "tests/engine/engine_reference.h"

#include <cmath>

#include "astro/angle_text.h"
#include "astro/constants.h"
#include "astro/julian_time.h"
#include "astro/solar_ephemeris.h"

namespace orvano::reference {

int SolveSalatHour(EngineState& state, unsigned int kind, double* hour,
                   std::vector<double>* passHours) {
    const Convention& c = state.tables.Conventions.at(static_cast<size_t>(state.place.Convention));
    const Trace trace = state.trace();
    // The texts of the trace lines are formed only when someone reads them.
    const bool verbose = trace.on();
    SunState& sun = state.sun;
    const Observation& o = state.observation;
    const double latitude = state.place.latitude.Radians();
    const int k = c.AsrShafii ? 1 : 2;
    *hour = 0.0;
    double side = 1;
    double h0 = 0;
    switch (kind) {
        case 0:
            side = -1;
            h0 = -c.FajrTwilightAngle * 0.017453292519943295;
            sun.h = h0;
            break;
        case 1:
            side = -1;
            h0 = -c.SunriseSetAngle * 0.017453292519943295;
            sun.h = h0;
            break;
        case 3:
            side = 1;
            break;
        case 4:
            side = 1;
            h0 = -c.SunriseSetAngle * 0.017453292519943295;
            sun.h = h0;
            break;
        case 5:
            side = 1;
            h0 = -c.IshaTwilightAngle * 0.017453292519943295;
            sun.h = h0;
            break;
        default:
            return 2;
    }
    if (verbose) {
        trace.Printf(" 1st iter %s\n",
                     HoursToHmsText(sun.transitHour - state.timeZoneInEffect).c_str());
    }
    double start = sun.transitHour;
    for (int pass = 1; pass <= 3; ++pass) {
        const double u = start - state.timeZoneInEffect;
        sun.T = JulianCenturies(o.day, o.month, o.year, u);
        if (verbose) {
            trace.Printf("T=%g JC à %s\n", sun.T, HoursToHmsText(u).c_str());
        }
        sun.L = SunLongitude(sun.T);
        SunEquatorial(sun.L, sun.RA, sun.delta);
        if (kind == 3) {
            h0 = std::atan(1 / (k + std::tan(std::fabs(latitude - sun.delta))));
            sun.h = h0;
            if (pass == 3) {
                if (verbose) {
                    trace.Printf("h=%g°  ie altitude %s\n", h0 * 57.29577951308232,
                                 AngleToDmsText(h0).c_str());
                }
            }
        }
        const double cosTau = (std::sin(h0) - std::sin(sun.delta) * std::sin(latitude)) /
                              std::cos(sun.delta) / std::cos(latitude);
        if (verbose) {
            trace.Printf(" costau=%g\n", cosTau);
        }
        if (cosTau > 1) {
            if (verbose) {
                trace.Printf(
                    "ERROR : then the Sun is always below our altitude limit. One example is "
                    "midwinter "
                    "in the arctics, when the Sun never gets above the horizon.\n");
            }
            return 1;
        }
        if (cosTau < -1) {
            if (verbose) {
                trace.Printf(
                    "ERROR : then the Sun is always above our altitude limit. If we were computing "
                    "rise/set times, the Sun is then aboute the horizon continuously; we have "
                    "Midnight "
                    "Sun.\n");
            }
            return -1;
        }
        if (-1 <= cosTau && cosTau <= 1) {
            sun.tau = std::acos(cosTau);
            *hour = sun.tau * 3.819718634205488 * side + sun.transitHour;
            if (verbose) {
                trace.Printf(" SalatHour=%gh ie : %s\n", *hour, HoursToHmsText(*hour).c_str());
            }
            if (passHours != nullptr) passHours->push_back(*hour);
        }
        if (pass == 1) {
            if (verbose) {
                trace.Printf("** corrected values ** :\n");
            }
            if (verbose) {
                trace.Printf(" 2nd iter à %s\n",
                             HoursToHmsText(*hour - state.timeZoneInEffect).c_str());
            }
        } else if (pass == 2) {
            if (verbose) {
                trace.Printf(" 3rd iter à %s\n",
                             HoursToHmsText(*hour - state.timeZoneInEffect).c_str());
            }
        }
        start = *hour;
    }
    return 0;
}

void ComputeDaySchedule(EngineState& state) {
    const Convention& c = state.tables.Conventions.at(static_cast<size_t>(state.place.Convention));
    const Observation& o = state.observation;
    DaySchedule& day = state.schedule;
    state.timeZoneInEffect = state.place.TimeZone;
    if (state.place.DST != 0 &&
        DstApplies(o.year, o.month, o.day, state.place.DST, state.place.TimeZone) == 1) {
        state.timeZoneInEffect += 1;
    }
    MeridianTransit(o, state.place, state.timeZoneInEffect, state.sun, state.trace());
    day.exact[2] = state.sun.transitHour;
    day.exact[1] = 0.0;
    SolveSalatHour(state, 1, &day.exact[1]);
    day.exact[4] = 0.0;
    SolveSalatHour(state, 4, &day.exact[4]);
    day.exact[0] = 0.0;
    SolveSalatHour(state, 0, &day.exact[0]);
    if (c.Isha_is_Maghrib_plus) {
        day.exact[5] = static_cast<double>(c.IshaPlusMinutes) * 0.016666666666666666 + day.exact[4];
    } else {
        day.exact[5] = 0.0;
        SolveSalatHour(state, 5, &day.exact[5]);
    }
    SolveSalatHour(state, 3, &day.exact[3]);
    for (std::size_t i = 0; i < 6; ++i) {
        day.adjusted[i] = day.exact[i] + c.AddedMinutes[i] * 0.016666666666666666;
    }
    if (c.ZuhrFixe) day.adjusted[2] = c.ZuhrHour;
}

}  // namespace orvano::reference
