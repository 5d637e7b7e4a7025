// The month model and drawing arithmetic, without a screen.
#include "calendarview/ChnCalendarPickerModel.h"
#include "calendar/CnCalendar.h"
#include "calendarview/ChnCalendarPickerPaint.h"
#include "support/TestSupport.h"

#include <QCalendar>

#include <gtest/gtest.h>

#include <vector>

namespace tevuna {
namespace {

QDateTime at(int y, int m, int d, QTime time = QTime(0, 0))
{
    return QDateTime(QDate(y, m, d), time);
}

// A day before 1582-10-15 by its Julian labels.
QDate julian(int y, int m, int d)
{
    return QDate(y, m, d, QCalendar(QCalendar::System::Julian));
}

QDateTime julianAt(int y, int m, int d, QTime time = QTime(0, 0))
{
    return QDateTime(julian(y, m, d), time);
}

// --- the calendar the control labels days in ------------------------------------------------

struct LabelCase {
    const char *name;
    CalendarDate labels;
    QDate day; // by its proleptic Gregorian labels; invalid where the labels name no day
};

class Labels : public ::testing::TestWithParam<LabelCase>
{};

TEST_P(Labels, NameTheRealDayAndBack)
{
    const LabelCase &c = GetParam();
    const QDate day = fromCalendarDate(c.labels.year, c.labels.month, c.labels.day);
    EXPECT_EQ(day, c.day);
    if (c.day.isValid()) {
        EXPECT_EQ(toCalendarDate(c.day), c.labels);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Days, Labels,
    ::testing::Values(LabelCase{"TheLastJulianDay", {1582, 10, 4}, QDate(1582, 10, 14)},
                      LabelCase{"TheFirstGregorianDay", {1582, 10, 15}, QDate(1582, 10, 15)},
                      LabelCase{"AJulianLeapDay", {1500, 2, 29}, QDate(1500, 3, 10)},
                      LabelCase{"JulianNewYearOfYear1", {1, 1, 1}, QDate(-1, 12, 30)},
                      LabelCase{"TheLastDayOf1BC", {-1, 12, 31}, QDate(-1, 12, 29)},
                      LabelCase{"AGregorianLeapDay", {2024, 2, 29}, QDate(2024, 2, 29)},
                      LabelCase{"TheFirstMissingDay", {1582, 10, 5}, QDate()},
                      LabelCase{"TheLastMissingDay", {1582, 10, 14}, QDate()},
                      LabelCase{"NoYear0", {0, 1, 1}, QDate()},
                      LabelCase{"NoFebruary30", {1500, 2, 30}, QDate()},
                      LabelCase{"No29February1700", {1700, 2, 29}, QDate()}),
    [](const ::testing::TestParamInfo<LabelCase> &p) { return std::string(p.param.name); });

TEST(Labels, MonthLengthsCountTheDaysThatExist)
{
    EXPECT_EQ(daysInCalendarMonth(1500, 2), 29);
    EXPECT_EQ(daysInCalendarMonth(1582, 10), 21);
    EXPECT_EQ(daysInCalendarMonth(1582, 12), 31);
    EXPECT_EQ(daysInCalendarMonth(1700, 2), 28);
    EXPECT_EQ(daysInCalendarMonth(-1, 2), 29); // 1 BC is a Julian leap year
    EXPECT_EQ(daysInCalendarMonth(-1, 12), 31);
    // Agrees with the engine everywhere but October 1582.
    for (int y : {-849, -5, -2, 4, 100, 1300, 1582, 1600, 1900, 2000, 2100}) {
        for (int m = 1; m <= 12; ++m) {
            if (y != 1582 || m != 10) {
                EXPECT_EQ(daysInCalendarMonth(y, m), calendar::DaysInMonthEx(y, m))
                    << y << "-" << m;
            }
        }
    }
}

ChnCalendarPickerModel modelOn(const QDateTime &when)
{
    ChnCalendarPickerModel m;
    EXPECT_TRUE(m.setDateTime(when));
    return m;
}

// --- the cells of a month -------------------------------------------------------------------

struct MonthCase {
    const char *name;
    QDate date;
    int firstCell;       // the cell of day 1
    int days;            // the label of the last day
    int missingFrom = 0; // labels that the month skips
    int missingTo = 0;
};

class MonthCells : public ::testing::TestWithParam<MonthCase>
{};

// Days follow each other in the cells without a gap, so each column is the day's weekday
// also where the labels jump.
TEST_P(MonthCells, HoldTheMonthsDaysAndOnlyThose)
{
    const MonthCase &c = GetParam();
    const ChnCalendarPickerModel m = modelOn(QDateTime(c.date, QTime(0, 0)));
    const auto cellOf = [&c](int day) {
        const int skipped =
            c.missingTo > 0 && day > c.missingTo ? c.missingTo - c.missingFrom + 1 : 0;
        return c.firstCell + day - 1 - skipped;
    };
    const int lastCell = cellOf(c.days);
    int day = 1;
    for (int i = 1; i <= ChnCalendarPickerModel::kLastDayCell; ++i) {
        const TDayCell &cell = m.cell(i);
        if (i < c.firstCell || i > lastCell) {
            EXPECT_FALSE(cell.HasDate) << "cell " << i;
            EXPECT_TRUE(cell.CnText.isEmpty()) << "cell " << i;
            continue;
        }
        ASSERT_EQ(cellOf(day), i);
        EXPECT_TRUE(cell.HasDate) << "cell " << i;
        EXPECT_EQ(cell.Day, day);
        EXPECT_EQ(cell.DayText, QString::number(day));
        EXPECT_FALSE(cell.CnText.isEmpty()) << "cell " << i;
        // Sunday and Saturday columns are red whatever the colour properties say.
        const bool weekend = i % 7 == 1 || i % 7 == 0;
        EXPECT_EQ(cell.DateColor, weekend ? QColor(Qt::red) : QColor(0x4F, 0x4F, 0x4F))
            << "cell " << i;
        day = day + 1 == c.missingFrom ? c.missingTo + 1 : day + 1;
    }
    const int chosenDay = toCalendarDate(c.date).day;
    EXPECT_EQ(m.cell(cellOf(chosenDay)).Day, chosenDay);
    EXPECT_EQ(m.chosenCell(), cellOf(chosenDay));
    for (int i = ChnCalendarPickerModel::kConstellation; i <= ChnCalendarPickerModel::kAnimalYear;
         ++i)
        EXPECT_TRUE(m.cell(i).HasDate);
    EXPECT_FALSE(m.cell(38).HasDate);
    EXPECT_FALSE(m.cell(39).HasDate);
}

INSTANTIATE_TEST_SUITE_P(
    Months, MonthCells,
    ::testing::Values(
        MonthCase{"March2013BeginsOnAFriday", QDate(2013, 3, 31), 6, 31},
        MonthCase{"February2015BeginsOnASunday", QDate(2015, 2, 14), 1, 28},
        MonthCase{"February2024HasALeapDay", QDate(2024, 2, 29), 5, 29},
        MonthCase{"JulianJanuaryOfYear1BeginsOnASaturday", julian(1, 1, 1), 7, 31},
        MonthCase{"December2100BeginsOnAWednesday", QDate(2100, 12, 31), 4, 31},
        MonthCase{"August2015FillsCell37", QDate(2015, 8, 1), 7, 31},
        MonthCase{"JulianFebruary1500HasALeapDayAndBeginsOnASaturday", julian(1500, 2, 29), 7, 29},
        // Monday the 1st; Thursday the 4th is followed by Friday the 15th.
        MonthCase{"October1582Skips5To14", QDate(1582, 10, 15), 2, 31, 5, 14},
        MonthCase{"October1582ChosenOnTheLastJulianDay", julian(1582, 10, 4), 2, 31, 5, 14},
        MonthCase{"GregorianFebruary1700HasNoLeapDayAndBeginsOnAMonday", QDate(1700, 2, 1), 2, 28}),
    [](const ::testing::TestParamInfo<MonthCase> &p) { return std::string(p.param.name); });

// The lunar day is that of the real day: it goes on by one from cell to cell, or starts a
// new lunar month, also over a Julian leap day and over the ten days dropped in 1582.
class LunarDays : public ::testing::TestWithParam<QDate>
{};

TEST_P(LunarDays, RunOnFromCellToCell)
{
    const ChnCalendarPickerModel m = modelOn(QDateTime(GetParam(), QTime(0, 0)));
    const auto lunarDay = [](const QString &name) {
        for (int n = 1; n <= 30; ++n)
            if (name == QString::fromStdString(calendar::LunarDayName(n)))
                return n;
        return 0;
    };
    int previous = 0;
    for (int i = 1; i <= ChnCalendarPickerModel::kLastDayCell; ++i) {
        if (!m.cell(i).HasDate)
            continue;
        const int n = lunarDay(m.cell(i).CnDay);
        ASSERT_GT(n, 0) << "cell " << i;
        if (previous > 0) {
            EXPECT_TRUE(n == previous + 1 || n == 1)
                << "cell " << i << " (day " << m.cell(i).Day << "): " << previous << " then " << n;
        }
        previous = n;
    }
}

INSTANTIATE_TEST_SUITE_P(Months, LunarDays,
                         ::testing::Values(julian(1500, 2, 1), QDate(1582, 10, 15), julian(1, 1, 1),
                                           QDate(2024, 2, 1)),
                         [](const ::testing::TestParamInfo<QDate> &p) {
                             const CalendarDate month = toCalendarDate(p.param);
                             return "Month" + std::to_string(month.month) + "Of" +
                                    std::to_string(month.year);
                         });

struct WeekCase {
    const char *name;
    QDate date;
    std::vector<const char *> labels; // rows 1..6
};

class WeekNumbers : public ::testing::TestWithParam<WeekCase>
{};

TEST_P(WeekNumbers, LabelEachIsoWeekOnce)
{
    const ChnCalendarPickerModel m = modelOn(QDateTime(GetParam().date, QTime(0, 0)));
    for (int row = 1; row <= 6; ++row)
        EXPECT_EQ(m.weekNum(row), QString::fromLatin1(GetParam().labels[row - 1])) << "row " << row;
}

INSTANTIATE_TEST_SUITE_P(
    Months, WeekNumbers,
    ::testing::Values(
        // Begins on a Sunday: each row shows the ISO week of its Sunday.
        WeekCase{"February2015", QDate(2015, 2, 1), {"5", "6", "7", "8", "9", ""}},
        // Every other month: the ISO week of each row's Monday; row 6 holds only a Sunday.
        WeekCase{"March2013", QDate(2013, 3, 1), {"9", "10", "11", "12", "13", ""}},
        // Begins on a Sunday with 31 days: one label more than rows of days.
        WeekCase{"March2015", QDate(2015, 3, 1), {"9", "10", "11", "12", "13", "14"}},
        // The year's first days belong to week 53 of the year before.
        WeekCase{"January2016", QDate(2016, 1, 1), {"53", "1", "2", "3", "4", ""}},
        // Julian 1 January 1500 is a Wednesday: its week is week 1 of the Julian year.
        WeekCase{"JulianJanuary1500", julian(1500, 1, 1), {"1", "2", "3", "4", "5", ""}},
        // The week of Thursday the 4th ends on Sunday the 21st.
        WeekCase{"October1582", QDate(1582, 10, 15), {"40", "41", "42", "", "", ""}}),
    [](const ::testing::TestParamInfo<WeekCase> &p) { return std::string(p.param.name); });

// --- the lunar text under a day -------------------------------------------------------------

struct LunarTextCase {
    const char *name;
    QDate date;
    const char *text;
    QColor color;
};

class LunarText : public ::testing::TestWithParam<LunarTextCase>
{};

TEST_P(LunarText, NamesTheDayInItsColour)
{
    const LunarTextCase &c = GetParam();
    const ChnCalendarPickerModel m = modelOn(QDateTime(c.date, QTime(0, 0)));
    const TDayCell &cell = m.cell(m.chosenCell());
    EXPECT_EQ(cell.CnText, QString::fromUtf8(c.text));
    EXPECT_EQ(cell.CnColor, c.color);
}

const QColor kGreen(0x00, 0x80, 0x00);
const QColor kOrange(0xFF, 0x80, 0x00);
const QColor kLightBlue(0x53, 0x53, 0xFF);

INSTANTIATE_TEST_SUITE_P(
    Days, LunarText,
    ::testing::Values(
        LunarTextCase{"AnOrdinaryDayShowsTheLunarDay", QDate(2015, 2, 1), "十三", kGreen},
        LunarTextCase{"ANewMoonShowsTheMonthInRed", QDate(2015, 3, 20), "二月", Qt::red},
        LunarTextCase{"ALeapMonthStartsWithRun", QDate(2023, 3, 22), "闰二", Qt::red},
        LunarTextCase{"AGregorianFestival", QDate(2015, 2, 14), "情人节", kOrange},
        LunarTextCase{"ASolarTerm", QDate(2015, 2, 4), "立春", kLightBlue},
        LunarTextCase{"ASolarTermWinsOverAGregorianFestival", QDate(2012, 11, 22), "小雪",
                      kLightBlue},
        LunarTextCase{"ALunarFestivalWinsOverASolarTerm", QDate(1905, 2, 4), "春节", kOrange},
        LunarTextCase{"NewYearsEve", QDate(2015, 2, 18), "除夕", kOrange}),
    [](const ::testing::TestParamInfo<LunarTextCase> &p) { return std::string(p.param.name); });

// --- the date change ------------------------------------------------------------------------

TEST(DateChange, RefusesTheSameValueAndYearsOutsideTheStepperRange)
{
    ChnCalendarPickerModel m;
    EXPECT_FALSE(m.dateTime().isValid());
    EXPECT_FALSE(m.setDateTime(QDateTime()));
    EXPECT_TRUE(m.setDateTime(at(2013, 3, 31, QTime(8, 0))));
    EXPECT_FALSE(m.setDateTime(at(2013, 3, 31, QTime(8, 0))));
    // The same day at another time of day is a change.
    EXPECT_TRUE(m.setDateTime(at(2013, 3, 31, QTime(8, 0, 0, 1))));
    EXPECT_FALSE(m.setDateTime(at(2101, 1, 1)));
    EXPECT_EQ(m.dateTime(), at(2013, 3, 31, QTime(8, 0, 0, 1)));
    EXPECT_EQ(m.cell(36).Day, 31);
    EXPECT_TRUE(m.setDateTime(at(1, 1, 1)));
    EXPECT_TRUE(m.setDateTime(at(2100, 12, 31, QTime(23, 59, 59, 999))));
    // Year 1 begins on Julian 1 January, two days before the Gregorian one.
    EXPECT_TRUE(m.setDateTime(julianAt(1, 1, 1)));
    EXPECT_EQ(m.yearText(), QStringLiteral("1"));
    EXPECT_FALSE(m.setDateTime(julianAt(-1, 12, 31)));
}

TEST(DateChange, TitlesAndTheChosenCellFollowTheJulianLabels)
{
    ChnCalendarPickerModel m = modelOn(julianAt(1500, 2, 29));
    EXPECT_EQ(m.yearText(), QStringLiteral("1500"));
    EXPECT_EQ(m.monthText(), QStringLiteral("2"));
    EXPECT_EQ(m.cell(m.chosenCell()).Day, 29);
    ASSERT_TRUE(m.setDateTime(julianAt(1582, 10, 4)));
    EXPECT_EQ(m.monthText(), QStringLiteral("10"));
    EXPECT_EQ(m.cell(m.chosenCell()).Day, 4);
}

struct ChosenLineCase {
    const char *name;
    QDate date;
    const char *line; // without the lunar date where it comes from the historical series
};

class ChosenDateLine : public ::testing::TestWithParam<ChosenLineCase>
{};

TEST_P(ChosenDateLine, NamesTheEraBefore1949)
{
    const ChnCalendarPickerModel m = modelOn(QDateTime(GetParam().date, QTime(10, 0)));
    QString expected = QString::fromUtf8(GetParam().line);
    if (expected.endsWith(QStringLiteral("农历")))
        expected += m.CnDate;
    EXPECT_EQ(m.selectedLine(), expected);
    EXPECT_EQ(m.CnDate, m.CnMonth + m.CnDay);
}

INSTANTIATE_TEST_SUITE_P(
    Years, ChosenDateLine,
    ::testing::Values(
        ChosenLineCase{"Year1948", QDate(1948, 6, 1), "[近、现代]中华民国  民国37年 农历四月廿四"},
        ChosenLineCase{"Year1949", QDate(1949, 1, 1), "1949-01-01 农历腊月初三"},
        // The era of the Julian year 1, whose 1 January is the Gregorian 30 December 1 BC.
        ChosenLineCase{"Year1", julian(1, 1, 1), "[西汉]哀帝 刘欣 元寿2年 农历"}, // lunar 1 BC
        ChosenLineCase{"JulianYear1500", julian(1500, 2, 29), "[明]孝宗 朱祐樘 弘治13年 农历"},
        ChosenLineCase{"Year2100", QDate(2100, 12, 31), "2100-12-31 农历腊月初一"}),
    [](const ::testing::TestParamInfo<ChosenLineCase> &p) { return std::string(p.param.name); });

TEST(InformationCells, ShowTheChosenDaysConstellationAndTheYearsNames)
{
    ChnCalendarPickerModel m = modelOn(at(2013, 3, 1));
    EXPECT_EQ(m.cell(40).DayText, QStringLiteral("双鱼"));
    ASSERT_TRUE(m.setDateTime(at(2013, 3, 25)));
    EXPECT_EQ(m.cell(40).DayText, QStringLiteral("白羊"));
    EXPECT_EQ(m.cell(41).DayText, QStringLiteral("癸巳"));
    EXPECT_EQ(m.cell(42).DayText, QStringLiteral("蛇年"));
    EXPECT_EQ(m.yearText(), QStringLiteral("2013"));
    EXPECT_EQ(m.monthText(), QStringLiteral("3"));
}

TEST(MonthColours, AChangeAppliesToTheShownMonthAtOnce)
{
    ChnCalendarPickerModel m = modelOn(at(2015, 2, 10));
    MonthColors colors = m.colors();
    colors.Date = QColor(1, 2, 3);
    colors.CnDate = QColor(4, 5, 6);
    colors.LunarHolDay = QColor(7, 8, 9);
    m.setColors(colors);
    EXPECT_EQ(m.cell(2).DateColor, QColor(1, 2, 3)); // Monday the 2nd
    EXPECT_EQ(m.cell(1).DateColor, QColor(Qt::red)); // Sunday stays red
    EXPECT_EQ(m.cell(2).CnColor, QColor(4, 5, 6));   // 十四
    EXPECT_EQ(m.cell(4).CnColor, QColor(7, 8, 9));   // 立春
    EXPECT_EQ(m.dateTime(), at(2015, 2, 10));
}

struct SelectCase {
    const char *name;
    int column;
    int row;
    bool allowed;
};

class Selectable : public ::testing::TestWithParam<SelectCase>
{};

// March 2013: days 1..31 in cells 6..36.
TEST_P(Selectable, OnlyTheShownMonthsDays)
{
    const ChnCalendarPickerModel m = modelOn(at(2013, 3, 15));
    EXPECT_EQ(m.selectable(GetParam().column, GetParam().row), GetParam().allowed);
}

INSTANTIATE_TEST_SUITE_P(Cells, Selectable,
                         ::testing::Values(SelectCase{"TheFirst", 6, 1, true},
                                           SelectCase{"TheLast", 1, 6, true},
                                           SelectCase{"BeforeTheFirst", 5, 1, false},
                                           SelectCase{"AfterTheLast", 2, 6, false},
                                           SelectCase{"TheHeaderRow", 6, 0, false},
                                           SelectCase{"TheWeekNumberColumn", 0, 3, false},
                                           SelectCase{"TheFillerColumn", 8, 3, false},
                                           SelectCase{"AnInformationCell", 5, 6, false}),
                         [](const ::testing::TestParamInfo<SelectCase> &p) {
                             return std::string(p.param.name);
                         });

// --- the month and year steps ---------------------------------------------------------------

struct StepCase {
    const char *name;
    QDateTime from;
    bool month; // month step, else year step
    Steppers stepped;
    std::optional<QDateTime> to;
};

class Steps : public ::testing::TestWithParam<StepCase>
{};

TEST_P(Steps, LeadToTheDateThatExists)
{
    const StepCase &c = GetParam();
    Steppers s = c.stepped;
    const std::optional<QDateTime> to = c.month ? monthStep(c.from, s) : yearStep(c.from, s);
    EXPECT_EQ(to, c.to);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Steps,
    ::testing::Values(
        StepCase{"DecemberUpIsJanuaryNextYear",
                 at(2013, 12, 5, QTime(9, 0)),
                 true,
                 {2013, 13},
                 at(2014, 1, 5)},
        StepCase{"JanuaryDownIsDecemberLastYear", at(2014, 1, 5), true, {2014, 0}, at(2013, 12, 5)},
        StepCase{"March31BackIsFebruary28", at(2013, 3, 31), true, {2013, 2}, at(2013, 2, 28)},
        StepCase{"March31BackInALeapYearIsFebruary29",
                 at(2012, 3, 31),
                 true,
                 {2012, 2},
                 at(2012, 2, 29)},
        StepCase{"January31ToFebruaryByTheMenu", at(2015, 1, 31), true, {2015, 2}, at(2015, 2, 28)},
        StepCase{"OnFromDecember2100IsRefused", at(2100, 12, 1), true, {2100, 13}, std::nullopt},
        StepCase{"BackFromJanuaryOfYear1IsRefused", julianAt(1, 1, 1), true, {1, 0}, std::nullopt},
        StepCase{"February29ToANonLeapYear", at(2012, 2, 29), false, {2013, 2}, at(2013, 2, 28)},
        StepCase{"ToYear1", at(2012, 6, 30, QTime(12, 0)), false, {1, 6}, julianAt(1, 6, 30)},
        // The day is lowered past the missing days of October 1582 to the 4th.
        StepCase{"September10IntoOctober1582IsThe4th",
                 julianAt(1582, 9, 10),
                 true,
                 {1582, 10},
                 julianAt(1582, 10, 4)},
        StepCase{"October4OnToNovember4", julianAt(1582, 10, 4), true, {1582, 11}, at(1582, 11, 4)},
        StepCase{"October15BackToJulianSeptember15",
                 at(1582, 10, 15),
                 true,
                 {1582, 9},
                 julianAt(1582, 9, 15)},
        StepCase{"January31ToJulianFebruary1500IsThe29th",
                 julianAt(1500, 1, 31),
                 true,
                 {1500, 2},
                 julianAt(1500, 2, 29)},
        StepCase{"JulianLeapDayToTheNextYearIsThe28th",
                 julianAt(1500, 2, 29),
                 false,
                 {1501, 2},
                 julianAt(1501, 2, 28)},
        StepCase{"GregorianLeapDayOf1600To1500KeepsThe29th",
                 at(1600, 2, 29),
                 false,
                 {1500, 2},
                 julianAt(1500, 2, 29)},
        StepCase{"JulianLeapDayOf1500To1700IsThe28th",
                 julianAt(1500, 2, 29),
                 false,
                 {1700, 2},
                 at(1700, 2, 28)}),
    [](const ::testing::TestParamInfo<StepCase> &p) { return std::string(p.param.name); });

TEST(Steps, WrappingMovesTheYearStepperWithinItsRange)
{
    Steppers s{2013, 13};
    monthStep(at(2013, 12, 5), s);
    EXPECT_EQ(s.year, 2014);
    EXPECT_EQ(s.month, 1);
    s = {2100, 13};
    monthStep(at(2100, 12, 5), s);
    EXPECT_EQ(s.year, 2100);
}

// --- grid layout and header -----------------------------------------------------------------

TEST(GridLayout, TheMainWindowsInstance)
{
    // 419 x 255 with the title: the grid is 404 x 188.
    const GridLayout g = layoutGrid(404, 188, 6, 18);
    EXPECT_EQ(g.rowHeights, (std::array<int, 7>{18, 27, 27, 27, 27, 27, 35}));
    EXPECT_EQ(g.columnWidths, (std::array<int, 9>{6, 55, 55, 55, 55, 55, 55, 55, 13}));
}

TEST(GridLayout, RowsAndColumnsAlwaysFillTheGrid)
{
    for (int w : {60, 298, 404, 1185}) {
        for (int h : {30, 186, 188, 733}) {
            const GridLayout g = layoutGrid(w, h, 18, 18);
            int sumW = 0, sumH = 0;
            for (int x : g.columnWidths)
                sumW += x;
            for (int y : g.rowHeights)
                sumH += y;
            EXPECT_EQ(sumW, w);
            EXPECT_EQ(sumH, h);
            EXPECT_GE(g.columnWidths[8], 7);
            EXPECT_LE(g.columnWidths[8], 13);
        }
    }
}

TEST(WeekdayHeader, LongNamesFrom39Pixels)
{
    EXPECT_EQ(weekdayHeaderText(1, 38, false), QStringLiteral("日"));
    EXPECT_EQ(weekdayHeaderText(7, 38, false), QStringLiteral("六"));
    EXPECT_EQ(weekdayHeaderText(1, 39, false), QStringLiteral("星期日"));
    EXPECT_EQ(weekdayHeaderText(2, 55, false), QStringLiteral("星期一"));
    EXPECT_EQ(weekdayHeaderText(7, 55, false), QStringLiteral("星期六"));
    EXPECT_EQ(weekdayHeaderText(0, 18, true), QStringLiteral("W"));
    EXPECT_EQ(weekdayHeaderText(0, 6, false), QString());
    EXPECT_EQ(weekdayHeaderText(8, 13, true), QString());
}

// --- drawing arithmetic ---------------------------------------------------------------------

struct FitCase {
    const char *name;
    QSize picture;
    bool center;
    bool stretch;
    QRect placed; // in a 400 x 200 control
};

class Placement : public ::testing::TestWithParam<FitCase>
{};

TEST_P(Placement, PutsThePictureWhereItsFlagsSay)
{
    const FitCase &c = GetParam();
    EXPECT_EQ(picturePlacement(c.picture, QSize(400, 200), c.center, c.stretch), c.placed);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Placement,
    ::testing::Values(
        FitCase{"OwnSizeAtTheCorner", QSize(100, 50), false, false, QRect(0, 0, 100, 50)},
        FitCase{"LargerCentredIsCutOnAllSides", QSize(600, 300), true, false,
                QRect(-100, -50, 600, 300)},
        FitCase{"WideStretchedToTheWidthThenLimitedByTheHeight", QSize(300, 100), false, true,
                QRect(0, 0, 400, 133)},
        FitCase{"WideButNotWideEnoughFitsTheHeight", QSize(150, 100), true, true,
                QRect(50, 0, 300, 200)},
        FitCase{"TallFitsTheHeightCentred", QSize(100, 300), true, true, QRect(167, 0, 66, 200)},
        FitCase{"NoAreaPlacesNothing", QSize(0, 100), true, true, QRect()}),
    [](const ::testing::TestParamInfo<FitCase> &p) { return std::string(p.param.name); });

QImage filled(QSize size, QColor color)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(color);
    return image;
}

TEST(LayerBlend, MixesByThePercentageAndSkipsTheKeyColour)
{
    QImage source = filled(QSize(4, 4), QColor(200, 100, 0));
    source.setPixelColor(0, 0, Qt::blue); // the key: every pure blue pixel is skipped
    source.setPixelColor(3, 3, Qt::blue);
    QImage dst = filled(QSize(6, 6), QColor(0, 100, 200));
    layerBlend(dst, source, QPoint(1, 1), 50);
    EXPECT_EQ(dst.pixelColor(2, 2), QColor(100, 100, 100));
    EXPECT_EQ(dst.pixelColor(1, 1), QColor(0, 100, 200)); // key
    EXPECT_EQ(dst.pixelColor(4, 4), QColor(0, 100, 200)); // key
    EXPECT_EQ(dst.pixelColor(0, 0), QColor(0, 100, 200)); // outside the source
    layerBlend(dst, source, QPoint(1, 1), 25, QRgb(0));
    EXPECT_EQ(dst.pixelColor(1, 1), QColor(0, 75, 213)) << "an explicit key blends the blue";
}

TEST(LayerBlend, ZeroAndHundredPercentLeaveTheDestination)
{
    const QImage source = filled(QSize(8, 8), QColor(10, 20, 30));
    for (int percentage : {0, 100}) {
        QImage dst = filled(QSize(8, 8), QColor(250, 250, 250));
        layerBlend(dst, source, QPoint(0, 0), percentage, QRgb(0));
        EXPECT_EQ(dst, filled(QSize(8, 8), QColor(250, 250, 250))) << percentage;
    }
}

TEST(LayerBlend, APartlyOutsideSourceTouchesOnlyTheDestination)
{
    QImage dst = filled(QSize(4, 4), QColor(0, 0, 0));
    const QImage source = filled(QSize(4, 4), QColor(200, 200, 200));
    layerBlend(dst, source, QPoint(-2, 3), 50, QRgb(0));
    EXPECT_EQ(dst.pixelColor(0, 3), QColor(100, 100, 100));
    EXPECT_EQ(dst.pixelColor(1, 3), QColor(100, 100, 100));
    EXPECT_EQ(dst.pixelColor(2, 3), QColor(0, 0, 0));
    EXPECT_EQ(dst.pixelColor(0, 2), QColor(0, 0, 0));
}

TEST(Gradient, BandsCoverTheRectangleOnceFromStartToEnd)
{
    const QColor start(0x00, 0xAE, 0x53), end(0x00, 0xD5, 0x65);
    for (int h : {1, 27, 35, 256, 300}) {
        const std::vector<GradientBand> bands = gradientBands(start, end, h);
        ASSERT_FALSE(bands.empty());
        int y = 0;
        for (const GradientBand &b : bands) {
            EXPECT_EQ(b.top, y) << "height " << h;
            EXPECT_GT(b.bottom, b.top);
            y = b.bottom;
        }
        EXPECT_EQ(y, h);
        // Short rectangles end on an earlier band: the last ones have no height there.
        if (h >= 256) {
            EXPECT_EQ(bands.back().color, end) << "height " << h;
        }
    }
    // With 256 rows every band is one row; band k adds round(k * delta) to the start.
    const std::vector<GradientBand> bands = gradientBands(QColor(0, 0, 0), QColor(128, 0, 0), 256);
    ASSERT_EQ(bands.size(), 256u);
    EXPECT_EQ(bands[0].color, QColor(0, 0, 0)); // 0.5 rounds to even: 0
    EXPECT_EQ(bands[1].color, QColor(1, 0, 0)); // 1.0
    EXPECT_EQ(bands[2].color, QColor(2, 0, 0)); // 1.5 rounds to even: 2
    EXPECT_EQ(bands[4].color, QColor(2, 0, 0)); // 2.5 rounds to even: 2
}

} // namespace
} // namespace tevuna
