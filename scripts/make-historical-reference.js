#!/usr/bin/env node
// Generates the committed reference of the historical Chinese calendars, from the lunar year
// that holds -849-01-01 to lunar 1899 (the official tables take over from lunar 1900), that
// the engine tests compare against and the engine tables are derived from.
//
//   cd scripts/lunar-reference && npm install && cd ../..
//   node scripts/make-historical-reference.js      # writes tests/calendar/data/*-historical.txt
//   node scripts/make-lunar-reference.js --engine   # then the engine tables from all references
//
// Dates are the engine's: Julian before 1582-10-15, years before 1 counted down with no year 0
// (-1 is 1 BC); both libraries number years astronomically (0 is 1 BC) and are converted.
//
// Sources (test oracles only; nothing of them is built or shipped):
//   lunar-javascript 1.7.7 (MIT): the historical calendars as reconstructed from the records
//     back to 721 BC, and computed before it; it is the primary source, and the only one for
//     years before 1.
//   tyme4ts 1.5.2 (MIT): a second reconstruction, from AD 1. Every day and every term day is
//     compared with it; where the two disagree the primary source is followed and the
//     disagreements are counted per year, so a reviewer can see where the record is unsure
//     (the month renamings of 9, 23-25 and 237-240 AD among them).
'use strict';
const fs = require('fs');
const path = require('path');

const root = path.resolve(__dirname, '..');
const dataDir = path.join(root, 'tests', 'calendar', 'data');
const monthsFile = path.join(dataDir, 'lunar-years-historical.txt');
const termsFile = path.join(dataDir, 'solar-terms-historical.txt');
const modules = path.join(__dirname, 'lunar-reference', 'node_modules');
const { Solar } = require(path.join(modules, 'lunar-javascript'));
const { SolarDay } = require(path.join(modules, 'tyme4ts'));

const FIRST_YEAR = -849, LAST_YEAR = 1900; // calendar years scanned
const LAST_LUNAR_YEAR = 1899;
// Term numbers 1..24 in calendar order, 小寒 first.
const TERMS = ['小寒', '大寒', '立春', '雨水', '惊蛰', '春分', '清明', '谷雨', '立夏', '小满', '芒种',
               '夏至', '小暑', '大暑', '立秋', '处暑', '白露', '秋分', '寒露', '霜降', '立冬', '小雪',
               '大雪', '冬至'];
// lunar-javascript names some terms in their traditional form.
const TERM_ALIASES = { 'DONG_ZHI': '冬至', 'XIAO_HAN': '小寒', 'DA_HAN': '大寒', 'LI_CHUN': '立春',
                       'YU_SHUI': '雨水', 'JING_ZHE': '惊蛰', '惊蜇': '惊蛰' };
const termNumber = name => TERMS.indexOf(TERM_ALIASES[name] || name) + 1;

const { iso, astronomical, fromAstronomical, previousYear, daysInMonth, daysInYear, missing } =
    require('./engine-dates');

