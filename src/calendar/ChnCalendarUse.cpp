#include "calendar/ChnCalendarUse.h"

#include "calendar/CnCalendar.h"

#include <array>
#include <cmath>
#include <cstdint>

namespace tevuna::calendar {

namespace {

// Days from 1899-12-30, day 0 of TDateTime, to 1970-01-01, day 0 of the civil-day helpers.
constexpr std::int64_t kUnixEpochInDateTime = 25569;
// TDateTime values beyond the years -9999..9999 name no date the engine could use.
constexpr double kDateTimeLimit = 4.5e6;

constexpr std::array<std::string_view, 12> kMonthNames = {"正", "二", "三", "四", "五", "六",
                                                          "七", "八", "九", "十", "冬", "腊"};

enum Weekday { Sunday = 0, Thursday = 4 };

// Proleptic Gregorian day count from 1970-01-01 (astronomical years, with a year 0).
std::int64_t daysFromCivil(std::int64_t y, int m, int d)
{
    y -= m <= 2 ? 1 : 0;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yoe = y - era * 400;
    const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void civilFromDays(std::int64_t z, std::int64_t &y, int &m, int &d)
{
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = yoe + era * 400 + (m <= 2 ? 1 : 0);
}

bool prolepticLeap(std::int64_t y)
{
    return y % 4 == 0 && (y % 100 != 0 || y % 400 == 0);
}

int prolepticDaysInMonth(std::int64_t y, int m)
{
    static constexpr std::array<int, 12> kDays = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && prolepticLeap(y) ? 29 : kDays[static_cast<std::size_t>(m - 1)];
}

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
    if (y == 0 || y < -9999 || y > 9999 || m < 1 || m > 12)
        return false;
    const std::int64_t astronomical = y < 0 ? y + 1 : y;
    if (d < 1 || d > prolepticDaysInMonth(astronomical, m))
        return false;
    out = static_cast<double>(daysFromCivil(astronomical, m, d) + kUnixEpochInDateTime);
    return true;
}

bool decodeDate(TDateTime value, int &y, int &m, int &d)
{
    if (!std::isfinite(value) || std::fabs(value) > kDateTimeLimit)
        return false;
    std::int64_t year = 0;
    int month = 0, day = 0;
    civilFromDays(static_cast<std::int64_t>(std::trunc(value)) - kUnixEpochInDateTime, year, month,
                  day);
    if (year < -9998 || year > 9999)
        return false;
    y = static_cast<int>(year <= 0 ? year - 1 : year);
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

std::string HolidayOf(int day, TDateTime date)
{
    int y = 0, m = 0, d = 0;
    if (!decodeDate(date, y, m, d))
        return {};
    const int weekday = weekdayOf(date);
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
        return {};
    }
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
    LunarDate lunar;
    if (!decodeDate(date, y, m, d) || !GregorianToLunar(y, m, d, lunar))
        return;

    LunarYear = lunar.year;
    LunarYearText = std::to_string(lunar.year);
    YearGanZhiText = GanZhiName(YearGanZhiOfDate(y, m, d));
    AnimalText = AnimalName(AnimalOfYear(lunar.year));
    // The era lookup walks a long table: keep its text while the calendar year stays.
    if (!eraValid_ || eraYear_ != y) {
        EraText = EraTextOf(y);
        eraYear_ = y;
        eraValid_ = true;
    }
    LunarMonth = lunar.month;
    leapMonth = lunar.leap;
    lunarDay = lunar.day;
    CnMonthText = LunarMonthText(lunar.month, lunar.leap);
    MonthGanZhiText = GanZhiName(MonthGanZhi(y, m, d));
    CnDayText = LunarDayName(lunar.day);
    DayGanZhiText = GanZhiName(DayGanZhi(y, m, d));
    ConstellationText = ConstellationName(ConstellationOf(m, d));
    HolidayText = HolidayOf(d, date);
    CnHolidayText = CnHolidayOf(lunar.month, lunar.day, date);
    SolarTermText = SolarTermOfDate(y, m, d);
}

} // namespace tevuna::calendar
