#pragma once

// Chinese calendar engine: calendar dates, lunar dates, cyclic names, solar terms and
// constellations. Plain functions over constant tables; no I/O, no global state besides an
// internal per-year cache of 正月初一 (results depend only on the arguments).
//
// Calendar dates are (Y, M, D) with dates before 1582-10-15 read as Julian dates and later
// ones as Gregorian dates; 1582-10-05..14 do not exist. Years before 1 count down without a
// year 0. The engine accepts the years -849..2100.
//
// Lunar dates and term days come from tables: the official calendar for 1901-2100, and for
// the years before it the calendars as they were in use (their months, leap months and term
// days as reconstructed from the records back to 721 BC, computed before it). A mean new-moon
// series, a leap-month table and a closed solar-term formula remain in namespace series.
#include <string>

namespace tevuna::calendar {

inline constexpr int kMinYear = -849;
inline constexpr int kMaxYear = 2100;
// The years whose every day follows the official calendar's tables.
inline constexpr int kTableFirstYear = 1901;
inline constexpr int kTableLastYear = 2100;

struct LunarDate {
    int year = 0;  // lunar year: the calendar year, or the one before for days before 正月初一
    int month = 0; // 1..12
    int day = 0;   // 1..30; -1 for the missing days of October 1582
    bool leap = false;
};

// --- calendar dates -----------------------------------------------------------------------

// 1 Julian (before 1582-10-05), 0 missing (1582-10-05..14), 2 Gregorian (from 1582-10-15).
int CalendarKindOf(int y, int m, int d);
bool IsLeapYearEx(int y);
// Days in month m of year y; 0 for a month outside 1..12.
int DaysInMonthEx(int y, int m);
// Days of the months before m plus d (months outside 1..12 add nothing).
int DayOfYearEx(int y, int m, int d);
// Days since 0000-12-31 of the proleptic Gregorian calendar (0001-01-01 is day 1), for
// Julian dates the number of the same day, for years before 1 negative; 0 for the missing
// days (and for 0001-01-02 of the Julian calendar: CalendarKindOf tells them apart). d may be 0.
int DayNumber(int y, int m, int d);
// The inverse of DayNumber, Julian dates before 1582-10-15. False before -849-01-01.
bool DateOfDayNumber(int n, int &y, int &m, int &d);
// 1 when the first date is later, 0 when equal, -1 when earlier.
int CompareDates(int y1, int m1, int d1, int y2, int m2, int d2);
// Years, then months, then leap flags (the ordinary month first), then days.
int CompareLunarDates(int year1, int month1, int day1, bool leap1, int year2, int month2, int day2,
                      bool leap2);

// --- lunar dates --------------------------------------------------------------------------

// The month that the leap month of a lunar year follows (0: none); -1 outside -849..2100.
int LeapMonthOf(int lunarYear);
// Number of lunar years from -849 through year that have a leap month; year 0 takes the
// value of -1.
int LeapMonthCount(int year);
// Lunar day 1..30, or -1 when no new moon fits (the missing days).
int LunarDayOf(int y, int m, int d);
// Lunar month 1..12, negated for a leap month.
int LunarMonthOf(int y, int m, int d);
// False, and out untouched, for a year outside -849..2100 or a month or day that the month
// does not have.
bool GregorianToLunar(int y, int m, int d, LunarDate &out);
// False, and y, m, d untouched, when the lunar date does not exist or is not found.
bool LunarToGregorian(int lunarYear, int lunarMonth, int lunarDay, bool leap, int &y, int &m,
                      int &d);
// "初一" .. "三十"; empty outside 1..30.
std::string LunarDayName(int day);

// --- cyclic names, zodiac, solar terms, constellations --------------------------------------

// Stem-branch name of cycle index 0..59 (0 甲子, 59 癸亥); empty outside.
std::string GanZhiName(int index);
// Cycle index with stem 0..9 and branch 0..11, or -1.
int GanZhiOf(int stem, int branch);
int YearGanZhi(int year);
// Cycle index of the year that the date belongs to, years beginning on the day of 立春.
int YearGanZhiOfDate(int y, int m, int d);
// Cycle index of the month, months beginning on the days of the 节 terms.
int MonthGanZhi(int y, int m, int d);
int DayGanZhi(int y, int m, int d);
// Zodiac index 0..11 (0 鼠) of a lunar year.
int AnimalOfYear(int lunarYear);
std::string AnimalName(int index);
// Estimated moment of term number 1..24 (1 小寒) of year as a real day of the year in
// UTC+8, from the closed formula. The civil day of a term is SolarTermDay.
double SolarTermDayOfYear(int year, int term);
// Day of the year (1-based, counted as DayOfYearEx counts) of term number 1..24 of year: the
// 24 terms of a year end with its December 冬至, so 小寒 may fall in the December before
// (day 0 or less). 0 for a term number or year outside the engine's.
int SolarTermDay(int year, int term);
// Month and day of term index b = 0..23 (term number b + 1), month 0 for a 小寒 in the
// December before; false for b or the year outside the engine's.
bool SolarTermDate(int year, int b, int &month, int &day);
// Name of the solar term that falls on the date, or empty.
std::string SolarTermOfDate(int y, int m, int d);
// Term name by name index 0..23 (0 立春); empty outside.
std::string SolarTermName(int index);
// What the calendar shows of one date, in one pass: the lunar date, the cycle indexes of
// YearGanZhiOfDate, MonthGanZhi and DayGanZhi, and the name index (SolarTermName) of the
// term on the date, -1 for none. False where GregorianToLunar is.
struct DateFacts {
    LunarDate lunar;
    int yearCycle = 0;
    int monthCycle = 0;
    int dayCycle = 0;
    int term = -1;
};
bool FactsOfDate(int y, int m, int d, DateFacts &out);
// Constellation index 0..11 (0 白羊) of a month and day.
int ConstellationOf(int m, int d);
std::string ConstellationName(int index);

// The mean new-moon series, the leap-month table and the closed term formula, for every
// year of the engine. The functions above use them outside 1901-2100.
namespace series {
int LunarDayOf(int y, int m, int d);
int LunarMonthOf(int y, int m, int d);
bool GregorianToLunar(int y, int m, int d, LunarDate &out);
bool LunarToGregorian(int lunarYear, int lunarMonth, int lunarDay, bool leap, int &y, int &m,
                      int &d);
int LeapMonthOf(int lunarYear);
// Integer part of SolarTermDayOfYear.
int SolarTermDay(int year, int term);
} // namespace series

} // namespace tevuna::calendar