const months = []; // {year, month, leap, first: [y, m, d], days}
const occurrences = []; // every term day in order: {y, doy, n}
const disagree = new Map(); // year -> {days, terms}
const note = (y, k) => {
    if (!disagree.has(y)) disagree.set(y, { days: 0, terms: 0 });
    disagree.get(y)[k]++;
};
let days = 0, compared = 0;
const relabelled = [];
const failures = [];
let cur = null;
for (let y = FIRST_YEAR; y <= LAST_YEAR; y++) {
    if (y === 0) continue;
    let doy = 0;
    for (let m = 1; m <= 12; m++) {
        for (let d = 1; d <= daysInMonth(y, m); d++) {
            doy++;
            if (missing(y, m, d)) continue;
            days++;
            const lunar = Solar.fromYmd(astronomical(y), m, d).getLunar();
            const ly = fromAstronomical(lunar.getYear());
            const lm = Math.abs(lunar.getMonth()), leap = lunar.getMonth() < 0 ? 1 : 0;
            const ld = lunar.getDay();
            if (ld === 1 || !cur) {
                // The month -849-01-01 falls in began in -850.
                const first = ld === 1 ? [y, m, d] : [-850, 12, 33 - ld];
                cur = { year: ly, month: lm, leap, first, days: ld - 1 };
                months.push(cur);
            }
            if (cur) {
                // Before AD 1 the primary source's calendar of one year may name the month
                // that the previous year's began differently (a leap month the other did not
                // have); the later name is kept, which keeps both years' months in order.
                if (cur.year !== ly || cur.month !== lm || cur.leap !== leap) {
                    if (ld !== cur.days + 1)
                        throw new Error(`${iso(y, m, d)}: a month without its first day`);
                    relabelled.push(`${iso(...cur.first)} ${cur.month}${cur.leap ? 'L' : ''}->` +
                                    `${lm}${leap ? 'L' : ''}`);
                    Object.assign(cur, { year: ly, month: lm, leap });
                }
                cur.days = ld;
            }
            const jq = lunar.getJieQi();
            if (jq) {
                const n = termNumber(jq);
                if (n < 1) throw new Error(`unknown term ${jq}`);
                occurrences.push({ y, doy, n, day: days });
            }
            // tyme4ts cannot look back past AD 1 for the first days of AD 1.
            if (y >= 1 && !(y === 1 && m === 1)) {
                compared++;
                try {
                    const sd = SolarDay.fromYmd(y, m, d);
                    const t = sd.getLunarDay(), tm = t.getLunarMonth();
                    if (fromAstronomical(tm.getYear()) !== ly || tm.getMonth() !== lm ||
                        (tm.isLeap() ? 1 : 0) !== leap || t.getDay() !== ld)
                        note(y, 'days');
                    const td = sd.getTermDay();
                    const tt = td.getDayIndex() === 0 ? td.getSolarTerm().getName() : '';
                    if ((TERM_ALIASES[tt] || tt) !== (jq ? TERMS[termNumber(jq) - 1] : ''))
                        note(y, 'terms');
                } catch (e) {
                    // It refuses some days of its own months (a 30th of a 29-day month).
                    note(y, 'days');
                    failures.push(`${iso(y, m, d)} (${e.message})`);
                }
            }
        }
    }
}
// Finish the months that run past the last scanned day, and drop the lunar years past the
// reference and the one before the first whole year (only its end is needed).
for (let t = 1; cur.days === 0 || true; t++) {
    const lunar = Solar.fromYmd(LAST_YEAR + 1, 1, t).getLunar();
    if (lunar.getDay() === 1) break;
    cur.days = lunar.getDay();
}
const kept = months.filter(r => r.year <= LAST_LUNAR_YEAR);

// One line per lunar year: its months in order, each 29 or 30 days.
const years = [];
for (const r of kept) {
    if (!years.length || years.at(-1).year !== r.year)
        years.push({ year: r.year, first: r.first, months: [] });
    years.at(-1).months.push(r);
}
const firstWhole = years.findIndex(e => e.months[0].month === 1 && !e.months[0].leap);
const lines = [];
const irregular = [];
for (const [i, e] of years.entries()) {
    const shape = e.months.map(r => `${r.month}${r.leap ? 'L' : ''}`);
    const leapAt = e.months.findIndex(r => r.leap);
    const expected = Array.from({ length: 12 }, (_, k) => String(k + 1));
    if (leapAt >= 0) expected.splice(leapAt, 0, `${e.months[leapAt].month}L`);
    const partial = i < firstWhole;
    const regular = shape.join(' ') === expected.join(' ') &&
                    (leapAt < 0 || e.months[leapAt].month === e.months[leapAt - 1]?.month);
    if (!partial && !regular) irregular.push(`${e.year}: ${shape.join(' ')}`);
    if (!partial && e.months.some(r => r.days !== 29 && r.days !== 30))
        irregular.push(`${e.year}: days ${e.months.map(r => r.days).join(' ')}`);
    if (partial) continue; // its months before -849 are not needed
    if (!regular || e.months.some(r => r.days !== 29 && r.days !== 30)) {
        lines.push(`! ${e.year} ${iso(...e.first)} ` +
                   e.months.map(r => `${r.month}${r.leap ? 'L' : ''}:${r.days}`).join(' '));
        continue;
    }
    lines.push(`${e.year} ${iso(...e.first)} ${leapAt >= 0 ? e.months[leapAt].month : 0} ` +
               e.months.map(r => (r.days === 30 ? '1' : '0')).join(''));
}
// The months of the lunar year that -849-01-01 falls in, before its first whole year.
const head = years.slice(0, firstWhole).flatMap(e => e.months)
    .map(r => `${r.year} ${r.month}${r.leap ? 'L' : ''} ${iso(...r.first)} ${r.days}`);

