#include "astro/angle_text.h"

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

}  // namespace

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
