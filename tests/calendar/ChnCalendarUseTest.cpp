#include "calendar/ChnCalendarUse.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <string>
#include <vector>

namespace cal = tevuna::calendar;

namespace {

cal::TDateTime dateOf(int y, int m, int d)
{
    cal::TDateTime t = 0;
    EXPECT_TRUE(cal::encodeDate(y, m, d, t)) << y << "-" << m << "-" << d;
    return t;
}

cal::TChnCal calendarAt(int y, int m, int d)
{
    cal::TChnCal c;
    c.SetDate(dateOf(y, m, d));
    return c;
}

TEST(TChnCal, NewObjectIsEmpty)
{
    const cal::TChnCal c;
    EXPECT_EQ(c.LunarYear, 0);
    EXPECT_EQ(c.LunarMonth, 0);
    EXPECT_EQ(c.Date, 0);
    EXPECT_EQ(c.CnMonthText, "");
    EXPECT_EQ(c.EraText, "");
}

TEST(TChnCal, TextsOfOneDate)
{
    cal::TChnCal c;
    c.SetDate(dateOf(2024, 2, 10) + 0.75);
    EXPECT_EQ(c.Date, dateOf(2024, 2, 10) + 0.75);
    EXPECT_EQ(c.LunarYear, 2024);
    EXPECT_EQ(c.LunarYearText, "2024");
    EXPECT_EQ(c.LunarMonth, 1);
    EXPECT_EQ(c.lunarDay, 1);
    EXPECT_FALSE(c.leapMonth);
    EXPECT_EQ(c.CnMonthText, "正月");
    EXPECT_EQ(c.CnDayText, "初一");
    EXPECT_EQ(c.YearGanZhiText, "甲辰");
    EXPECT_EQ(c.MonthGanZhiText, "丙寅");
    EXPECT_EQ(c.DayGanZhiText, "甲辰");
    EXPECT_EQ(c.AnimalText, "龙");
    EXPECT_EQ(c.ConstellationText, "宝瓶");
    EXPECT_EQ(c.CnHolidayText, "春节");
    EXPECT_EQ(c.HolidayText, "");
    EXPECT_EQ(c.SolarTermText, "");
    EXPECT_EQ(c.EraText, "");
}

struct MonthDayCase {
    int y, m, d;
    const char *month, *day;
    int lunarYear;
};

TEST(TChnCal, MonthAndDayTextsAtLeapMonthsAndYearEnds)
{
    // One object set date after date, as the calendar control does.
    cal::TChnCal c;
    for (const MonthDayCase &e : {MonthDayCase{2023, 3, 21, "二月", "三十", 2023},
                                  MonthDayCase{2023, 3, 22, "闰二", "初一", 2023},
                                  MonthDayCase{2020, 5, 23, "闰四", "初一", 2020},
                                  MonthDayCase{2033, 12, 22, "闰冬", "初一", 2033},
                                  MonthDayCase{2034, 1, 20, "腊月", "初一", 2033},
                                  MonthDayCase{2100, 12, 31, "腊月", "初一", 2100},
                                  MonthDayCase{1900, 1, 10, "腊月", "初十", 1899}}) {
        c.SetDate(dateOf(e.y, e.m, e.d));
        EXPECT_EQ(c.CnMonthText, e.month) << e.y << "-" << e.m << "-" << e.d;
        EXPECT_EQ(c.CnDayText, e.day) << e.y << "-" << e.m << "-" << e.d;
        EXPECT_EQ(c.LunarYearText, std::to_string(e.lunarYear));
    }
}

TEST(TChnCal, AnimalFollowsTheLunarYearAndYearCycleFollowsSpring)
{
    const cal::TChnCal c = calendarAt(2024, 2, 5);
    EXPECT_EQ(c.LunarYearText, "2023");
    EXPECT_EQ(c.AnimalText, "兔");
    EXPECT_EQ(c.YearGanZhiText, "甲辰");
    EXPECT_EQ(c.SolarTermText, "");
    EXPECT_EQ(calendarAt(2024, 2, 4).SolarTermText, "立春");
}

// Reign years run from 正月初一; the Republic's from 1912-01-01, by the Gregorian calendar.
TEST(TChnCal, EraTextFollowsTheLunarYearThenTheRepublicsCalendar)
{
    cal::TChnCal c;
    const struct {
        int y, m, d;
        const char *era;
    } cases[] = {
        {2000, 6, 1, ""},
        {1900, 1, 10, "[清]德宗 载湉 光绪25年"}, // lunar 1899
        {1900, 1, 31, "[清]德宗 载湉 光绪26年"},
        {1142, 1, 27, "[南宋]高宗 赵构 绍兴11年"}, // 绍兴十一年十二月廿九
        {1142, 2, 5, "[南宋]高宗 赵构 绍兴12年"},
        {1911, 12, 31, "[清] 溥仪 宣统3年"},
        {1912, 1, 1, "[近、现代]中华民国  民国元年"}, // lunar 1911 still
        {1948, 12, 31, "[近、现代]中华民国  民国37年"},
        {1949, 1, 1, ""},
    };
    for (const auto &e : cases) {
        c.SetDate(dateOf(e.y, e.m, e.d));
        EXPECT_EQ(c.EraText, e.era) << e.y << "-" << e.m << "-" << e.d;
    }
}

TEST(TChnCal, DatesOutsideTheEngineChangeOnlyDate)
{
    cal::TChnCal c;
    c.SetDate(dateOf(2024, 2, 10));
    const cal::TChnCal before = c;
    const std::vector<cal::TDateTime> outside = {dateOf(2101, 1, 1),
                                                 dateOf(-849, 1, 1) - 1,
                                                 std::numeric_limits<double>::quiet_NaN(),
                                                 std::numeric_limits<double>::infinity(),
                                                 -1e300,
                                                 1e18};
    for (const cal::TDateTime t : outside) {
        c.SetDate(t);
        EXPECT_TRUE(c.Date == t || (std::isnan(t) && std::isnan(c.Date)));
        EXPECT_EQ(c.LunarYear, before.LunarYear);
        EXPECT_EQ(c.CnMonthText, before.CnMonthText);
        EXPECT_EQ(c.CnDayText, before.CnDayText);
        EXPECT_EQ(c.CnHolidayText, before.CnHolidayText);
        EXPECT_EQ(c.YearGanZhiText, before.YearGanZhiText);
    }
}

// The day after Julian 1582-10-04 is Gregorian 1582-10-15; the lunar days run on.
TEST(TChnCal, TheDayAfter1582_10_04Is1582_10_15)
{
    cal::TChnCal c;
    c.SetDate(dateOf(1582, 10, 4));
    EXPECT_EQ(c.CnDayText, "十八");
    c.SetDate(dateOf(1582, 10, 4) + 1);
    EXPECT_EQ(c.CnDayText, "十九");
    int y = 0, m = 0, d = 0;
    ASSERT_TRUE(cal::decodeDate(c.Date, y, m, d));
    EXPECT_EQ(std::vector<int>({y, m, d}), std::vector<int>({1582, 10, 15}));
}

struct FestivalCase {
    int y, m, d;
    const char *gregorian, *lunar;
};

class FestivalsCase : public testing::TestWithParam<FestivalCase>
{};

TEST_P(FestivalsCase, DateCarriesItsFestivals)
{
    const FestivalCase &f = GetParam();
    const cal::TChnCal c = calendarAt(f.y, f.m, f.d);
    EXPECT_EQ(c.HolidayText, f.gregorian);
    EXPECT_EQ(c.CnHolidayText, f.lunar);
}

INSTANTIATE_TEST_SUITE_P(
    Dates, FestivalsCase,
    testing::Values(
        // Fixed days and the n-th weekday rules (05-05 is the first Sunday of May 2024).
        FestivalCase{2024, 1, 1, "元旦节", ""}, FestivalCase{2024, 2, 14, "情人节", ""},
        FestivalCase{2024, 3, 8, "妇女节", ""}, FestivalCase{2024, 4, 1, "愚人节", ""},
        FestivalCase{2024, 5, 1, "劳动节", ""}, FestivalCase{2024, 5, 4, "青年节", ""},
        FestivalCase{2024, 5, 5, "", ""}, FestivalCase{2024, 5, 12, "母亲节", ""},
        FestivalCase{2024, 5, 19, "", ""}, FestivalCase{2024, 6, 1, "儿童节", ""},
        FestivalCase{2024, 6, 16, "父亲节", ""}, FestivalCase{2024, 7, 1, "建党节", ""},
        FestivalCase{2024, 8, 1, "建军节", ""}, FestivalCase{2024, 9, 10, "教师节", ""},
        FestivalCase{2024, 10, 1, "国庆节", ""}, FestivalCase{2024, 10, 6, "老人节", ""},
        FestivalCase{2024, 10, 31, "万圣节", ""}, FestivalCase{2024, 11, 8, "记者日", ""},
        FestivalCase{2024, 11, 28, "感恩节", ""}, FestivalCase{2024, 11, 21, "", ""},
        FestivalCase{2024, 12, 25, "圣诞节", ""},
        // Lunar festivals; 除夕 is the last day of 腊月 whether it has 30 or 29 days.
        FestivalCase{2024, 2, 9, "", "除夕"}, FestivalCase{2024, 2, 10, "", "春节"},
        FestivalCase{2024, 2, 24, "", "元宵节"}, FestivalCase{2024, 6, 10, "", "端午节"},
        FestivalCase{2024, 8, 10, "", "七夕节"}, FestivalCase{2024, 9, 17, "", "中秋节"},
        FestivalCase{2024, 10, 11, "", "重阳节"}, FestivalCase{2025, 1, 7, "", "腊八节"},
        FestivalCase{2025, 1, 28, "", "除夕"}, FestivalCase{2025, 1, 27, "", ""},
        // A leap month has its ordinary month's festivals.
        FestivalCase{2028, 5, 28, "", "端午节"}, FestivalCase{2028, 6, 27, "", "端午节"},
        // Its next day would be in 2101, which the engine does not convert.
        FestivalCase{2100, 12, 31, "", ""}),
    [](const testing::TestParamInfo<FestivalCase> &p) {
        std::string name = "Y";
        for (const int v : {p.param.y, p.param.m, p.param.d})
            name += std::to_string(v) + "_";
        return name;
    });

TEST(Festivals, RulesByThemselves)
{
    EXPECT_EQ(cal::CnHolidayOf(1, 1, 0), "春节");
    EXPECT_EQ(cal::CnHolidayOf(12, 8, 0), "腊八节");
    EXPECT_EQ(cal::CnHolidayOf(13, 1, 0), "");
    EXPECT_EQ(cal::CnHolidayOf(12, 30, std::numeric_limits<double>::quiet_NaN()), "");
    EXPECT_EQ(cal::HolidayOf(1, std::numeric_limits<double>::infinity()), "");
    EXPECT_EQ(cal::LunarMonthText(11, false), "冬月");
    EXPECT_EQ(cal::LunarMonthText(4, true), "闰四");
    EXPECT_EQ(cal::LunarMonthText(0, false), "");
    EXPECT_EQ(cal::LunarMonthText(13, true), "");
}

// Days are named as the engine names them: Julian before 1582-10-15.
TEST(DateTime, EncodesAndDecodesTheEnginesDates)
{
    EXPECT_EQ(dateOf(1899, 12, 30), 0);
    EXPECT_EQ(dateOf(2000, 1, 1), 36526);
    EXPECT_EQ(dateOf(1, 1, 1), -693595);
    EXPECT_EQ(dateOf(1582, 10, 15) - dateOf(1582, 10, 4), 1);
    EXPECT_EQ(dateOf(1500, 3, 1) - dateOf(1500, 2, 29), 1);
    int y = 0, m = 0, d = 0;
    ASSERT_TRUE(cal::decodeDate(36526.99, y, m, d));
    EXPECT_EQ(std::vector<int>({y, m, d}), std::vector<int>({2000, 1, 1}));
    ASSERT_TRUE(cal::decodeDate(-1.5, y, m, d)); // the day part truncates toward zero
    EXPECT_EQ(std::vector<int>({y, m, d}), std::vector<int>({1899, 12, 29}));
    ASSERT_TRUE(cal::decodeDate(dateOf(1, 1, 1) - 1, y, m, d)); // no year 0
    EXPECT_EQ(std::vector<int>({y, m, d}), std::vector<int>({-1, 12, 31}));
    cal::TDateTime t = 0;
    EXPECT_FALSE(cal::encodeDate(0, 1, 1, t));
    EXPECT_FALSE(cal::encodeDate(1900, 2, 29, t));  // Gregorian by then
    EXPECT_FALSE(cal::encodeDate(1582, 10, 10, t)); // one of the missing days
    EXPECT_FALSE(cal::encodeDate(-850, 12, 31, t)); // before the engine's years
    EXPECT_FALSE(cal::encodeDate(2024, 13, 1, t));
    EXPECT_FALSE(cal::encodeDate(2024, 4, 31, t));
    EXPECT_FALSE(cal::decodeDate(std::numeric_limits<double>::quiet_NaN(), y, m, d));
}

TEST(EraText, YearsOfTheTable)
{
    const std::map<int, std::string> cases = {
        {-2069, "[夏]禹  禹元年"},
        {-2068, "[夏]禹  禹2年"},
        {1, "[西汉]平帝 刘衎 元始元年"},
        {6, "[西汉]孺子婴 刘婴 居摄元年"},
        {9, "[新] 王莽 始建国元年"},
        {627, "[唐]太宗 李世民 贞观元年"},
        {905, "[唐]昭宣帝 李柷 天佑元年"},
        {1271, "[南宋]度宗 赵禥 咸淳7年"},
        {1279, "[元]世祖 忽必烈 至元9年"},
        {1900, "[清]德宗 载湉 光绪26年"},
        {1911, "[清] 溥仪 宣统3年"},
        {1912, "[近、现代]中华民国  民国元年"},
        {1948, "[近、现代]中华民国  民国37年"},
        {0, "[西汉]哀帝 刘欣 元寿2年"},
        {1949, ""},
        {2000, ""},
        {-2070, ""},
    };
    for (const auto &[year, text] : cases)
        EXPECT_EQ(cal::EraTextOf(year), text) << year;
}

std::vector<std::string> fieldsOf(std::string_view row)
{
    std::vector<std::string> fields;
    for (std::size_t p = 0;;) {
        const std::size_t q = row.find(',', p);
        fields.emplace_back(row.substr(p, q == std::string_view::npos ? row.npos : q - p));
        if (q == std::string_view::npos)
            return fields;
        p = q + 1;
    }
}

TEST(EraTable, RowsRunsAndRowsThatNeverMatch)
{
    const auto rows = cal::EraRows();
    ASSERT_EQ(rows.size(), 529u);
    EXPECT_EQ(rows.front(), "-2069,45,0,夏,禹,,禹");
    EXPECT_EQ(rows.back(), "1949,9999,1948,当代,中国,,公历");
    std::vector<int> starts;
    std::vector<std::string> dynasties;
    int extraRows = 0;
    for (const std::string_view row : rows) {
        const std::vector<std::string> f = fieldsOf(row);
        ASSERT_EQ(f.size(), 7u) << row;
        starts.push_back(std::stoi(f[0]));
        EXPECT_GT(std::stoi(f[1]), 0) << row;
        dynasties.push_back(f[3]);
        extraRows += f[2] != "0";
        EXPECT_FALSE(f[6].empty()) << row;
    }
    EXPECT_EQ(extraRows, 6);

    // Dynasty runs: name, first row (1-based), first and last start year.
    struct Run {
        const char *dynasty;
        int firstRow, firstStart, lastStart;
    };
    const std::vector<Run> runs = {{"夏", 1, -2069, -1652},      {"商", 20, -1599, -1074},
                                   {"西周", 51, -1045, -780},    {"东周", 64, -769, -313},
                                   {"战国-秦", 88, -305, -248},  {"秦", 91, -245, -208},
                                   {"西汉", 94, -205, 8},        {"新", 139, 9, 20},
                                   {"西汉", 142, 23, 23},        {"东汉", 143, 25, 196},
                                   {"三国-魏", 178, 220, 264},   {"西晋", 188, 265, 313},
                                   {"东晋", 199, 317, 419},      {"南朝/宋", 218, 420, 477},
                                   {"南朝/齐", 229, 479, 501},   {"南朝/梁", 237, 502, 556},
                                   {"南朝/陈", 250, 557, 587},   {"南朝/后梁", 257, 555, 586},
                                   {"北朝/北魏", 260, 386, 532}, {"北朝/东魏", 300, 534, 543},
                                   {"北朝/西魏", 304, 535, 554}, {"北朝/北齐", 307, 550, 577},
                                   {"北朝/北周", 317, 557, 581}, {"隋", 327, 581, 617},
                                   {"唐", 331, 618, 684},        {"武周", 349, 684, 705},
                                   {"唐", 367, 705, 905},        {"五代/梁", 408, 907, 921},
                                   {"五代/唐", 414, 923, 934},   {"五代/晋", 419, 936, 944},
                                   {"五代/汉", 422, 947, 948},   {"五代/周", 425, 951, 959},
                                   {"北宋", 429, 960, 1126},     {"南宋", 464, 1127, 1278},
                                   {"元", 486, 1271, 1341},      {"明", 501, 1368, 1628},
                                   {"清", 518, 1644, 1909},      {"近、现代", 528, 1912, 1912},
                                   {"当代", 529, 1949, 1949}};
    for (std::size_t r = 0; r < runs.size(); ++r) {
        const int first = runs[r].firstRow - 1;
        const int end = r + 1 < runs.size() ? runs[r + 1].firstRow - 1 : 529;
        for (int i = first; i < end; ++i) {
            ASSERT_EQ(dynasties[static_cast<std::size_t>(i)], runs[r].dynasty) << "row " << i + 1;
            // Within a run the start years never go back.
            if (i > first) {
                EXPECT_GE(starts[static_cast<std::size_t>(i)],
                          starts[static_cast<std::size_t>(i - 1)]);
            }
        }
        EXPECT_EQ(starts[static_cast<std::size_t>(first)], runs[r].firstStart) << runs[r].dynasty;
        EXPECT_EQ(starts[static_cast<std::size_t>(end - 1)], runs[r].lastStart) << runs[r].dynasty;
    }

    // A row whose successor starts in the same year or earlier never gives the text of a year;
    // every other row does, and every year from -2069 to 1948 has a text.
    std::map<std::string, int> textRows; // era text without the year number -> rows
    int neverMatching = 0;
    for (std::size_t i = 0; i + 1 < rows.size(); ++i)
        neverMatching += starts[i + 1] <= starts[i];
    EXPECT_EQ(neverMatching, 39);
    int yearsWithText = 0;
    for (int year = -2069; year <= 1948; ++year)
        yearsWithText += !cal::EraTextOf(year).empty();
    EXPECT_EQ(yearsWithText, 1948 + 2069 + 1);
    // The spelled-out rows that can never match: 永光 (465), 祯明 (587) and 祥兴 (1278).
    for (const char *era : {"永光", "祯明", "祥兴"}) {
        bool found = false;
        for (int year = 400; year <= 1300; ++year)
            found |= cal::EraTextOf(year).find(era) != std::string::npos;
        EXPECT_FALSE(found) << era;
    }
}

TEST(EraTable, SpelledOutRows)
{
    const auto rows = cal::EraRows();
    const std::vector<std::string> expected = {
        "-2069,45,0,夏,禹,,禹", "-2024,10,0,夏,启,,启", "-2014,25,0,夏,太康,,太康",
        "1912,37,0,近、现代,中华民国,,民国", "1949,9999,1948,当代,中国,,公历"};
    for (const std::string &row : expected)
        EXPECT_NE(std::find(rows.begin(), rows.end(), row), rows.end()) << row;
    // Rows whose personal name is given by the table: match all fields but that one.
    const std::vector<std::vector<std::string>> named = {
        {"-1", "2", "0", "西汉", "哀帝", "元寿"},     {"1", "5", "0", "西汉", "平帝", "元始"},
        {"9", "5", "0", "新", "", "始建国"},          {"905", "3", "1", "唐", "昭宣帝", "天佑"},
        {"913", "3", "2", "五代/梁", "末帝", "乾化"}, {"942", "2", "6", "五代/晋", "出帝", "天福"},
        {"959", "2", "5", "五代/周", "恭帝", "显德"}, {"1271", "24", "7", "元", "世祖", "至元"},
        {"1875", "34", "0", "清", "德宗", "光绪"},    {"1909", "3", "0", "清", "", "宣统"}};
    for (const std::vector<std::string> &n : named) {
        bool found = false;
        for (const std::string_view row : rows) {
            const std::vector<std::string> f = fieldsOf(row);
            if (f[0] == n[0] && f[1] == n[1] && f[2] == n[2] && f[3] == n[3] && f[4] == n[4] &&
                f[6] == n[5]) {
                EXPECT_FALSE(f[5].empty()) << row;
                found = true;
            }
        }
        EXPECT_TRUE(found) << n[0] << " " << n[5];
    }
}

} // namespace
