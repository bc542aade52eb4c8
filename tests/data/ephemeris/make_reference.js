// Writes the reference data that tests/engine holds the engine to, from one
// pinned ephemeris:
//
//   cd tests/data/ephemeris && npm ci && npm run --silent reference
//
// which runs `node make_reference.js sun > ../sun_reference.csv` and
// `node make_reference.js maghrib > ../maghrib_angle_reference.csv`. The
// times come from astronomy-engine (the version pinned in package.json and
// package-lock.json), the Sun's apparent position seen from the place, with no
// refraction model: the engine's angles already hold refraction and the Sun's
// radius, so the altitudes here are geometric altitudes of the Sun's centre.
// Times are hours of Universal Time counted from 00:00 UT of the row's date
// (so they may fall below 0 or past 24).
//
// sun: each row is one place and civil date:
//   transit      the Sun's upper culmination nearest local mean noon
//   rise, set    the centre at -0.833 degrees before and after it
//   dawnN, duskN the centre at -N degrees before and after it (N = 18, 15, 12)
//   asr1, asr2   the centre at atan(1 / (k + tan|lat - dec|)) after it, k = 1
//                and 2, with dec the declination at the transit
// A twilight is "none" when the Sun stays more than 0.5 degrees above the
// altitude all that night, and "skip" when the night's lowest altitude is
// within 0.5 degrees of it: there a small declination error moves the
// crossing by minutes or decides whether it happens. The last line counts the
// skipped cases.
//
// maghrib: the evening instant at which the Sun's centre falls through the
// method's angle, every day of 2026 for Tehran (the University of Tehran's
// 4.5 degrees) and Qum (the Jafari method's 4 degrees).

'use strict';

const Astronomy = require('astronomy-engine');

const PLACES = [
    ['Algiers', 36.75, 3.05],        ['Cairo', 30.04, 31.24],
    ['Mecca', 21.42, 39.83],         ['Karachi', 24.86, 67.01],
    ['Jakarta', -6.2, 106.85],       ['Kuala Lumpur', 3.14, 101.69],
    ['Istanbul', 41.01, 28.98],      ['Paris', 48.86, 2.35],
    ['London', 51.51, -0.13],        ['Oslo', 59.91, 10.75],
    ['Saint Petersburg', 59.94, 30.31], ['New York', 40.71, -74.01],
    ['Los Angeles', 34.05, -118.24], ['Honolulu', 21.31, -157.86],
    ['Mexico City', 19.43, -99.13],  ['Sao Paulo', -23.55, -46.63],
    ['Ushuaia', -54.8, -68.3],       ['Cape Town', -33.92, 18.42],
    ['Nairobi', -1.29, 36.82],       ['Dakar', 14.72, -17.47],
    ['Sydney', -33.87, 151.21],      ['Auckland', -36.85, 174.76],
    ['Tokyo', 35.68, 139.69],        ['Tehran', 35.69, 51.39],
    ['Apia', -13.83, -171.76],
];
const SUNRISE_ANGLE = 0.833;
const TWILIGHTS = [18, 15, 12];
const MARGIN = 0.5;

function Hours(time, base) {
    return (time.ut - base.ut) * 24;
}

function Altitude(time, observer) {
    const eq = Astronomy.Equator(Astronomy.Body.Sun, time, observer, true, true);
    return Astronomy.Horizon(time, observer, eq.ra, eq.dec).altitude;
}

function Crossing(observer, direction, from, altitude) {
    const t = Astronomy.SearchAltitude(Astronomy.Body.Sun, observer, direction, from, 1, altitude);
    if (t === null) throw new Error('no crossing at ' + altitude + ' from ' + from.toString());
    return t;
}

// 00:00 UT of the date, and the Sun's upper culmination nearest local mean noon.
function DayAndTransit(observer, lon, year, month, day) {
    const base = Astronomy.MakeTime(new Date(Date.UTC(year, month - 1, day)));
    const noon = base.AddDays((12 - lon / 15) / 24);
    const transit = Astronomy.SearchHourAngle(Astronomy.Body.Sun, observer, 0, noon.AddDays(-0.5)).time;
    return [base, transit];
}