// A year's terms end with its December 冬至; 小寒, 23 terms before, falls on Dec 31 of the year
// before in the centuries when the Julian calendar put it there (day 0 of the year).
const terms = new Map();
for (const [i, o] of occurrences.entries()) {
    if (o.n !== 24) continue;
    if (i < 23) continue; // the first year's 冬至 before a whole year of terms: none here
    const list = occurrences.slice(i - 23, i + 1);
    list.forEach((t, k) => {
        if (t.n !== k + 1) throw new Error(`year ${o.y}: term ${t.n} where ${k + 1} belongs`);
    });
    const first = list[0];
    const start = first.y === o.y ? first.doy
        : first.y === previousYear(o.y) ? first.doy - daysInYear(first.y) : NaN;
    // 小寒's day of the year, then the real days from each term to the next.
    terms.set(o.y, [start, ...list.slice(1).map((t, k) => t.day - list[k].day)]);
}
for (let y = FIRST_YEAR; y <= LAST_YEAR; y++)
    if (y !== 0 && !terms.has(y)) throw new Error(`year ${y} has no 冬至`);
const termLines = [];
for (const [y, list] of terms) {
    if (Number.isNaN(list[0])) throw new Error(`year ${y}: 小寒 two years off`);
    for (let n = 1; n < 24; n++)
        if (list[n] < 13 || list[n] > 17)
            throw new Error(`year ${y}: terms ${n} and ${n + 1} ${list[n]} days apart`);
    termLines.push(`${y} ${list[0]} ${list.slice(1).map(v => v - 13).join('')}`);
}
if (terms.size !== LAST_YEAR - FIRST_YEAR) throw new Error(`${terms.size} years of terms`);

const common = [
    `# Historical Chinese calendars, ${iso(FIRST_YEAR, 1, 1)} to ${LAST_YEAR}-12-31, dates Julian before`,
    '# 1582-10-15, years before 1 counted down without a year 0 (-1 is 1 BC).',
    '# Generated by scripts/make-historical-reference.js from lunar-javascript 1.7.7 (MIT),',
    '# compared day by day with tyme4ts 1.5.2 (MIT) from AD 1 (see the script).',
];
const dis = [...disagree].filter(([, v]) => v.days || v.terms);
fs.writeFileSync(monthsFile, [...common,
    '# First the months before the first whole lunar year: lunar_year month[L] first_day days.',
    '# Then one line per lunar year: lunar_year first_day_of_正月 leap_month(0 none) and one',
    '# digit per month in order, leap month included: 1 for 30 days, 0 for 29. A year whose',
    '# months do not run 1..12 with at most one leap month, or that has a month of other',
    '# than 29 or 30 days, is written ! lunar_year first_day month[L]:days ...',
    ...head.map(l => `> ${l}`), ...lines].join('\n') + '\n');
fs.writeFileSync(termsFile, [...common,
    '# One line per calendar year: year, day of the year of 小寒 (0: December 31 of the year',
    '# before; days of the year as the months name them, 1582 keeping its ten missing days),',
    '# then for each next term to the December 冬至 one digit: days after the term before,',
    '# minus 13.',
    ...termLines].join('\n') + '\n');
console.log(`${days} days (${compared} compared), ${lines.length} lunar years, ${terms.size} years of terms`);
console.log(`irregular lunar years:\n  ${irregular.join('\n  ')}`);
console.log(`months named differently at their end (primary source, years before 1): ${relabelled.join(' ')}`);
console.log(`tyme4ts fails on ${failures.length} days: ${failures.slice(0, 10).join(', ')}`);
console.log(`tyme4ts disagrees in ${dis.length} years:`,
            dis.map(([y, v]) => `${y}:${v.days}d/${v.terms}t`).join(' '));
