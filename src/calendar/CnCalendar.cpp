#include "calendar/CnCalendar.h"

#include "calendar/CnCalendarData.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <climits>
#include <cmath>
#include <cstdint>
#include <string_view>
#include <vector>

namespace tevuna::calendar {

namespace {

// --- constants ---------------------------------------------------------------------------

// Day number of 1582-10-04, the last Julian day; 1582-10-15 follows it.
constexpr int kLastJulianDay = 577735;
// Julian dates count two days behind the Gregorian count at its origin: the Julian
// 0001-01-01 is day -1 of the proleptic Gregorian count.
constexpr int kJulianShift = 2;
// Minus the day number of -849-01-21 (Julian), the start of the lunation count.
constexpr int kLunationEpoch = 310443;
// Mean synodic month in days, as the month count uses it.
constexpr double kSynodicMonth = 29.530588;
constexpr double kPi = 3.14159265358979323846;
// Degrees per radian.
constexpr double kDegPerRad = 57.29577951308232;
// Bound on the periodic terms of the new-moon series over the engine's years (the largest
// is 0.1734 + 0.0004 * |T| + 0.4068 + 0.0411 < 0.64 days): lets the search start near the
// right lunation instead of evaluating all fifteen.
constexpr double kNewMoonPeriodicBound = 0.7;
// The new-year search fails for no year after 1582 but for many before: this marks a cached
// failure (a valid entry is never 0, so 0 means not yet computed).
constexpr std::int32_t kCachedFailure = INT32_MIN;

// Leap-month table: one character per year from -849 to 2100 (a slot for year 0).
constexpr std::string_view kLeapTable =
    // clang-format off
    "0c0080050010a0070030c0080050010a0070030c0080050020a0070030c0080050020a0070030c0090050020a0070030c009" // -849
    "0050020a0060030c0060030c00900600c0c0060c00c00c00c0c000600c0c0006090303030006000c00c060c0006c00000c0c" // -749
    "0c0060003030006c00009009c0090c00c009000300030906030030c0c00060c00090c0060600c0030060c00c003006009060" // -649
    "030c0060060c0090900c00090c0090c00c006030006060003030c0c00030c0060030c0090060030c0090300c0080050020a0" // -549
    "060030c0080050020b0070030c0090050010a0070030b0090060020a0070040c0080050020a0060030c0080050020b007003" // -449
    "0c0090050010a0070030b0090060020a0070040c0080050020a0060030c0080050020b0070030c0090050000c00900909009" // -349
    "0090900900900909009009090090090090900900909009009009090090090900900900909009009090090090900900900909" // -249
    "00900909009009009090090090900900900909009009090060030c0090050010a0070030b008005001090070040c00800500" // -149
    "20a0060030c0090040010a0060030c0090050010a0070030b0080050010a008005001090050020a0060030c0080040010a00" // -49
    "60030c0090050010a0070030b0080050010a0070030b008005001090070040c0080050020a0060030c0080040010a0060030" // 51
    "c0090050010a0070030b008005001090070040c0080050020a0060030c0080040010a0060030c0090050010a0060030c0090" // 151
    "050010a0070030b008005001090070040c0080050020a0060030c0080040010a0070030b0080050010a0070040c008005002" // 251
    "0a0060030c0080040010a0070030c0090050010a0070030b0080050020a0060030c0080040010a0060030c0090050050020a" // 351
    "0060030c0090050010b0070030c0090050010a0070040c0080040020a0060030c0080050020a0060030c0090050010a00700" // 451
    "30b0080040020a0060040c0090050020b0070030c00a0050010a0070030b0090050020a0070030c0080040020a0060030c00" // 551
    "90050010a0070030c0090050030b007005001090050020a007004001090060020c0070050c0090060030b0080040020a0060" // 651
    "030b0080040010a0060030b0080050010a0050040c0080050010a0060030c0080050010b0070030c007005001090070030b0" // 751
    "070040020a0060030c0080040020a0070030b0090050010a0060040c0080050020a0060040c0080050010b0070030c007005" // 851
    "001090070030c0080050020a0070030c0090050020a0070030c0090050020a0060040c0090050020a0060040c0090050010b" // 951
    "0070030c0080050030b007004001090060020c008004002090060020a008004001090050030b0080040020a0060040b00800" // 1051
    "40c00a0060020b007005001090060030b0070050020a0060020c008004002090070030c008005002090070040c0080040020" // 1151
    "a0060040b0090050010a0060030b0080050020a0060040c0080050010b00700300108005001090070030c0080050020a0070" // 1251
    "03001090050030a0070030b0090050020a0060040c0090050030b0070040c0090050010c0070040c0080060020b00700400a" // 1351
    "090060020b007003002090060020a005004001090050030b007004001090050040c0080040c00a0060020c00700500109006" // 1451
    "0030b0070050020a0060020c008004002090060030b008004002090060030b0080040020a0060040b0080040010b0060030b" // 1551
    "0070050010a00600400207005003080060040030700500307006004003070050030800600400307005004090060040030700" // 1651
    "500409006005002070050030a006005003070050040020600400206005003002060040030700500409006004003070050040" // 1751
    "8007005003080050040a00600500307005004002060050030800500400206005002070050040020600500307006004002070" // 1851
    "050030800600400307005004080060040a006005003080050040020700500409006004002060050030b00600500207005003" // 1951
    "08006004003070050040800600400307005004080060040020" // 2051
    // clang-format on
    ;
static_assert(kLeapTable.size() == kMaxYear - kMinYear + 1);

constexpr std::array<std::string_view, 10> kStems = {"甲", "乙", "丙", "丁", "戊",
                                                     "己", "庚", "辛", "壬", "癸"};
constexpr std::array<std::string_view, 12> kBranches = {"子", "丑", "寅", "卯", "辰", "巳",
                                                        "午", "未", "申", "酉", "戌", "亥"};
constexpr std::array<std::string_view, 12> kAnimals = {"鼠", "牛", "虎", "兔", "龙", "蛇",
                                                       "马", "羊", "猴", "鸡", "狗", "猪"};
constexpr std::array<std::string_view, 24> kTermNames = {
    "立春", "雨水", "惊蛰", "春分", "清明", "谷雨", "立夏", "小满", "芒种", "夏至", "小暑", "大暑",
    "立秋", "处暑", "白露", "秋分", "寒露", "霜降", "立冬", "小雪", "大雪", "冬至", "小寒", "大寒"};
constexpr std::array<std::string_view, 12> kConstellations = {
    "白羊", "金牛", "双子", "巨蟹", "狮子", "处女", "天秤", "天蝎", "射手", "摩羯", "宝瓶", "双鱼"};
// First day (month * 100 + day) of 宝瓶, 双鱼, 白羊, ... 摩羯.
constexpr std::array<int, 12> kConstellationStarts = {120, 219, 321, 421,  521,  622,
                                                      723, 823, 923, 1023, 1123, 1222};
constexpr std::array<std::string_view, 9> kDigits = {"一", "二", "三", "四", "五",
                                                     "六", "七", "八", "九"};
constexpr std::array<std::string_view, 3> kTensPrefix = {"初", "十", "廿"};

// The 60 stem-branch names, each two three-byte characters.
constexpr auto kGanZhi = [] {
    std::array<std::array<char, 6>, 60> names{};
    for (std::size_t i = 0; i < 60; ++i) {
        const std::string_view s = kStems[i % 10];
        const std::string_view b = kBranches[i % 12];
        for (std::size_t j = 0; j < 3; ++j) {
            names[i][j] = s[j];
            names[i][j + 3] = b[j];
        }
    }
    return names;
}();

// Leap-month count per year -849..2100 (year 0 holds the value of -1).
constexpr auto kLeapCounts = [] {
    std::array<std::int16_t, kMaxYear - kMinYear + 1> counts{};
    int count = 0;
    for (int y = kMinYear; y <= kMaxYear; ++y) {
        const std::size_t i = static_cast<std::size_t>(y - kMinYear);
        if (y == 0) {
            counts[i] = static_cast<std::int16_t>(count);
            continue;
        }
        if (kLeapTable[i] != '0')
            ++count;
        counts[i] = static_cast<std::int16_t>(count + (y >= 1200 && y <= 1499 ? 1 : 0));
    }
    return counts;
}();

// --- small helpers -----------------------------------------------------------------------

constexpr int clampToInt(std::int64_t v)
{
    return v > INT_MAX ? INT_MAX : v < INT_MIN ? INT_MIN : static_cast<int>(v);
}

// Quotient rounded down, for negative dividends too.
constexpr std::int64_t floorDiv(std::int64_t a, std::int64_t n)
{
    return a / n - ((a % n != 0 && (a < 0) != (n < 0)) ? 1 : 0);
}

// 1 BC is year 0, 2 BC year -1: the numbering in which the leap-year rules stay regular.
constexpr int astronomicalYear(int y)
{
    return y < 0 ? y + 1 : y;
}

// One comparable number per calendar date, months and days kept within their fields.
constexpr std::int64_t packedKey(int y, int m, int d)
{
    return (static_cast<std::int64_t>(y) * 16 + std::clamp(m, 0, 15)) * 64 + std::clamp(d, -1, 62);
}

constexpr std::array<int, 12> kMonthDays = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
// Days of the months before month m + 1 in a common year, m = 0..12.
constexpr std::array<int, 13> kDaysBeforeMonth = {0,   31,  59,  90,  120, 151, 181,
                                                  212, 243, 273, 304, 334, 365};

// Set bits of x, without the library call that std::popcount becomes where the processor
// baseline has no popcount instruction.
constexpr int bitCount(std::uint64_t x)
{
    x = x - ((x >> 1) & 0x5555555555555555ull);
    x = (x & 0x3333333333333333ull) + ((x >> 2) & 0x3333333333333333ull);
    x = (x + (x >> 4)) & 0x0F0F0F0F0F0F0F0Full;
    return static_cast<int>((x * 0x0101010101010101ull) >> 56);
}

// Remainder made non-negative.
constexpr int floorMod(std::int64_t a, int n)
{
    const std::int64_t r = a % n;
    return static_cast<int>(r < 0 ? r + n : r);
}

bool gregorianLeap(std::int64_t y)
{
    return y % 4 == 0 && (y % 100 != 0 || y % 400 == 0);
}

bool validDate(int y, int m, int d)
{
    return m >= 1 && m <= 12 && d >= 1 && d <= DaysInMonthEx(y, m);
}

std::string text(std::string_view s)
{
    return std::string(s);
}

// --- the calendar tables ----------------------------------------------------------------

// Day number of 01-01 of year y, as DayNumber(y, 1, 1) without its checks.
constexpr int januaryFirstOf(int y)
{
    const std::int64_t e = static_cast<std::int64_t>(astronomicalYear(y)) - 1;
    if (y <= 1582) // e >> 2 rounds down, as the Julian count needs below year 1 too
        return static_cast<int>(1 + 365 * e + (e >> 2) - kJulianShift);
    return static_cast<int>(1 + 365 * e + e / 4 - e / 100 + e / 400);
}

// januaryFirst of kMinYear..kMaxYear + 1 at compile time, for the conversion every drawn cell
// makes; the slot of the year 0 that does not exist holds year 1, so that a year's length is
// always the difference to the next slot.
constexpr auto kJanuaryFirsts = [] {
    std::array<int, kMaxYear - kMinYear + 2> days{};
    for (int y = kMinYear; y <= kMaxYear + 1; ++y)
        days[static_cast<std::size_t>(y - kMinYear)] = januaryFirstOf(y == 0 ? 1 : y);
    return days;
}();

int januaryFirst(int y)
{
    return y >= kMinYear && y <= kMaxYear + 1
               ? kJanuaryFirsts[static_cast<std::size_t>(y - kMinYear)]
               : januaryFirstOf(y);
}

// The year before y in a count without a year 0.
int previousYear(int y)
{
    return y == 1 ? -1 : y == INT_MIN ? y : y - 1;
}

int nextYear(int y)
{
    return y == -1 ? 1 : y + 1;
}

// Index of a year in tables that start at first and skip year 0.
std::size_t yearIndex(int year, int first)
{
    return static_cast<std::size_t>(year - first - (year > 0 && first < 0 ? 1 : 0));
}

struct TableYear {
    int newYear;        // day number of the first day of the year's first month
    int count;          // months
    int leap;           // month the leap month follows, 0: none (regular years)
    std::uint32_t bits; // 30-day months, in order (regular years)
    const data::IrregularYear *irregular;
};

// The lunar year lunarYear, -850..2100.
TableYear tableYear(int lunarYear)
{
    const std::uint32_t w = data::kLunarYears[yearIndex(lunarYear, data::kLunarFirstYear)];
    if (w & data::kIrregularFlag) {
        const data::IrregularYear &r = data::kIrregularYears[w & 0xFF];
        return {r.firstDay, r.count, 0, 0, &r};
    }
    const int leap = static_cast<int>((w >> 13) & 0xF);
    return {januaryFirst(lunarYear) + static_cast<int>((w >> 17) & 0x7F) - data::kNewYearBias,
            leap ? 13 : 12, leap, w & 0x1FFF, nullptr};
}

// Days of the first i months of the year.
int daysBefore(const TableYear &t, int i)
{
    if (t.irregular) {
        int n = 0;
        for (int k = 0; k < i; ++k)
            n += t.irregular->days[static_cast<std::size_t>(k)];
        return n;
    }
    return 29 * i + bitCount(t.bits & ((1u << i) - 1));
}

int monthLength(const TableYear &t, int i)
{
    return t.irregular ? t.irregular->days[static_cast<std::size_t>(i)]
                       : 29 + static_cast<int>((t.bits >> i) & 1);
}

// Month number and leap flag of the (i+1)-th month of the year.
void monthLabel(const TableYear &t, int i, int &month, bool &leap)
{
    if (t.irregular) {
        const std::uint8_t label = t.irregular->labels[static_cast<std::size_t>(i)];
        month = label & 0xF;
        leap = (label & data::kLeapLabel) != 0;
        return;
    }
    leap = t.leap && i == t.leap;
    month = t.leap && i >= t.leap ? i : i + 1;
}

// Every lunar month of the tables in order: its first day and its name, and one entry more
// for the day after the last. Built once from the year words, so a day finds its month by
// one estimate and a step at most, not by a walk.
struct MonthEntry {
    int firstDay;
    std::int16_t lunarYear;
    std::uint8_t month; // 1..12, plus data::kLeapLabel for a leap month
};

// Kept out of line: inlined, its loops would weigh on every conversion's entry.
#if defined(__GNUC__)
__attribute__((noinline, cold))
#endif
std::vector<MonthEntry>
buildMonthIndex()
{
    std::vector<MonthEntry> ix;
    for (int y = data::kLunarFirstYear; y <= kMaxYear; y = nextYear(y)) {
        const TableYear t = tableYear(y);
        for (int i = 0; i < t.count; ++i) {
            int month = 0;
            bool leap = false;
            monthLabel(t, i, month, leap);
            ix.push_back({t.newYear + daysBefore(t, i), static_cast<std::int16_t>(y),
                          static_cast<std::uint8_t>(month | (leap ? data::kLeapLabel : 0))});
        }
        if (y == kMaxYear)
            ix.push_back({t.newYear + daysBefore(t, t.count), 0, 0});
    }
    return ix;
}

const std::vector<MonthEntry> &monthIndex()
{
    static const std::vector<MonthEntry> index = buildMonthIndex();
    return index;
}

// Lunar date of day number dn, for every day of the engine's years. Written field by field
// into out: a whole struct built first and copied costs a stalled load here.
void tableLunarDate(int dn, LunarDate &out)
{
    const std::vector<MonthEntry> &ix = monthIndex();
    const MonthEntry *months = ix.data();
    const std::int64_t last = static_cast<std::int64_t>(ix.size()) - 2; // the last real month
    // Days over the mean month as a multiply and a shift: 2^22 / 29.5306 = 142033.
    std::int64_t k = std::clamp<std::int64_t>(
        ((static_cast<std::int64_t>(dn) - months[0].firstDay) * 142033) >> 22, 0, last);
    while (k < last && months[k + 1].firstDay <= dn)
        ++k;
    while (k > 0 && months[k].firstDay > dn)
        --k;
    const MonthEntry &e = months[k];
    out.year = e.lunarYear;
    out.month = e.month & 0xF;
    out.day = dn - e.firstDay + 1;
    out.leap = (e.month & data::kLeapLabel) != 0;
}

// Day number of a lunar date by the tables, or kNoDay when the date does not exist (day
// numbers run through 0 and below).
constexpr int kNoDay = INT_MIN;
int tableDayNumber(int lunarYear, int month, int day, bool leap)
{
    if (lunarYear < data::kLunarFirstYear || lunarYear > kMaxYear || lunarYear == 0 || month < 1 ||
        month > 12 || day < 1 || day > 30)
        return kNoDay;
    const TableYear t = tableYear(lunarYear);
    int index = -1;
    for (int i = 0; i < t.count && index < 0; ++i) {
        int m = 0;
        bool l = false;
        monthLabel(t, i, m, l);
        if (m == month && l == leap)
            index = i;
    }
    if (index < 0 || day > monthLength(t, index))
        return kNoDay;
    return t.newYear + daysBefore(t, index) + day - 1;
}

// The terms of year y: 小寒 from its day of the year, the others by the days between terms,
// two bits each above 14, unpacked once for the several lookups a date makes.
struct YearTerms {
    explicit YearTerms(int y)
    {
        const std::uint64_t word = data::kTermYears[yearIndex(y, data::kTermFirstYear)];
        xiaohan = januaryFirst(y) - 1 + static_cast<int>(word & 0x1F) - data::kTermStartBias;
        days[0] = xiaohan;
        std::uint64_t steps = word >> 5;
        for (std::size_t k = 1; k < days.size(); ++k, steps >>= 2)
            days[k] = days[k - 1] + 14 + static_cast<int>(steps & 3);
    }
    // Day number of term 1..24 (1 小寒).
    int day(int term) const { return days[static_cast<std::size_t>(term - 1)]; }
    int xiaohan;
    std::array<int, 24> days;
};

int termDayNumber(int y, int term)
{
    return YearTerms(y).day(term);
}

bool inEngineYears(int y)
{
    return y >= kMinYear && y <= kMaxYear && y != 0;
}

// Cycle index of the solar month of day dn of year y (month m), months beginning on the days
// of the 节 terms.
int monthCycleOf(int y, int m, int dn, const YearTerms &terms)
{
    int cycleYear = y;
    int solarMonth = 0;
    if (dn < terms.day(3)) {
        cycleYear = previousYear(y);
        solarMonth = dn < terms.day(1) ? 11 : 12;
    } else if (m == 12 && y < kMaxYear && dn >= YearTerms(nextYear(y)).day(1)) {
        solarMonth = 12; // the next year's 小寒 fell in December
    } else {
        // Term 2i + 1 opens solar month i, about 30.4 days apart: estimate, then step.
        const std::int64_t since = static_cast<std::int64_t>(dn) - terms.day(3);
        solarMonth = static_cast<int>(std::clamp<std::int64_t>(since * 10 / 304 + 1, 1, 11));
        while (solarMonth < 11 && dn >= terms.day(2 * solarMonth + 3))
            ++solarMonth;
        while (solarMonth > 1 && dn < terms.day(2 * solarMonth + 1))
            --solarMonth;
    }
    // Stem of solar month 1 (寅) follows the stem of the year: 甲己 丙, 乙庚 戊, ...
    const int firstStem = (YearGanZhi(cycleYear) % 5) * 2 + 2;
    const int stem = (firstStem + (solarMonth - 1) % 10) % 10;
    const int branch = (solarMonth + 1) % 12;
    return GanZhiOf(stem, branch);
}

// Name index (SolarTermName) of the term on day dn of year y (month m), or -1.
int termOn(int y, int m, int dn, const YearTerms &terms)
{
    // Terms lie 14 to 16 days apart: the one at or before the date is near this estimate.
    const int estimate = std::clamp((dn - terms.xiaohan) * 2 / 31, 0, 23);
    for (int b = std::max(estimate - 1, 0); b <= std::min(estimate + 1, 23); ++b)
        if (terms.day(b + 1) == dn)
            return (b + 22) % 24;
    // Late December may hold the next year's 小寒.
    if (m == 12 && y < kMaxYear && YearTerms(nextYear(y)).day(1) == dn)
        return 22;
    return -1;
}

// Day of the year as DayOfYearEx counts it (1582 keeps its missing ten) of day number dn.
int nominalDayOfYear(int y, int dn)
{
    const int n = dn - januaryFirst(y) + 1;
    return y == 1582 && dn > kLastJulianDay ? n + 10 : n;
}

// --- the new-moon series ------------------------------------------------------------------

double frac(double x)
{
    return x - std::floor(x);
}

// Series lunar day of day number dn in calendar year y (before the correction windows).
int seriesLunarDay(int y, int dn)
{
    const double T = (static_cast<double>(y) - 1899.5) / 100;
    const double k = std::floor((static_cast<double>(y) - 1900) * 12.3685);
    const double T2 = T * T;
    const double T3 = T2 * T;
    const double A0 = 2 * kPi * frac(0.08084821133 * k) +
                      (359.2242 - 0.0000333 * T2 - 0.00000347 * T3) / kDegPerRad;
    const double B0 = 2 * kPi * frac(0.07171366128 * k) +
                      (306.0253 + 0.0107306 * T2 + 0.00001236 * T3) / kDegPerRad;
    const double F0 = 2 * kPi * frac(0.08519585128 * k) +
                      (21.2964 - 0.0016528 * T2 - 0.00000239 * T3) / kDegPerRad;
    const auto newMoon = [&](int v) {
        const double A = A0 + 0.507984293 * v;
        const double B = B0 + 6.73377553 * v;
        const double F = F0 + 6.818486628 * v;
        return 693595 + 29 * k + 28 * v + 0.53058868 * k + 1.53058868 * v + 0.75933 -
               0.0002172 * T2 - 0.000000155 * T3 - 0.000837 * T + 8.0 / 24 + 0.5 +
               (0.1734 - 0.000393 * T) * std::sin(A) - 0.4068 * std::sin(B) +
               0.0021 * std::sin(2 * A) + 0.0161 * std::sin(2 * B) + 0.0104 * std::sin(2 * F) -
               0.0074 * std::sin(A - B) - 0.0051 * std::sin(A + B);
    };
    // The lunar day counts from the latest of the new moons v = -1..13 on or before the day.
    // The moons follow each other by more than 28 days, so going down from the last one that
    // can lie on or before the day, the first that does is the latest, and once one lies more
    // than 29 days back every earlier one does too.
    const double meanStep = 28 + 1.53058868;
    const double meanFirst = 693595 + 29 * k + 0.53058868 * k + 0.75933 - 0.0002172 * T2 -
                             0.000000155 * T3 - 0.000837 * T + 8.0 / 24 + 0.5;
    const double reach =
        (static_cast<double>(dn) + 1 + kNewMoonPeriodicBound - meanFirst) / meanStep;
    int v = reach >= 13 ? 13 : reach < -1 ? -1 : static_cast<int>(std::floor(reach));
    for (; v >= -1; --v) {
        const double nm = std::floor(newMoon(v));
        const double lag = dn - nm;
        if (lag < 0)
            continue;
        return lag <= 29 ? static_cast<int>(lag) + 1 : -1;
    }
    return -1;
}

struct Window {
    int year, fromMonthDay, toMonthDay, shift;
};
// Corrections the series has always carried (all inside the table years, so they only
// matter to the series functions themselves).
constexpr std::array<Window, 3> kWindows = {
    {{1924, 305, 403, 1}, {2018, 1107, 1206, -1}, {2025, 407, 526, 1}}};

int seriesLunarDayOf(int y, int m, int d)
{
    int day = seriesLunarDay(y, DayNumber(y, m, d));
    if (day < 1)
        return day;
    const std::int64_t md = static_cast<std::int64_t>(m) * 100 + d;
    for (const Window &w : kWindows) {
        if (y == w.year && md >= w.fromMonthDay && md <= w.toMonthDay) {
            day += w.shift;
            if (day == 31)
                day = 1;
            else if (day == 0)
                day = 30;
        }
    }
    return day;
}

int yearAdjustment(int y)
{
    if (y <= -722)
        return 1;
    if (y <= -256)
        return 0;
    if (y == -255)
        return -2;
    if (y <= 8)
        return -3;
    if (y <= 23)
        return -2;
    if (y <= 237)
        return -3;
    if (y <= 240)
        return -2;
    return -3;
}

int seriesLunarMonth(int y, int m, int d, int e)
{
    const double q = std::nearbyint((static_cast<double>(DayNumber(y, m, d)) + kLunationEpoch - e) /
                                    kSynodicMonth);
    const std::int64_t n = static_cast<std::int64_t>(q) - LeapMonthCount(y) + yearAdjustment(y);
    const int v = floorMod(n, 12) + 1;
    const int o = y > kMinYear ? series::LeapMonthOf(y - 1) : -1;
    const int w = series::LeapMonthOf(y);
    if (o == v && m == 1 && d < e)
        return -v;
    if (w == v)
        return (m >= 3 || w == 12) ? -v : v + 1;
    const int u = (w > v || (m < v && w > 0)) ? v + 1 : v;
    return (u - 1) % 12 + 1;
}

// 正月初一 of each year by the series search, cached: packed date, 0 unknown, or failure.
std::array<std::atomic<std::int32_t>, kMaxYear - kMinYear + 1> newYearCache{};

constexpr std::int32_t packDate(int y, int m, int d)
{
    return (y + 1000) * 512 + m * 32 + d;
}

bool seriesNewYear(int y, int &ny, int &nm, int &nd)
{
    std::atomic<std::int32_t> &slot = newYearCache[static_cast<std::size_t>(y - kMinYear)];
    std::int32_t packed = slot.load(std::memory_order_relaxed);
    if (packed == 0) {
        int gy = 0, gm = 0, gd = 0;
        packed = series::LunarToGregorian(y, 1, 1, false, gy, gm, gd) ? packDate(gy, gm, gd)
                                                                      : kCachedFailure;
        slot.store(packed, std::memory_order_relaxed);
    }
    if (packed == kCachedFailure)
        return false;
    ny = packed / 512 - 1000;
    nm = packed / 32 % 16;
    nd = packed % 32;
    return true;
}

double seriesTermMoment(int year, int term)
{
    const double y = year <= 0 ? year + 1 : year;
    const double t = y - 100;
    const double n = term;
    const double J =
        ((365.2423112 - 6.4e-14 * t * t) - 3.047e-8 * t) * y + 15.218427 * n + 1721050.71301;
    const double B = 0.0003 * y - 0.372781384 - 0.2617913325 * n;
    const double P =
        (1.945 * std::sin(B) - 0.01206 * std::sin(2 * B)) * (1.048994 - 0.00002583 * y);
    const double Q = -0.0018 * std::sin(2.313908653 * y - 0.439822951 - 3.0443 * n);
    return J + P + Q - DayNumber(year <= 0 ? year + 1 : year, 1, 0) - 1721425;
}

// Integer part of a day count, held within int for absurd years.
int floorToInt(double v)
{
    const double f = std::floor(v);
    return f >= INT_MAX ? INT_MAX : f <= INT_MIN ? INT_MIN : static_cast<int>(f);
}

} // namespace

// --- calendar dates -----------------------------------------------------------------------

int CalendarKindOf(int y, int m, int d)
{
    const std::int64_t key = packedKey(y, m, d);
    if (key < packedKey(1582, 10, 5))
        return 1;
    return key < packedKey(1582, 10, 15) ? 0 : 2;
}

bool IsLeapYearEx(int y)
{
    if (y >= 1583)
        return gregorianLeap(y);
    return astronomicalYear(y) % 4 == 0;
}

int DaysInMonthEx(int y, int m)
{
    if (m < 1 || m > 12)
        return 0;
    return kMonthDays[static_cast<std::size_t>(m - 1)] + (m == 2 && IsLeapYearEx(y) ? 1 : 0);
}

int DayOfYearEx(int y, int m, int d)
{
    // Months outside 1..12 add nothing below 1 and the whole year above 12.
    const int before = std::clamp(m, 1, 13) - 1;
    const bool leapDay = before >= 2 && IsLeapYearEx(y);
    return clampToInt(static_cast<std::int64_t>(d) +
                      kDaysBeforeMonth[static_cast<std::size_t>(before)] + (leapDay ? 1 : 0));
}

int DayNumber(int y, int m, int d)
{
    const int kind = CalendarKindOf(y, m, d);
    if (kind == 0)
        return 0;
    // 1582's days of the year run on through the ten days the reform left out.
    const std::int64_t n = static_cast<std::int64_t>(januaryFirst(y)) - 1 + DayOfYearEx(y, m, d) -
                           (y == 1582 && kind == 2 ? 10 : 0);
    return clampToInt(n);
}

bool DateOfDayNumber(int n, int &y, int &m, int &d)
{
    std::int64_t year = 1;
    std::int64_t rest = n; // 1-based day of the year once the year is found
    const int firstDay = kJanuaryFirsts.front(), endDay = kJanuaryFirsts.back();
    if (n >= firstDay && n < endDay) {
        // The engine's years from the table: estimate by the mean year (2^20 / 365.25 =
        // 2870.9), then step to the year whose 01-01 is the last at or before n.
        std::size_t i = static_cast<std::size_t>(
            std::min<std::int64_t>((static_cast<std::int64_t>(n - firstDay) * 2871) >> 20,
                                   static_cast<std::int64_t>(kJanuaryFirsts.size()) - 2));
        while (kJanuaryFirsts[i + 1] <= n)
            ++i;
        while (kJanuaryFirsts[i] > n)
            --i;
        year = kMinYear + static_cast<int>(i);
        rest = n - kJanuaryFirsts[i] + 1;
        if (year == 1582 && n > kLastJulianDay)
            rest += 10; // named past the ten days the reform left out
    } else if (n > kLastJulianDay) {
        // Gregorian, in closed form over 400-year eras of years that begin on 1 March, so the
        // leap day ends the year (day 0 of the count below is 0000-03-01).
        const std::int64_t z = static_cast<std::int64_t>(n) + 305;
        const std::int64_t era = z / 146097;
        const std::int64_t dayOfEra = z - era * 146097;
        const std::int64_t yearOfEra =
            (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
        const std::int64_t dayOfMarchYear =
            dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
        const std::int64_t mp = (5 * dayOfMarchYear + 2) / 153; // 0 is March
        const int dd = static_cast<int>(dayOfMarchYear - (153 * mp + 2) / 5 + 1);
        const int mm = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
        const std::int64_t yy = yearOfEra + era * 400 + (mm <= 2 ? 1 : 0);
        if (yy > INT_MAX)
            return false;
        y = static_cast<int>(yy);
        m = mm;
        d = dd;
        return true;
    } else {
        // Julian: four-year cycles of 1461 days from astronomical year 1, its fourth year leap.
        const std::int64_t t = static_cast<std::int64_t>(n) + kJulianShift - 1;
        const std::int64_t cycles = floorDiv(t, 1461);
        const std::int64_t r = t - cycles * 1461;
        const std::int64_t inCycle = std::min<std::int64_t>(r / 365, 3);
        const std::int64_t astronomical = 1 + 4 * cycles + inCycle;
        year = astronomical <= 0 ? astronomical - 1 : astronomical;
        rest = r - 365 * inCycle + 1;
    }
    if (year < kMinYear || year > INT_MAX)
        return false;
    const int yy = static_cast<int>(year);
    const int leap = IsLeapYearEx(yy) ? 1 : 0;
    // The month from a low estimate (months have at most 31 days), stepped on at most twice.
    int month = static_cast<int>(std::min<std::int64_t>((rest - 1) / 31 + 1, 12));
    auto before = [&](int mm) {
        return kDaysBeforeMonth[static_cast<std::size_t>(mm - 1)] + (mm > 2 ? leap : 0);
    };
    while (month < 12 && rest > before(month + 1))
        ++month;
    y = yy;
    m = month;
    d = static_cast<int>(rest - before(month));
    return true;
}

int CompareDates(int y1, int m1, int d1, int y2, int m2, int d2)
{
    if (y1 != y2)
        return y1 > y2 ? 1 : -1;
    if (m1 != m2)
        return m1 > m2 ? 1 : -1;
    if (d1 != d2)
        return d1 > d2 ? 1 : -1;
    return 0;
}

int CompareLunarDates(int year1, int month1, int day1, bool leap1, int year2, int month2, int day2,
                      bool leap2)
{
    if (year1 != year2)
        return year1 > year2 ? 1 : -1;
    if (month1 != month2)
        return month1 > month2 ? 1 : -1;
    if (leap1 != leap2)
        return leap1 ? 1 : -1;
    if (day1 != day2)
        return day1 > day2 ? 1 : -1;
    return 0;
}

// --- lunar dates --------------------------------------------------------------------------

int series::LeapMonthOf(int lunarYear)
{
    if (lunarYear < kMinYear || lunarYear > kMaxYear)
        return -1;
    const char c = kLeapTable[static_cast<std::size_t>(lunarYear - kMinYear)];
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'c')
        return c - 'a' + 10;
    return -1;
}

int LeapMonthOf(int lunarYear)
{
    if (lunarYear < kMinYear || lunarYear > kMaxYear || lunarYear == 0)
        return -1;
    const TableYear t = tableYear(lunarYear);
    if (!t.irregular)
        return t.leap;
    for (int i = 0; i < t.count; ++i) {
        int month = 0;
        bool leap = false;
        monthLabel(t, i, month, leap);
        if (leap)
            return month;
    }
    return 0;
}

int LeapMonthCount(int year)
{
    // Running count over the tables, built once.
    static const std::array<int, kMaxYear - kMinYear + 1> counts = [] {
        std::array<int, kMaxYear - kMinYear + 1> c{};
        int n = 0;
        for (int y = kMinYear; y <= kMaxYear; ++y) {
            if (y != 0 && LeapMonthOf(y) > 0)
                ++n;
            c[static_cast<std::size_t>(y - kMinYear)] = n;
        }
        return c;
    }();
    if (year < kMinYear)
        return 0;
    if (year > kMaxYear)
        year = kMaxYear;
    return counts[static_cast<std::size_t>(year - kMinYear)];
}

int series::LunarDayOf(int y, int m, int d)
{
    return seriesLunarDayOf(y, m, d);
}

int series::LunarMonthOf(int y, int m, int d)
{
    return seriesLunarMonth(y, m, d, seriesLunarDayOf(y, m, d));
}

bool series::GregorianToLunar(int y, int m, int d, LunarDate &out)
{
    if (y < kMinYear || y > kMaxYear)
        return false;
    const int day = seriesLunarDayOf(y, m, d);
    const int month = seriesLunarMonth(y, m, d, day);
    int year = y;
    int ny = 0, nm = 0, nd = 0;
    if (seriesNewYear(y, ny, nm, nd) && CompareDates(y, m, d, ny, nm, nd) < 0)
        year = y - 1;
    out = {year, month < 0 ? -month : month, day, month < 0};
    return true;
}

bool series::LunarToGregorian(int lunarYear, int lunarMonth, int lunarDay, bool leap, int &y,
                              int &m, int &d)
{
    // Every probe lies in lunarYear or the year after it; outside these bounds they all fail.
    if (lunarYear < kMinYear - 1 || lunarYear > kMaxYear)
        return false;
    if (leap) {
        const int l = series::LeapMonthOf(lunarYear);
        if ((l < 0 ? 0 : l) != lunarMonth)
            return false;
    }
    int lo = DayNumber(lunarYear, 1, 1);
    int hi = DayNumber(lunarYear + 1, 12, 31);
    int probeYear = lunarYear;
    int previousMonth = 0;
    enum class Step { None, Up, Down } last = Step::None;
    bool odd = false;
    for (int steps = 1; hi > lo; ++steps) {
        if (steps > 100)
            return false;
        const int mid = (lo + hi) / 2 + (odd ? 1 : 0);
        if (hi - lo == 1)
            odd = true;
        int py = 0, pm = 0, pd = 0;
        if (!DateOfDayNumber(mid, py, pm, pd) || py < kMinYear || py > kMaxYear)
            return false;
        const int day = seriesLunarDayOf(py, pm, pd);
        int month = seriesLunarMonth(py, pm, pd, day);
        const bool probeLeap = month < 0;
        month = probeLeap ? -month : month;
        if (last == Step::Up && month < previousMonth)
            ++probeYear;
        else if (last == Step::Down && month > previousMonth)
            --probeYear;
        const int c = CompareLunarDates(probeYear, month, day, probeLeap, lunarYear, lunarMonth,
                                        lunarDay, leap);
        if (c == 0) {
            y = py;
            m = pm;
            d = pd;
            return true;
        }
        if (c < 0) {
            lo = mid;
            last = Step::Up;
        } else {
            hi = mid;
            last = Step::Down;
        }
        previousMonth = month;
    }
    return false;
}

int LunarDayOf(int y, int m, int d)
{
    LunarDate l;
    return GregorianToLunar(y, m, d, l) ? l.day : -1;
}

int LunarMonthOf(int y, int m, int d)
{
    LunarDate l;
    if (!GregorianToLunar(y, m, d, l))
        return 0;
    return l.leap ? -l.month : l.month;
}

bool GregorianToLunar(int y, int m, int d, LunarDate &out)
{
    // The checks and the day count of DayNumber, folded into one pass: this runs for every
    // cell the calendar draws.
    if (y < kMinYear || y > kMaxYear || y == 0 || m < 1 || m > 12 || d < 1)
        return false;
    const auto month = static_cast<std::size_t>(m - 1);
    const auto year = static_cast<std::size_t>(y - kMinYear);
    const int janFirst = kJanuaryFirsts[year];
    // 1582, no leap year, is ten days short: its length says nothing of a leap day.
    const int leapDay = y == 1582 ? 0 : kJanuaryFirsts[year + 1] - janFirst - 365;
    if (d > kMonthDays[month] + (m == 2 ? leapDay : 0))
        return false;
    int shift = 0; // the ten days the reform left out
    if (y == 1582 && m == 10) {
        if (d >= 5 && d <= 14) {
            out = {y, 10, -1, false};
            return true;
        }
        shift = d >= 15 ? 10 : 0;
    } else if (y == 1582 && m > 10) {
        shift = 10;
    }
    const int dn = janFirst - 1 + kDaysBeforeMonth[month] + (m > 2 ? leapDay : 0) + d - shift;
    tableLunarDate(dn, out);
    return true;
}

bool LunarToGregorian(int lunarYear, int lunarMonth, int lunarDay, bool leap, int &y, int &m,
                      int &d)
{
    const int dn = tableDayNumber(lunarYear, lunarMonth, lunarDay, leap);
    int gy = 0, gm = 0, gd = 0;
    if (dn == kNoDay || !DateOfDayNumber(dn, gy, gm, gd) || gy < kMinYear || gy > kMaxYear)
        return false;
    y = gy;
    m = gm;
    d = gd;
    return true;
}

std::string LunarDayName(int day)
{
    if (day < 1 || day > 30)
        return {};
    // Two characters of three bytes each, composed once at compile time.
    static constexpr auto kNames = [] {
        std::array<std::array<char, 6>, 30> names{};
        for (int n = 1; n <= 30; ++n) {
            const int t = n / 10, u = n % 10;
            const std::string_view first = u == 0 ? (n == 10   ? "初"
                                                     : n == 20 ? "二"
                                                               : "三")
                                                  : kTensPrefix[t];
            const std::string_view second = u == 0 ? "十" : kDigits[u - 1];
            auto &name = names[n - 1];
            for (std::size_t i = 0; i < 3; ++i) {
                name[i] = first[i];
                name[i + 3] = second[i];
            }
        }
        return names;
    }();
    const auto &name = kNames[static_cast<std::size_t>(day - 1)];
    return std::string(name.data(), name.size());
}

// --- cyclic names, zodiac, solar terms, constellations --------------------------------------

std::string GanZhiName(int index)
{
    if (index < 0 || index > 59)
        return {};
    const auto &n = kGanZhi[static_cast<std::size_t>(index)];
    return std::string(n.data(), n.size());
}

int GanZhiOf(int stem, int branch)
{
    // Stem and branch of one cycle index have the same parity; 6 and -5 solve the two
    // remainders (6 = 1 mod 10 and 0 mod 12, -5 = 0 mod 10 and 1 mod 12).
    if (stem < 0 || stem > 9 || branch < 0 || branch > 11 || (stem - branch) % 2 != 0)
        return -1;
    return (6 * stem - 5 * branch + 60) % 60;
}

int YearGanZhi(int year)
{
    return floorMod(static_cast<std::int64_t>(year) - (year > 0 ? 4 : 3), 60);
}

int series::SolarTermDay(int year, int term)
{
    return floorToInt(seriesTermMoment(year, term));
}

double SolarTermDayOfYear(int year, int term)
{
    return seriesTermMoment(year, term);
}

int SolarTermDay(int year, int term)
{
    if (term < 1 || term > 24 || year < kMinYear || year > kMaxYear || year == 0)
        return 0;
    return nominalDayOfYear(year, termDayNumber(year, term));
}

int YearGanZhiOfDate(int y, int m, int d)
{
    const bool beforeSpring = inEngineYears(y) && DayNumber(y, m, d) < YearTerms(y).day(3); // 立春
    return YearGanZhi(beforeSpring ? previousYear(y) : y);
}

int MonthGanZhi(int y, int m, int d)
{
    if (!inEngineYears(y))
        return -1;
    return monthCycleOf(y, m, DayNumber(y, m, d), YearTerms(y));
}

int DayGanZhi(int y, int m, int d)
{
    std::int64_t c = 0;
    if (y >= 1) {
        c = static_cast<std::int64_t>(DayNumber(y, m, d)) + 2;
    } else {
        const std::int64_t l = y < 0 ? -((3 - static_cast<std::int64_t>(y)) / 4) : 0;
        c = 365 * static_cast<std::int64_t>(y) + DayOfYearEx(y, m, d) + l;
    }
    return floorMod(c + 12, 60);
}

int AnimalOfYear(int lunarYear)
{
    return floorMod(static_cast<std::int64_t>(lunarYear) - (lunarYear > 0 ? 4 : 3), 12);
}

std::string AnimalName(int index)
{
    if (index < 0 || index > 11)
        return {};
    return text(kAnimals[static_cast<std::size_t>(index)]);
}

bool SolarTermDate(int year, int b, int &month, int &day)
{
    if (b < 0 || b > 23 || year < kMinYear || year > kMaxYear || year == 0)
        return false;
    int y = 0;
    if (!DateOfDayNumber(termDayNumber(year, b + 1), y, month, day))
        return false;
    if (y != year) // 小寒 in the December before
        month = 0;
    return true;
}

std::string SolarTermOfDate(int y, int m, int d)
{
    if (!inEngineYears(y) || !validDate(y, m, d) || CalendarKindOf(y, m, d) == 0)
        return {};
    return SolarTermName(termOn(y, m, DayNumber(y, m, d), YearTerms(y)));
}

bool FactsOfDate(int y, int m, int d, DateFacts &out)
{
    if (!GregorianToLunar(y, m, d, out.lunar))
        return false;
    if (CalendarKindOf(y, m, d) == 0) {
        out.yearCycle = YearGanZhiOfDate(y, m, d);
        out.monthCycle = MonthGanZhi(y, m, d);
        out.dayCycle = DayGanZhi(y, m, d);
        out.term = -1;
        return true;
    }
    // One day number and one term word for every field.
    const int dn = DayNumber(y, m, d);
    const YearTerms terms(y);
    out.yearCycle = YearGanZhi(dn < terms.day(3) ? previousYear(y) : y);
    out.monthCycle = monthCycleOf(y, m, dn, terms);
    out.dayCycle = floorMod(static_cast<std::int64_t>(dn) + 14, 60);
    out.term = termOn(y, m, dn, terms);
    return true;
}

std::string SolarTermName(int index)
{
    if (index < 0 || index > 23)
        return {};
    return text(kTermNames[static_cast<std::size_t>(index)]);
}

int ConstellationOf(int m, int d)
{
    const std::int64_t c = static_cast<std::int64_t>(m) * 100 + d;
    if (c < kConstellationStarts[0])
        return 9;
    int i = 0;
    while (i < 11 && c >= kConstellationStarts[static_cast<std::size_t>(i + 1)])
        ++i;
    return (i + 10) % 12;
}

std::string ConstellationName(int index)
{
    if (index < 0 || index > 11)
        return {};
    return text(kConstellations[static_cast<std::size_t>(index)]);
}

} // namespace tevuna::calendar
