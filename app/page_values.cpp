// The values a page paints, made before painting so that painting only reads.
#include "app/app.h"
#include "app/paint.h"
#include "astro/constants.h"
#include "astro/sun_report.h"
#include "engine/schedule.h"

namespace orvano {

QiblaView PreparePage(int page, const std::optional<LocalTime>& pickedDate,
                      const std::optional<LocalTime>& pickedTime,
                      const std::function<void()>& recompute, EngineState& engine) {
    QiblaView view;
    if (page == kPageCompute) {
        Observation& o = engine.observation;
        if (pickedDate) {
            o.day = pickedDate->day;
            o.month = pickedDate->month;
            o.year = pickedDate->year;
        }
        if (pickedTime) {
            o.hour = pickedTime->hour;
            o.minute = pickedTime->minute;
            o.second = pickedTime->second;
        }
        if (recompute) recompute();
    } else if (page == kPageQibla) {
        // The Sun's own zone and state: the day's schedule keeps the zone of
        // its local noon, which the Sun at another clock time may not share.
        double zone = 0.0;
        SunState sun;
        ComputeSunPosition(engine.observation, engine.place, zone, sun, engine.trace());
        view.qibla = QiblaBearing(engine.place.latitude, engine.place.longitude);
        view.sun = sun.az - kPi;
        view.localHour = sun.utHour + zone;
        if (view.localHour < 0) view.localHour += 24;
        if (view.localHour >= 24) view.localHour -= 24;
    }
    return view;
}

HomeView PrepareHome(const EngineState& engine, bool showNight, const PrayerExtras& extras) {
    const Observation& o = engine.observation;
    HomeView view;
    view.hijri = HijriOfDay(o.year, o.month, o.day, engine.schedule, engine.hijriAdjust);
    if (showNight) view.night = ComputeNightOfDay(engine);
    view.asides = AsidesOfDay(engine.schedule, IsFriday(o.day, o.month, o.year), extras);
    return view;
}

}  // namespace orvano
