#include "calendar/ChnCalendarUse.h"

#include "calendar/CnCalendar.h"

#include <array>
#include <climits>
#include <cmath>
#include <cstdint>

namespace tevuna::calendar {

namespace {

// The engine's day number of 1899-12-30, day 0 of TDateTime.
constexpr int kDateTimeEpoch = 693594;
// The first year of the Republic, which counted by the Gregorian calendar.
constexpr int kFirstRepublicYear = 1912;
// Dates are named up to this year, as far as a TDateTime is taken.
constexpr int kLastDateTimeYear = 9999;
// TDateTime values beyond the years -9999..9999 name no date the engine could use.
constexpr double kDateTimeLimit = 4.5e6;

constexpr std::array<std::string_view, 12> kMonthNames = {"正", "二", "三", "四", "五", "六",
                                                          "七", "八", "九", "十", "冬", "腊"};

enum Weekday { Sunday = 0, Thursday = 4 };

// Weekday of a TDateTime's day, 0 = Sunday (1899-12-30 was a Saturday).
int weekdayOf(TDateTime date)
{
    const std::int64_t day = static_cast<std::int64_t>(std::trunc(date));
    const std::int64_t w = (day + 6) % 7;
    return static_cast<int>(w < 0 ? w + 7 : w);
}

// Whether day d of a month is its n-th weekday w, the date being that weekday.
bool isNthWeekday(int d, int n, int w, int weekday)
{
    return weekday == w && (d - 1) / 7 == n - 1;
}

} // namespace

bool encodeDate(int y, int m, int d, TDateTime &out)
{
    if (y < kMinYear || y > kLastDateTimeYear || y == 0 || m < 1 || m > 12 || d < 1 ||
        d > DaysInMonthEx(y, m) || CalendarKindOf(y, m, d) == 0)
        return false;
    out = static_cast<double>(DayNumber(y, m, d) - kDateTimeEpoch);
    return true;
}

bool decodeDate(TDateTime value, int &y, int &m, int &d)
{
    if (!std::isfinite(value) || std::fabs(value) > kDateTimeLimit)
        return false;
    int year = 0, month = 0, day = 0;
    const auto n = static_cast<std::int64_t>(std::trunc(value)) + kDateTimeEpoch;
    if (n < INT_MIN || n > INT_MAX || !DateOfDayNumber(static_cast<int>(n), year, month, day) ||
        year > kLastDateTimeYear)
        return false;
    y = year;
    m = month;
    d = day;
    return true;
}

std::string LunarMonthText(int month, bool leap)
{
    if (month < 1 || month > 12)
        return {};
    const std::string name(kMonthNames[static_cast<std::size_t>(month - 1)]);
    return leap ? "闰" + name : name + "月";
}

namespace {

// The Gregorian festival of a day of month m whose weekday is weekday.
const char *holidayName(int m, int day, int weekday)
{
    switch (m) {
    case 1:
        return day == 1 ? "元旦节" : "";
    case 2:
        return day == 14 ? "情人节" : "";
    case 3:
        return day == 8 ? "妇女节" : "";
    case 4:
        return day == 1 ? "愚人节" : "";
    case 5:
        if (isNthWeekday(day, 2, Sunday, weekday))
            return "母亲节";
        return day == 1 ? "劳动节" : day == 4 ? "青年节" : "";
    case 6:
        if (isNthWeekday(day, 3, Sunday, weekday))
            return "父亲节";
        return day == 1 ? "儿童节" : "";
    case 7:
        return day == 1 ? "建党节" : "";
    case 8:
        return day == 1 ? "建军节" : "";
    case 9:
        return day == 10 ? "教师节" : "";
    case 10:
        return day == 1 ? "国庆节" : day == 6 ? "老人节" : day == 31 ? "万圣节" : "";
    case 11:
        if (isNthWeekday(day, 4, Thursday, weekday))
            return "感恩节";
        return day == 8 ? "记者日" : "";
    case 12:
        return day == 25 ? "圣诞节" : "";
    default:
        return "";
    }
}

} // namespace

std::string HolidayOf(int day, TDateTime date)
{
    int y = 0, m = 0, d = 0;
    if (!decodeDate(date, y, m, d))
        return {};
    return holidayName(m, day, weekdayOf(date));
}

std::string CnHolidayOf(int lunarMonth, int lunarDay, TDateTime date)
{
    switch (lunarDay) {
    case 1:
        return lunarMonth == 1 ? "春节" : "";
    case 5:
        return lunarMonth == 5 ? "端午节" : "";
    case 7:
        return lunarMonth == 7 ? "七夕节" : "";
    case 8:
        return lunarMonth == 12 ? "腊八节" : "";
    case 9:
        return lunarMonth == 9 ? "重阳节" : "";
    case 15:
        return lunarMonth == 1 ? "元宵节" : lunarMonth == 8 ? "中秋节" : "";
    default:
        break;
    }
    if (lunarMonth != 12)
        return {};
    // 除夕 is the last day of 腊月, whether it has 29 or 30 days: the next day is 正月初一.
    int y = 0, m = 0, d = 0;
    LunarDate next;
    if (decodeDate(date + 1, y, m, d) && GregorianToLunar(y, m, d, next) && next.month == 1 &&
        next.day == 1)
        return "除夕";
    return {};
}

void TChnCal::SetDate(TDateTime date)
{
    Date = date;
    int y = 0, m = 0, d = 0;
    DateFacts facts;
    if (!decodeDate(date, y, m, d) || !FactsOfDate(y, m, d, facts))
        return;
    const LunarDate &lunar = facts.lunar;

    const Names now{lunar.year,
                    facts.yearCycle,
                    facts.monthCycle,
                    facts.dayCycle,
                    lunar.month * 2 + (lunar.leap ? 1 : 0),
                    lunar.day,
                    ConstellationOf(m, d)};
    LunarYear = lunar.year;
    if (now.lunarYear != names_.lunarYear) {
        LunarYearText = std::to_string(lunar.year);
        AnimalText = AnimalName(AnimalOfYear(lunar.year));
    }
    if (now.yearCycle != names_.yearCycle)
        YearGanZhiText = GanZhiName(now.yearCycle);
    // Reign years began on 正月初一, so the lunar year counts; the Republic took the
    // Gregorian calendar and began on 1912-01-01. The lookup walks a long table: keep its text
    // while that year stays.
    // The era table counts years before 1 astronomically (0 is 1 BC).
    const int eraYear = y >= kFirstRepublicYear ? y : lunar.year < 0 ? lunar.year + 1 : lunar.year;
    if (!eraValid_ || eraYear_ != eraYear) {
        EraText = EraTextOf(eraYear);
        eraYear_ = eraYear;
        eraValid_ = true;
    }
    LunarMonth = lunar.month;
    leapMonth = lunar.leap;
    lunarDay = lunar.day;
    if (now.month != names_.month)
        CnMonthText = LunarMonthText(lunar.month, lunar.leap);
    if (now.monthCycle != names_.monthCycle)
        MonthGanZhiText = GanZhiName(now.monthCycle);
    if (now.day != names_.day)
        CnDayText = LunarDayName(lunar.day);
    if (now.dayCycle != names_.dayCycle)
        DayGanZhiText = GanZhiName(now.dayCycle);
    if (now.constellation != names_.constellation)
        ConstellationText = ConstellationName(now.constellation);
    names_ = now;
    HolidayText = holidayName(m, d, weekdayOf(date));
    CnHolidayText = CnHolidayOf(lunar.month, lunar.day, date);
    if (facts.term < 0)
        SolarTermText.clear();
    else
        SolarTermText = SolarTermName(facts.term);
}

} // namespace tevuna::calendar
