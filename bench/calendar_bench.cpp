// Engine figures: one conversion each way, one TChnCal::SetDate, and the texts of a month
// view (42 cells), each for a date of the official calendar (2024) and one of the historical
// calendars (800). Targets: a Gregorian-to-lunar conversion under 8 ns, SetDate under 100 ns,
// a month under 5 us.
#include "calendar/ChnCalendarUse.h"
#include "calendar/CnCalendar.h"

#include <benchmark/benchmark.h>

#ifdef TEVUNA_HAVE_ICU
#include <unicode/calendar.h>
#include <unicode/locid.h>
#include <unicode/timezone.h>

#include <memory>
#endif

namespace cal = tevuna::calendar;

namespace {

struct Ymd {
    int y, m, d;
};

// Arg 0: 2024-06-15; arg 1: 0800-06-15.
Ymd dateOf(const benchmark::State &state)
{
    return state.range(0) == 0 ? Ymd{2024, 6, 15} : Ymd{800, 6, 15};
}

void BM_GregorianToLunar(benchmark::State &state)
{
    const Ymd g = dateOf(state);
    cal::LunarDate l;
    cal::GregorianToLunar(g.y, g.m, g.d, l); // the year's new year is cached after this
    for (auto _ : state) {
        benchmark::DoNotOptimize(cal::GregorianToLunar(g.y, g.m, g.d, l));
        benchmark::DoNotOptimize(l);
    }
}
BENCHMARK(BM_GregorianToLunar)->ArgName("year800")->Arg(0)->Arg(1);

void BM_LunarToGregorian(benchmark::State &state)
{
    const Ymd g = dateOf(state);
    cal::LunarDate l;
    cal::GregorianToLunar(g.y, g.m, g.d, l);
    for (auto _ : state) {
        int y = 0, m = 0, d = 0;
        benchmark::DoNotOptimize(cal::LunarToGregorian(l.year, l.month, l.day, l.leap, y, m, d));
        benchmark::DoNotOptimize(y);
    }
}
BENCHMARK(BM_LunarToGregorian)->ArgName("year800")->Arg(0)->Arg(1);

void BM_SetDate(benchmark::State &state)
{
    const Ymd g = dateOf(state);
    cal::TDateTime t = 0;
    cal::encodeDate(g.y, g.m, g.d, t);
    cal::TChnCal c;
    c.SetDate(t);
    for (auto _ : state) {
        c.SetDate(t);
        benchmark::DoNotOptimize(c.CnDayText.data());
    }
}
BENCHMARK(BM_SetDate)->ArgName("year800")->Arg(0)->Arg(1);

#ifdef TEVUNA_HAVE_ICU
// The same conversion by ICU's Chinese calendar, for the ratio: set the day, read the lunar
// year, month, leap flag and day.
void BM_GregorianToLunarIcu(benchmark::State &state)
{
    const Ymd g = dateOf(state);
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::Calendar> chinese(
        icu::Calendar::createInstance(icu::TimeZone::createTimeZone("Asia/Shanghai"),
                                      icu::Locale("zh_CN@calendar=chinese"), status));
    if (U_FAILURE(status)) {
        state.SkipWithError("no ICU Chinese calendar");
        return;
    }
    // Midday of the day in UTC+8; ICU's Gregorian calendar is Julian before 1582-10-15 too.
    const double millis = (cal::DayNumber(g.y, g.m, g.d) - 719163.0) * 86400000.0 + 4 * 3600000.0;
    for (auto _ : state) {
        chinese->setTime(millis, status);
        benchmark::DoNotOptimize(chinese->get(UCAL_EXTENDED_YEAR, status));
        benchmark::DoNotOptimize(chinese->get(UCAL_MONTH, status));
        benchmark::DoNotOptimize(chinese->get(UCAL_IS_LEAP_MONTH, status));
        benchmark::DoNotOptimize(chinese->get(UCAL_DATE, status));
    }
}
BENCHMARK(BM_GregorianToLunarIcu)
    ->ArgName("year800")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMicrosecond);
#endif

// What the calendar control does for a month: set the object to each of the 42 cells' days
// (the shown month and its neighbours) and copy every text it shows.
void BM_MonthView42Days(benchmark::State &state)
{
    const Ymd g = dateOf(state);
    cal::TDateTime first = 0;
    cal::encodeDate(g.y, g.m, 1, first);
    cal::TChnCal c;
    std::string texts[42][6];
    for (auto _ : state) {
        for (int i = 0; i < 42; ++i) {
            c.SetDate(first - 3 + i);
            std::string *cell = texts[i];
            cell[0] = c.CnMonthText;
            cell[1] = c.CnDayText;
            cell[2] = c.HolidayText;
            cell[3] = c.SolarTermText;
            cell[4] = c.CnHolidayText;
            cell[5] = c.ConstellationText;
        }
        benchmark::DoNotOptimize(texts);
    }
}
BENCHMARK(BM_MonthView42Days)->ArgName("year800")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

} // namespace
