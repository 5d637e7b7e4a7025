// tevuna-lunar FROM [TO]: prints the calendar engine's texts for every date of a range, one
// tab-separated line per date under a header line. Dates are YYYY-MM-DD (years -849..2100,
// no year 0), labelled as the calendar control labels them.
#include "calendar/ChnCalendarUse.h"

#include <cstdio>
#include <string>
#include <string_view>

namespace {

using tevuna::calendar::TDateTime;

// Longer ranges are surely a typing slip; 1901-2100 (73 049 days) still fits.
constexpr int kMaxRangeDays = 100000;
constexpr int kMinYear = -849;
constexpr int kMaxYear = 2100;

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

// "YYYY-MM-DD" or "-YYYY-MM-DD" with a year in -849..-1 or 1..2100 and a date that exists.
bool parseDate(std::string_view s, TDateTime &out)
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
    if (y < kMinYear || y > kMaxYear || y == 0)
        return false;
    return tevuna::calendar::encodeDate(y, m, d, out);
}

std::string orDash(const std::string &s)
{
    return s.empty() ? "-" : s;
}

std::string dateText(TDateTime t)
{
    int y = 0, m = 0, d = 0;
    tevuna::calendar::decodeDate(t, y, m, d);
    char buf[24];
    std::snprintf(buf, sizeof buf, "%s%04d-%02d-%02d", y < 0 ? "-" : "", y < 0 ? -y : y, m, d);
    return buf;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 2 || argc > 3)
        return fail("usage: tevuna-lunar FROM [TO] (dates YYYY-MM-DD, years -849..2100)");
    TDateTime from = 0, to = 0;
    if (!parseDate(argv[1], from))
        return fail(std::string("not a date of the years -849..2100: ") + argv[1]);
    to = from;
    if (argc == 3 && !parseDate(argv[2], to))
        return fail(std::string("not a date of the years -849..2100: ") + argv[2]);
    if (to < from)
        return fail("the range ends before it starts");
    if (to - from >= kMaxRangeDays)
        return fail("the range is longer than " + std::to_string(kMaxRangeDays) + " days");

    std::string out = "date\tlunar_year\tlunar_month\tleap\tlunar_day\tmonth_name\tday_name\t"
                      "year_gz\tmonth_gz\tday_gz\tanimal\tterm\tconstellation\tfestivals\tera\n";
    tevuna::calendar::TChnCal cal;
    for (TDateTime t = from; t <= to; t += 1) {
        cal.SetDate(t);
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
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
}
