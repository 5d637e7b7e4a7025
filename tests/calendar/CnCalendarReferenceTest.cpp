// Every day of 1901-2100 against the committed reference of the official calendar
// (tests/calendar/data, made by scripts/make-lunar-reference.js).
#include "calendar/ChnCalendarUse.h"
#include "calendar/CnCalendar.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace cal = tevuna::calendar;

namespace {

struct Month {
    int lunarYear, month;
    bool leap;
    int y, m, d; // first day
    int days;
};

// Term names by term number 1..24, 小寒 first, as the reference lists them.
const std::array<const char *, 24> kTerms = {
    "小寒", "大寒", "立春", "雨水", "惊蛰", "春分", "清明", "谷雨", "立夏", "小满", "芒种", "夏至",
    "小暑", "大暑", "立秋", "处暑", "白露", "秋分", "寒露", "霜降", "立冬", "小雪", "大雪", "冬至"};
const std::array<const char *, 12> kMonthNames = {"正", "二", "三", "四", "五", "六",
                                                  "七", "八", "九", "十", "冬", "腊"};
const std::array<const char *, 10> kStems = {"甲", "乙", "丙", "丁", "戊",
                                             "己", "庚", "辛", "壬", "癸"};
const std::array<const char *, 12> kBranches = {"子", "丑", "寅", "卯", "辰", "巳",
                                                "午", "未", "申", "酉", "戌", "亥"};

std::string cycleName(long long index)
{
    const long long i = ((index % 60) + 60) % 60;
    return std::string(kStems[static_cast<std::size_t>(i % 10)]) +
           kBranches[static_cast<std::size_t>(i % 12)];
}

std::string dataPath(const char *name)
{
    const char *root = std::getenv("TEVUNA_SOURCE_DIR");
    return std::string(root ? root : TEVUNA_SOURCE_DIR_FALLBACK) + "/tests/calendar/data/" + name;
}

std::vector<std::string> dataLines(const char *name)
{
    std::ifstream in(dataPath(name));
    EXPECT_TRUE(in.good()) << dataPath(name);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        if (!line.empty() && line[0] != '#')
            lines.push_back(line);
    return lines;
}

std::vector<Month> readMonths()
{
    std::vector<Month> months;
    for (const std::string &line : dataLines("lunar-months-1901-2100.txt")) {
        std::istringstream s(line);
        Month mo{};
        int leap = 0;
        std::string first;
        s >> mo.lunarYear >> mo.month >> leap >> first >> mo.days;
        mo.leap = leap != 0;
        mo.y = std::stoi(first.substr(0, 4));
        mo.m = std::stoi(first.substr(5, 2));
        mo.d = std::stoi(first.substr(8, 2));
        months.push_back(mo);
    }
    return months;
}

// year -> MMDD of the 24 terms
std::map<int, std::array<int, 24>> readTerms()
{
    std::map<int, std::array<int, 24>> terms;
    for (const std::string &line : dataLines("solar-terms-1901-2100.txt")) {
        std::istringstream s(line);
        int year = 0;
        s >> year;
        std::array<int, 24> days{};
        for (int &v : days)
            s >> v;
        terms[year] = days;
    }
    return terms;
}

struct Day {
    int y, m, d;
    void next()
    {
        if (++d > cal::DaysInMonthEx(y, m)) {
            d = 1;
            if (++m > 12) {
                m = 1;
                ++y;
            }
        }
    }
    int key() const { return y * 10000 + m * 100 + d; }
};

struct Expected {
    int lunarYear, month, day;
    bool leap;
    int monthDays;
};

class OfficialCalendar : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        months_ = readMonths();
        terms_ = readTerms();
    }
    static std::vector<Month> months_;
    static std::map<int, std::array<int, 24>> terms_;
};
std::vector<Month> OfficialCalendar::months_;
std::map<int, std::array<int, 24>> OfficialCalendar::terms_;

TEST_F(OfficialCalendar, ReferenceCoversEveryDayOnce)
{
    ASSERT_FALSE(months_.empty());
    EXPECT_EQ(terms_.size(), 200u);
    Day day{months_.front().y, months_.front().m, months_.front().d};
    for (const Month &mo : months_) {
        ASSERT_EQ(Day({mo.y, mo.m, mo.d}).key(), day.key()) << mo.lunarYear << "/" << mo.month;
        ASSERT_TRUE(mo.days == 29 || mo.days == 30);
        for (int i = 0; i < mo.days; ++i)
            day.next();
    }
    EXPECT_GT(day.key(), 21001231);
}

TEST_F(OfficialCalendar, EveryDayConvertsBothWays)
{
    int compared = 0;
    std::map<int, int> leapOf;
    for (const Month &mo : months_) {
        Day day{mo.y, mo.m, mo.d};
        for (int ld = 1; ld <= mo.days; ++ld, day.next()) {
            if (day.y < 1901 || day.y > 2100)
                continue;
            ++compared;
            cal::LunarDate l;
            ASSERT_TRUE(cal::GregorianToLunar(day.y, day.m, day.d, l)) << day.key();
            ASSERT_EQ(l.year, mo.lunarYear) << day.key();
            ASSERT_EQ(l.month, mo.month) << day.key();
            ASSERT_EQ(l.leap, mo.leap) << day.key();
            ASSERT_EQ(l.day, ld) << day.key();
            int y = 0, m = 0, d = 0;
            ASSERT_TRUE(cal::LunarToGregorian(mo.lunarYear, mo.month, ld, mo.leap, y, m, d))
                << day.key();
            ASSERT_EQ(Day({y, m, d}).key(), day.key());
        }
        if (mo.lunarYear >= 1901 && mo.days == 29) {
            int y = 0, m = 0, d = 0;
            EXPECT_FALSE(cal::LunarToGregorian(mo.lunarYear, mo.month, 30, mo.leap, y, m, d));
        }
        if (mo.leap)
            leapOf[mo.lunarYear] = mo.month;
    }
    EXPECT_EQ(compared, 73049);
    for (int year = 1901; year <= 2100; ++year)
        EXPECT_EQ(cal::LeapMonthOf(year), leapOf[year]) << year;
}

