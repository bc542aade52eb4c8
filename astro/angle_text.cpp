#include "astro/angle_text.h"

#include <cmath>

#include "astro/constants.h"
#include "astro/trace.h"

namespace orvano {

namespace {

// Every part is truncated toward zero, so a negative value gives negative
// minutes and seconds too, and nothing is carried.
struct Split {
    int whole;
    int minutes;
    double seconds;
};

Split SplitValue(double x) {
    const int whole = static_cast<int>(x);
    const double fm = (x - whole) * 60;
    const int minutes = static_cast<int>(fm);
    return {whole, minutes, (fm - minutes) * 60};
}

std::string HmsText(double x) {
    const Split s = SplitValue(x);
    return Format("%02dh%02d'%02.0f\"", s.whole, s.minutes, s.seconds);
}

// The parts of |x| with the seconds rounded as "%02.0f" prints them and
// carried, so that no part reads 60.
struct Unsigned {
    bool negative;
    int whole;
    int minutes;
    int seconds;
};

Unsigned SplitUnsigned(double x) {
    Split s = SplitValue(std::fabs(x));
    int seconds = static_cast<int>(std::nearbyint(s.seconds));
    if (seconds >= 60) {
        seconds -= 60;
        if (++s.minutes >= 60) {
            s.minutes -= 60;
            ++s.whole;
        }
    }
    const bool zero = s.whole == 0 && s.minutes == 0 && seconds == 0;
    return {x < 0 && !zero, s.whole, s.minutes, seconds};
}

// The sign joins the degrees, the pair padded to the trace form's width of 3.
std::string DmsText(const Unsigned& u) {
    const std::string degrees = (u.negative ? "-" : "") + std::to_string(u.whole);
    return Format("%3s°%02d'%02d\"", degrees.c_str(), u.minutes, u.seconds);
}

double Reduce(double angle, double low) {
    double r = std::fmod(angle - low, 2 * kPi);
    if (r < 0) r += 2 * kPi;
    return r + low;
}

}  // namespace

std::string ReadableDmsText(double angle) {
    return DmsText(SplitUnsigned(angle * kRadToDeg));
}

std::string ReadableHmsText(double angle) {
    const Unsigned u = SplitUnsigned(angle * kRadToHours);
    return Format("%s%02dh%02d'%02d\"", u.negative ? "-" : "", u.whole, u.minutes, u.seconds);
}

std::string BearingText(double angle) {
    Unsigned u = SplitUnsigned(Reduce(angle, 0) * kRadToDeg);
    if (u.whole >= 360) u.whole -= 360;  // 359°59'59.6" rounds to North
    return DmsText(u);
}

double AngleDifference(double from, double to) {
    const double d = Reduce(to - from, -kPi);
    return d == -kPi ? kPi : d;
}

std::string AngleToDmsText(double angle) {
    const Split s = SplitValue(angle * kRadToDeg);
    return Format("%3d°%02d'%02.0f\"", s.whole, s.minutes, s.seconds);
}

std::string AngleToHmsText(double angle) {
    return HmsText(angle * kRadToHours);
}

std::string HoursToHmsText(double hours) {
    return HmsText(hours);
}

std::string HoursToClockText(double hours) {
    Split s = SplitValue(hours);
    if (s.seconds >= 30) {
        if (s.minutes == 59) {
            if (s.whole == 23) return kClockOverflowText;
            s.minutes = 0;
            s.whole += 1;
        } else {
            s.minutes += 1;
        }
    }
    return Format("%02d:%02d", s.whole, s.minutes);
}

}  // namespace orvano
