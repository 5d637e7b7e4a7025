// Every day from -849 to lunar 1899 (1900-01-30), and every term to 1900, against the committed
// reference of the historical calendars (tests/calendar/data/*-historical.txt, made by
// scripts/make-historical-reference.js).
#include "calendar/CnCalendar.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace cal = tevuna::calendar;

namespace {

const std::array<const char *, 24> kTerms = {
    "小寒", "大寒", "立春", "雨水", "惊蛰", "春分", "清明", "谷雨", "立夏", "小满", "芒种", "夏至",
    "小暑", "大暑", "立秋", "处暑", "白露", "秋分", "寒露", "霜降", "立冬", "小雪", "大雪", "冬至"};

std::vector<std::string> dataLines(const char *name)
{
    const char *root = std::getenv("TEVUNA_SOURCE_DIR");
    const std::string path =
        std::string(root ? root : TEVUNA_SOURCE_DIR_FALLBACK) + "/tests/calendar/data/" + name;
    std::ifstream in(path);
    EXPECT_TRUE(in.good()) << path;
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        if (!line.empty() && line[0] != '#')
            lines.push_back(line);
    return lines;
}

// "-0849-02-09" or "1582-10-15" as the engine's day number.
int dayNumberOf(const std::string &date)
{
    const bool negative = date[0] == '-';
    const std::string rest = negative ? date.substr(1) : date;
    const int y = std::stoi(rest.substr(0, 4));
    return cal::DayNumber(negative ? -y : y, std::stoi(rest.substr(5, 2)),
                          std::stoi(rest.substr(8, 2)));
}

struct Month {
    int lunarYear, month;
    bool leap;
    int firstDay, days;
};

// Every month of the reference in order; a year line expands into its months.
std::vector<Month> readMonths()
{
    std::vector<Month> months;
    for (const std::string &line : dataLines("lunar-years-historical.txt")) {
        std::istringstream s(line);
        std::string mark;
        if (line[0] == '>' || line[0] == '!') {
            int year = 0;
            std::string first;
            s >> mark >> year;
            if (line[0] == '>') {
                std::string label;
                int days = 0;
                s >> label >> first >> days;
                months.push_back(
                    {year, std::stoi(label), label.back() == 'L', dayNumberOf(first), days});
                continue;
            }
            s >> first;
            int day = dayNumberOf(first);
            for (std::string item; s >> item;) {
                const int days = std::stoi(item.substr(item.find(':') + 1));
                months.push_back(
                    {year, std::stoi(item), item.find('L') != std::string::npos, day, days});
                day += days;
            }
            continue;
        }
        int year = 0, leap = 0;
        std::string first, lengths;
        s >> year >> first >> leap >> lengths;
        int day = dayNumberOf(first), month = 0;
        bool leapSeen = false;
        for (const char c : lengths) {
            const bool isLeap = leap != 0 && month == leap && !leapSeen;
            leapSeen = leapSeen || isLeap;
            if (!isLeap)
                ++month;
            const int days = c == '1' ? 30 : 29;
            months.push_back({year, month, isLeap, day, days});
            day += days;
        }
    }
    return months;
}

class HistoricalCalendar : public testing::Test
{
protected:
    static void SetUpTestSuite() { months_ = readMonths(); }
    static std::vector<Month> months_;
};
std::vector<Month> HistoricalCalendar::months_;

TEST_F(HistoricalCalendar, EveryDayIsTheRecordedLunarDateAndReadsBack)
{
    ASSERT_FALSE(months_.empty());
    const int first = cal::DayNumber(cal::kMinYear, 1, 1);
    // To the end of lunar 1899; the official calendar's reference takes over there.
    const int last = months_.back().firstDay + months_.back().days - 1;
    ASSERT_LE(months_.front().firstDay, first);
    ASSERT_EQ(last, cal::DayNumber(1900, 1, 30));
    int checked = 0;
    for (std::size_t i = 0; i < months_.size(); ++i) {
        const Month &mo = months_[i];
        if (i + 1 < months_.size()) {
            ASSERT_EQ(months_[i + 1].firstDay, mo.firstDay + mo.days) << mo.lunarYear;
        }
        for (int k = 0; k < mo.days; ++k) {
            const int dn = mo.firstDay + k;
            if (dn < first || dn > last)
                continue;
            int y = 0, m = 0, d = 0;
            ASSERT_TRUE(cal::DateOfDayNumber(dn, y, m, d));
            cal::LunarDate l;
            ASSERT_TRUE(cal::GregorianToLunar(y, m, d, l));
            ASSERT_EQ((std::array<int, 4>{l.year, l.month, l.leap, l.day}),
                      (std::array<int, 4>{mo.lunarYear, mo.month, mo.leap, k + 1}))
                << y << "-" << m << "-" << d;
            int by = 0, bm = 0, bd = 0;
            ASSERT_TRUE(cal::LunarToGregorian(l.year, l.month, l.day, l.leap, by, bm, bd))
                << y << "-" << m << "-" << d;
            ASSERT_EQ((std::array<int, 3>{by, bm, bd}), (std::array<int, 3>{y, m, d}));
            ++checked;
        }
    }
    EXPECT_EQ(checked, last - first + 1);
}

// The 24 terms of each year on their recorded days, each shown on exactly one date: 小寒 may
// fall in the December before, while the Julian calendar ran ahead of the sun.
TEST(HistoricalTerms, EveryTermOnItsRecordedDayOnce)
{
    std::vector<std::string> lines = dataLines("solar-terms-historical.txt");
    ASSERT_EQ(lines.size(), 2749u); // -849..1900 without a year 0
    int shown = 0;
    for (const std::string &line : lines) {
        std::istringstream s(line);
        int year = 0, start = 0;
        std::string steps;
        s >> year >> start >> steps;
        ASSERT_EQ(steps.size(), 23u);
        int dn = cal::DayNumber(year, 1, 1) - 1 + start;
        for (int n = 1; n <= 24; ++n) {
            if (n > 1)
                dn += steps[static_cast<std::size_t>(n - 2)] - '0' + 13;
            int y = 0, m = 0, d = 0;
            ASSERT_TRUE(cal::DateOfDayNumber(dn, y, m, d));
            ASSERT_EQ(cal::SolarTermOfDate(y, m, d), kTerms[static_cast<std::size_t>(n - 1)])
                << year << " term " << n << " on " << y << "-" << m << "-" << d;
            const int dayOfYear = y == year ? cal::DayOfYearEx(y, m, d) : d - 31;
            ASSERT_EQ(cal::SolarTermDay(year, n), dayOfYear) << year << " term " << n;
        }
    }
    // No date shows a term the reference does not have.
    for (int y = cal::kMinYear; y <= 1900; ++y) {
        if (y == 0)
            continue;
        for (int m = 1; m <= 12; ++m)
            for (int d = 1; d <= cal::DaysInMonthEx(y, m); ++d)
                shown += !cal::SolarTermOfDate(y, m, d).empty();
    }
    // 小寒 of -849 is in -849; one of 1901 may fall in 1900.
    const int xiaohan1901 = cal::SolarTermDay(1901, 1);
    EXPECT_EQ(shown, 24 * 2749 + (xiaohan1901 <= 0 ? 1 : 0));
}

// Where 小寒 fell in December, the month of 丑 began there, not at the new year.
TEST(HistoricalTerms, MonthBranchChangesOnAXiaohanInDecember)
{
    int seen = 0;
    for (int y = cal::kMinYear; y < 1900; ++y) {
        const int next = y == -1 ? 1 : y + 1;
        if (y == 0 || cal::SolarTermDay(next, 1) > 0)
            continue;
        const int day = 31 + cal::SolarTermDay(next, 1);
        ASSERT_EQ(cal::MonthGanZhi(y, 12, day) % 12, 1) << y << "-12-" << day;         // 丑
        ASSERT_EQ(cal::MonthGanZhi(y, 12, day - 1) % 12, 0) << y << "-12-" << day - 1; // 子
        ++seen;
    }
    EXPECT_GT(seen, 100);
}

} // namespace
