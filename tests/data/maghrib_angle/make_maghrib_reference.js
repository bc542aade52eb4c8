// Writes the reference times for Maghrib at an angle below the horizon, which
// tests/engine holds the engine to:
//
//   cd tests/data/maghrib_angle && npm ci && npm run --silent reference
//
// which is `node make_maghrib_reference.js > ../maghrib_angle_reference.csv`.
// The times come from astronomy-engine (the version pinned in package.json and
// package-lock.json): the evening instant at which the geometric altitude of
// the Sun's centre, seen from the place (apparent position, no refraction
// model), falls through the method's angle. Every day of 2026 for Tehran
// (the University of Tehran's 4.5 degrees) and Qum (the Jafari method's 4
// degrees). Times are hours of Universal Time from 00:00 UT of that date.

'use strict';

const Astronomy = require('astronomy-engine');

const PLACES = [
    ['Tehran', 35.6892, 51.389, 4.5],
    ['Qum', 34.6401, 50.8764, 4.0],
];
const YEAR = 2026;

function Maghrib(lat, lon, angle, month, day) {
    const observer = new Astronomy.Observer(lat, lon, 0);
    const base = Astronomy.MakeTime(new Date(Date.UTC(YEAR, month - 1, day)));
    const noon = base.AddDays((12 - lon / 15) / 24);
    const transit = Astronomy.SearchHourAngle(Astronomy.Body.Sun, observer, 0, noon.AddDays(-0.5)).time;
    const t = Astronomy.SearchAltitude(Astronomy.Body.Sun, observer, -1, transit, 1, -angle);
    if (t === null) throw new Error('no crossing at ' + angle + ' on ' + month + '/' + day);
    return ((t.ut - base.ut) * 24).toFixed(7);
}

// package.json is not among the package's exports; read it from its folder.
function EngineVersion() {
    const path = require('path');
    const folder = path.dirname(require.resolve('astronomy-engine'));
    return JSON.parse(require('fs').readFileSync(path.join(folder, 'package.json'))).version;
}

function Main() {
    const lines = [];
    lines.push('# Maghrib at an angle, astronomy-engine ' + EngineVersion() +
               '; written by tests/data/maghrib_angle/make_maghrib_reference.js');
    lines.push('place,lat,lon,angle,year,month,day,maghrib_ut');
    for (const [name, lat, lon, angle] of PLACES) {
        for (let month = 1; month <= 12; ++month) {
            const days = new Date(Date.UTC(YEAR, month, 0)).getUTCDate();
            for (let day = 1; day <= days; ++day) {
                lines.push([name, lat, lon, angle, YEAR, month, day,
                            Maghrib(lat, lon, angle, month, day)].join(','));
            }
        }
    }
    process.stdout.write(lines.join('\n') + '\n');
}

Main();
