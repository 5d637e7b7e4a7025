// Dates as the calendar engine names them, for the reference scripts: Julian before
// 1582-10-15 (1582-10-05..14 do not exist), years before 1 counted down with no year 0.
'use strict';

const pad = (n, w = 2) => String(Math.abs(n)).padStart(w, '0');
// "-0849-02-09", "1582-10-15".
const iso = (y, m, d) => `${y < 0 ? '-' : ''}${pad(y, 4)}-${pad(m)}-${pad(d)}`;
const parseDate = s => {
    const neg = s.startsWith('-');
    const [y, m, d] = (neg ? s.slice(1) : s).split('-').map(Number);
    return [neg ? -y : y, m, d];
};
// 1 BC is year 0 astronomically, as the oracle libraries count.
const astronomical = y => (y < 0 ? y + 1 : y);
const fromAstronomical = y => (y <= 0 ? y - 1 : y);
const previousYear = y => (y === 1 ? -1 : y - 1);
const julianLeap = y => astronomical(y) % 4 === 0;
const gregorianLeap = y => y % 4 === 0 && (y % 100 !== 0 || y % 400 === 0);
function daysInMonth(y, m) {
    if (m === 2) return (y < 1583 ? julianLeap(y) : gregorianLeap(y)) ? 29 : 28;
    return [31, 0, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31][m - 1];
}
const daysInYear = y => (daysInMonth(y, 2) === 29 ? 366 : 365);
const missing = (y, m, d) => y === 1582 && m === 10 && d >= 5 && d <= 14;
// Day of the year as the months name it (1582 keeps its missing days, as the engine counts).
function dayOfYear(y, m, d) {
    let n = d;
    for (let i = 1; i < m; i++) n += daysInMonth(y, i);
    return n;
}
// The engine's day number: real days, continuous across 1582 and 1 BC.
function dayNumber(y, m, d) {
    const e = astronomical(y) - 1, n = dayOfYear(y, m, d);
    if (y < 1582 || (y === 1582 && (m < 10 || (m === 10 && d < 15))))
        return n + 365 * e + Math.floor(e / 4) - 2;
    return n + 365 * e + Math.floor(e / 4) - Math.floor(e / 100) + Math.floor(e / 400);
}

module.exports = { pad, iso, parseDate, astronomical, fromAstronomical, previousYear, julianLeap,
                   gregorianLeap, daysInMonth, daysInYear, missing, dayOfYear, dayNumber };
