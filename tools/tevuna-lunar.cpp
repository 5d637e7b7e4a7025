// tevuna-lunar FROM [TO]: prints the calendar engine's texts for every date of a range, one
// tab-separated line per date under a header line. Dates are YYYY-MM-DD (years -849..2100,
// no year 0), Julian before 1582-10-15 as the engine reads them and as the calendar control
// labels them.
#include "calendar/ChnCalendarUse.h"
#include "calendar/CnCalendar.h"

#include <cstdio>
#include <string>
#include <string_view>

namespace {

namespace cal = tevuna::calendar;

// Longer ranges are surely a typing slip; 1901-2100 (73 049 days) still fits.
constexpr int kMaxRangeDays = 100000;

struct Date {
    int y = 0;
    int m = 0;
    int d = 0;
};

int fail(const std::string &message)
{
    std::fprintf(stderr, "tevuna-lunar: %s\n", message.c_str());
    return 2;
}

bool parseNumber(std::string_view s, int &value)
{
    if (s.empty())
        return false;
    value = 0;
    for (const char c : s) {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + (c - '0');
    }
    return true;
}

// "YYYY-MM-DD" or "-YYYY-MM-DD" with a year in -849..-1 or 1..2100 and a day the month has
// (29 February 1500 is a Julian leap day). The ten days dropped in October 1582 are checked
// by the caller, which names them in its message.
bool parseDate(std::string_view s, Date &out)
{
    bool negative = false;
    if (!s.empty() && s.front() == '-') {
        negative = true;
        s.remove_prefix(1);
    }
    if (s.size() != 10 || s[4] != '-' || s[7] != '-')
        return false;
    int y = 0, m = 0, d = 0;
    if (!parseNumber(s.substr(0, 4), y) || !parseNumber(s.substr(5, 2), m) ||
        !parseNumber(s.substr(8, 2), d))
        return false;
    if (negative)
        y = -y;
    if (y < cal::kMinYear || y > cal::kMaxYear || y == 0)
        return false;
    if (d < 1 || d > cal::DaysInMonthEx(y, m))
        return false;
    out = {y, m, d};
    return true;
}

// The next real day: 4 October 1582 is followed by the 15th, 1 BC by AD 1.
Date nextDay(Date t)
{
    if (t.y == 1582 && t.m == 10 && t.d == 4)
        return {1582, 10, 15};
    if (++t.d <= cal::DaysInMonthEx(t.y, t.m))
        return t;
    t.d = 1;
    if (++t.m <= 12)
        return t;
    t.m = 1;
    t.y = t.y == -1 ? 1 : t.y + 1;
    return t;
}

// TChnCal names a TDateTime's day as the engine does (Julian before 1582-10-15).
void setDate(cal::TChnCal &c, const Date &t)
{
    cal::TDateTime value = 0;
    if (cal::encodeDate(t.y, t.m, t.d, value))
        c.SetDate(value);
}

std::string orDash(const std::string &s)
{
    return s.empty() ? "-" : s;
}

std::string dateText(const Date &t)
{
    char buf[24];
    std::snprintf(buf, sizeof buf, "%s%04d-%02d-%02d", t.y < 0 ? "-" : "", t.y < 0 ? -t.y : t.y,
                  t.m, t.d);
    return buf;
}

// The date of an argument, or the exit status of its refusal.
int argumentDate(const char *arg, Date &out)
{
    if (!parseDate(arg, out))
        return fail(std::string("not a date of the years -849..2100: ") + arg);
    if (cal::CalendarKindOf(out.y, out.m, out.d) == 0)
        return fail(std::string("1582-10-05..1582-10-14 do not exist (4 October was followed by "
                                "the 15th): ") +
                    arg);
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 2 || argc > 3)
        return fail("usage: tevuna-lunar FROM [TO] (dates YYYY-MM-DD, years -849..2100)");
    Date from, to;
    if (const int status = argumentDate(argv[1], from))
        return status;
    to = from;
    if (argc == 3) {
        if (const int status = argumentDate(argv[2], to))
            return status;
    }
    if (cal::CompareDates(from.y, from.m, from.d, to.y, to.m, to.d) > 0)
        return fail("the range ends before it starts");
    if (cal::DayNumber(to.y, to.m, to.d) - cal::DayNumber(from.y, from.m, from.d) >= kMaxRangeDays)
        return fail("the range is longer than " + std::to_string(kMaxRangeDays) + " days");

    std::string out = "date\tlunar_year\tlunar_month\tleap\tlunar_day\tmonth_name\tday_name\t"
                      "year_gz\tmonth_gz\tday_gz\tanimal\tterm\tconstellation\tfestivals\tera\n";
    cal::TChnCal cal;
    for (Date t = from;; t = nextDay(t)) {
        setDate(cal, t);
        std::string festivals = cal.HolidayText;
        if (!cal.CnHolidayText.empty())
            festivals += (festivals.empty() ? "" : ";") + cal.CnHolidayText;
        out += dateText(t);
        for (const std::string &field :
             {std::to_string(cal.LunarYear), std::to_string(cal.LunarMonth),
              std::string(cal.leapMonth ? "1" : "0"),
              cal.lunarDay > 0 ? std::to_string(cal.lunarDay) : std::string("-"),
              orDash(cal.CnMonthText), orDash(cal.CnDayText), orDash(cal.YearGanZhiText),
              orDash(cal.MonthGanZhiText), orDash(cal.DayGanZhiText), orDash(cal.AnimalText),
              orDash(cal.SolarTermText), orDash(cal.ConstellationText), orDash(festivals),
              orDash(cal.EraText)}) {
            out += '\t';
            out += field;
        }
        out += '\n';
        if (out.size() > (1 << 16)) {
            std::fwrite(out.data(), 1, out.size(), stdout);
            out.clear();
        }
        if (t.y == to.y && t.m == to.m && t.d == to.d)
            break;
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
}
