#pragma once

// The engine's face toward the calendar control: the lunar-date object TChnCal, which holds
// every text the control shows for one date, the festival rules and the reign-era table.
#include <span>
#include <string>
#include <string_view>

namespace tevuna::calendar {

// Days since 1899-12-30; the fraction is the time of day.
using TDateTime = double;

// TDateTime of a date as the engine names it: Julian before 1582-10-15, Gregorian from then
// on, years before 1 counted down without a year 0; false for a date that calendar does not
// have (1582-10-05..14, 1700-02-29) or a year outside -849..9999.
bool encodeDate(int y, int m, int d, TDateTime &out);
// The engine's name of a TDateTime's day; false for a value that is not a finite number of
// days within the years -849..9999.
bool decodeDate(TDateTime value, int &y, int &m, int &d);

// "正月" .. "腊月" for an ordinary month, "闰正" .. "闰腊" for a leap month; empty outside 1..12.
std::string LunarMonthText(int month, bool leap);
// Gregorian festival of the date value; day is its day of the month.
std::string HolidayOf(int day, TDateTime date);
// Lunar festival of a lunar month and day (a leap month has its ordinary month's festivals);
// date is the calendar date, which tells 除夕 by its next day.
std::string CnHolidayOf(int lunarMonth, int lunarDay, TDateTime date);
// Reign-era text of a calendar year before 1949, e.g. "[清]德宗 载湉 光绪26年"; else empty.
std::string EraTextOf(int year);
// The 529 rows of the reign-era table, "start,years,elapsed,dynasty,title,name,era".
std::span<const std::string_view> EraRows();

// The lunar-date object. SetDate fills every field for one date; a date whose year lies
// outside -849..2100 changes only Date and leaves every other field as it was.
class TChnCal
{
public:
    void SetDate(TDateTime date);

    int LunarYear = 0;
    int LunarMonth = 0; // 1..12
    TDateTime Date = 0;
    std::string SolarTermText;
    std::string HolidayText;
    std::string CnMonthText; // 正月 .. 腊月, or 闰四 for a leap month
    std::string DayGanZhiText;
    std::string YearGanZhiText;  // counted from 立春
    std::string MonthGanZhiText; // counted from the 节 terms
    std::string CnHolidayText;
    std::string LunarYearText;
    std::string CnDayText; // 初一 .. 三十; empty for the missing days of October 1582
    std::string AnimalText;
    std::string ConstellationText;
    std::string EraText; // empty from 1949 on

    int lunarDay = 0;       // 1..30, -1 for the missing days of October 1582
    bool leapMonth = false; // LunarMonth is the year's leap month

private:
    // Inputs of the texts kept from the previous call: a text is built again only when what
    // it names changed (the control sets one object to day after day).
    int eraYear_ = 0;
    bool eraValid_ = false;
    struct Names {
        int lunarYear, yearCycle, monthCycle, dayCycle, month, day, constellation;
        bool operator==(const Names &) const = default;
    };
    static constexpr int kNone = -1000000; // no value any field takes
    Names names_{kNone, kNone, kNone, kNone, kNone, kNone, kNone};
};

} // namespace tevuna::calendar