function Row(name, lat, lon, year, month, day, skipped) {
    const observer = new Astronomy.Observer(lat, lon, 0);
    const [base, transit] = DayAndTransit(observer, lon, year, month, day);
    const before = transit.AddDays(-0.5);
    // The lowest altitudes of the night before and the night after the transit.
    const nightBefore = Astronomy.SearchHourAngle(Astronomy.Body.Sun, observer, 12, transit.AddDays(-1)).time;
    const nightAfter = Astronomy.SearchHourAngle(Astronomy.Body.Sun, observer, 12, transit).time;
    const lowBefore = Altitude(nightBefore, observer);
    const lowAfter = Altitude(nightAfter, observer);

    const hours = (t) => Hours(t, base).toFixed(7);
    const fields = [name, lat.toFixed(2), lon.toFixed(2), year, month, day, hours(transit)];
    fields.push(hours(Crossing(observer, +1, before, -SUNRISE_ANGLE)));
    fields.push(hours(Crossing(observer, -1, transit, -SUNRISE_ANGLE)));
    for (const angle of TWILIGHTS) {
        for (const [direction, low, from] of [[+1, lowBefore, before], [-1, lowAfter, transit]]) {
            if (Math.abs(low + angle) <= MARGIN) {
                fields.push('skip');
                ++skipped.count;
            } else if (low > -angle) {
                fields.push('none');
            } else {
                fields.push(hours(Crossing(observer, direction, from, -angle)));
            }
        }
    }
    const dec = Astronomy.Equator(Astronomy.Body.Sun, transit, observer, true, true).dec;
    const zenith = Math.abs(lat - dec) * Math.PI / 180;
    for (const k of [1, 2]) {
        const asr = Math.atan(1 / (k + Math.tan(zenith))) * 180 / Math.PI;
        fields.push(hours(Crossing(observer, -1, transit, asr)));
    }
    return fields.join(',');
}

// package.json is not among the package's exports; read it from its folder.
function EngineVersion() {
    const path = require('path');
    const folder = path.dirname(require.resolve('astronomy-engine'));
    return JSON.parse(require('fs').readFileSync(path.join(folder, 'package.json'))).version;
}

function SunReference() {
    const lines = [];
    lines.push('# Sun reference times, astronomy-engine ' + EngineVersion() +
               '; written by tests/data/ephemeris/make_reference.js sun');
    lines.push('place,lat,lon,year,month,day,transit,rise,set,dawn18,dusk18,dawn15,dusk15,dawn12,dusk12,asr1,asr2');
    const skipped = {count: 0};
    PLACES.forEach(([name, lat, lon], p) => {
        for (let month = 1; month <= 12; ++month) {
            // Days and years spread so that no two rows share a date pattern.
            const day = 1 + (p * 7 + month * 11) % 28;
            const year = 2000 + (p * 5 + month * 3) % 36;
            lines.push(Row(name, lat, lon, year, month, day, skipped));
        }
    });
    lines.push('# skipped twilight cases (night extreme within ' + MARGIN + ' degrees of the altitude): ' +
               skipped.count);
    return lines;
}

const TEHRAN_QUM = [
    ['Tehran', 35.6892, 51.389, 4.5],
    ['Qum', 34.6401, 50.8764, 4.0],
];
const MAGHRIB_YEAR = 2026;

function Maghrib(lat, lon, angle, month, day) {
    const observer = new Astronomy.Observer(lat, lon, 0);
    const [base, transit] = DayAndTransit(observer, lon, MAGHRIB_YEAR, month, day);
    return Hours(Crossing(observer, -1, transit, -angle), base).toFixed(7);
}

function MaghribReference() {
    const lines = [];
    lines.push('# Maghrib at an angle, astronomy-engine ' + EngineVersion() +
               '; written by tests/data/ephemeris/make_reference.js maghrib');
    lines.push('place,lat,lon,angle,year,month,day,maghrib_ut');
    for (const [name, lat, lon, angle] of TEHRAN_QUM) {
        for (let month = 1; month <= 12; ++month) {
            const days = new Date(Date.UTC(MAGHRIB_YEAR, month, 0)).getUTCDate();
            for (let day = 1; day <= days; ++day) {
                lines.push([name, lat, lon, angle, MAGHRIB_YEAR, month, day,
                            Maghrib(lat, lon, angle, month, day)].join(','));
            }
        }
    }
    return lines;
}

const OUTPUTS = {sun: SunReference, maghrib: MaghribReference};

function Main(which) {
    if (!(which in OUTPUTS)) {
        process.stderr.write('usage: node make_reference.js sun|maghrib\n');
        process.exit(2);
    }
    process.stdout.write(OUTPUTS[which]().join('\n') + '\n');
}

Main(process.argv[2]);
