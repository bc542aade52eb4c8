// The peer's throughput on the same work as `orvano-cli bench`: the same
// synthetic towns, the same consecutive days from 1 January 2010, Fajr 18°,
// Isha 17° (its Muslim World League method) and the Shafi'i Asr.
'use strict';
const adhan = require('adhan');

function option(name, fallback) {
  const i = process.argv.indexOf('--' + name);
  if (i < 0) return fallback;
  const value = Number(process.argv[i + 1]);
  if (!Number.isInteger(value) || value < 1) {
    console.error(`adhan_bench: option '--${name}' needs a whole number from 1`);
    process.exit(2);
  }
  return value;
}

// The same Weyl sequences as orvano-cli's synthetic towns.
function town(index) {
  const n = index + 1;
  const a = n * 0.6180339887498949;
  const b = n * 0.7548776662466927;
  return new adhan.Coordinates(-60 + 125 * (a - Math.floor(a)), -180 + 360 * (b - Math.floor(b)));
}

function run(towns, days) {
  const params = adhan.CalculationMethod.MuslimWorldLeague();
  params.madhab = adhan.Madhab.Shafi;
  let checksum = 0;
  for (let t = 0; t < towns; ++t) {
    const coordinates = town(t);
    for (let d = 0; d < days; ++d) {
      const p = new adhan.PrayerTimes(coordinates, new Date(2010, 0, 1 + d), params);
      checksum += p.fajr.getTime() + p.sunrise.getTime() + p.dhuhr.getTime() +
                  p.asr.getTime() + p.maghrib.getTime() + p.isha.getTime();
    }
  }
  return checksum;
}

const towns = option('towns', 200);
const days = option('days', 365);
// Let the JIT settle first, so that only steady-state speed is compared.
run(20, 60);
const cpuStart = process.cpuUsage();
const start = process.hrtime.bigint();
const checksum = run(towns, days);
const seconds = Number(process.hrtime.bigint() - start) / 1e9;
const cpu = process.cpuUsage(cpuStart);
console.log(`towns=${towns} days=${days}`);
console.log(`checksum=${checksum}`);
console.log(`seconds=${seconds.toFixed(6)}`);
// User and system time of the whole process, the collector's threads included.
console.log(`cpu_seconds=${((cpu.user + cpu.system) / 1e6).toFixed(6)}`);
console.log(`days_per_second=${Math.round(towns * days / seconds)}`);