TEST_F(OfficialCalendar, TermDaysAndTermNames)
{
    for (const auto &[year, days] : terms_) {
        for (int n = 1; n <= 24; ++n) {
            int m = 0, d = 0;
            ASSERT_TRUE(cal::SolarTermDate(year, n - 1, m, d));
            ASSERT_EQ(m * 100 + d, days[static_cast<std::size_t>(n - 1)]) << year << " " << n;
            EXPECT_EQ(cal::SolarTermDay(year, n), cal::DayOfYearEx(year, m, d));
        }
    }
    std::map<int, std::string> termOf;
    for (const auto &[year, days] : terms_)
        for (std::size_t n = 0; n < 24; ++n)
            termOf[year * 10000 + days[n]] = kTerms[n];
    for (Day day{1901, 1, 1}; day.y <= 2100; day.next()) {
        const auto it = termOf.find(day.key());
        ASSERT_EQ(cal::SolarTermOfDate(day.y, day.m, day.d), it == termOf.end() ? "" : it->second)
            << day.key();
    }
}

// The texts derived from the lunar date and the terms, each worked out here from the
// reference alone: month and day names, 春节 and 除夕, the year cycle from 立春, the month
// cycle from the 节 terms, the day cycle by counting days.
TEST_F(OfficialCalendar, EveryDayHasItsTexts)
{
    std::map<int, Expected> lunarOf;
    for (const Month &mo : months_) {
        Day day{mo.y, mo.m, mo.d};
        for (int ld = 1; ld <= mo.days; ++ld, day.next())
            lunarOf[day.key()] = {mo.lunarYear, mo.month, ld, mo.leap, mo.days};
    }
    cal::TChnCal c;
    cal::TDateTime t = 0;
    ASSERT_TRUE(cal::encodeDate(1901, 1, 1, t));
    // 2000-01-01 is 戊午 (54); count the days back to 1901-01-01.
    long long firstDayCycle = 54;
    for (Day day{1901, 1, 1}; day.key() < 20000101; day.next())
        --firstDayCycle;
    long long dayCycle = 0;
    int lastDayOfLunarYear = 0; // key of the day before the next 正月初一
    for (Day day{1901, 1, 1}; day.y <= 2100; day.next(), t += 1, ++dayCycle) {
        c.SetDate(t);
        const Expected &e = lunarOf.at(day.key());
        const std::string name = kMonthNames[static_cast<std::size_t>(e.month - 1)];
        ASSERT_EQ(c.CnMonthText, e.leap ? "闰" + name : name + "月") << day.key();
        ASSERT_EQ(c.CnDayText, cal::LunarDayName(e.day)) << day.key();
        ASSERT_EQ(c.LunarYear, e.lunarYear);
        ASSERT_EQ(c.LunarYearText, std::to_string(e.lunarYear));

        // 除夕: the last day of 腊月 (never a leap one in these years) before a new year.
        const bool lastOfYear =
            e.month == 12 && !e.leap && e.day == e.monthDays && day.key() < 21001231;
        if (lastOfYear)
            lastDayOfLunarYear = day.key();
        const bool springFestival = e.month == 1 && e.day == 1;
        if (lastOfYear)
            ASSERT_EQ(c.CnHolidayText, "除夕") << day.key();
        else if (springFestival)
            ASSERT_EQ(c.CnHolidayText, "春节") << day.key();
        else
            ASSERT_NE(c.CnHolidayText, "除夕") << day.key();

        const std::array<int, 24> &terms = terms_.at(day.y);
        const int md = day.m * 100 + day.d;
        const int cycleYear = md < terms[2] ? day.y - 1 : day.y; // 立春 is term 3
        ASSERT_EQ(c.YearGanZhiText, cycleName(cycleYear - 4)) << day.key();
        // Solar months: 小寒 opens 丑 of the year before 立春's, 立春 opens 寅, ... 大雪 子.
        int solarMonth = 11; // months since 寅 of cycleYear: before 立春 丑 (11) or 子 (10)
        if (md < terms[0])
            solarMonth = 10;
        else if (md >= terms[2])
            for (int j = 2; j < 24; j += 2)
                if (md >= terms[static_cast<std::size_t>(j)])
                    solarMonth = j / 2 - 1;
        // 寅 of 甲辰 (2024) is 丙寅, index 2; each month steps the cycle by one.
        const long long monthIndex = 12LL * (cycleYear - 2024) + solarMonth + 2;
        ASSERT_EQ(c.MonthGanZhiText, cycleName(monthIndex)) << day.key();
        ASSERT_EQ(c.DayGanZhiText, cycleName(firstDayCycle + dayCycle)) << day.key();
    }
    EXPECT_GT(lastDayOfLunarYear, 21000000);
}

} // namespace
