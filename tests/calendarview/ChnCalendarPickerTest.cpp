// The control offscreen: event order, steppers, menus, keyboard, drawing.
#include "calendarview/ChnCalendarPicker.h"
#include "base/Clock.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QCalendar>
#include <QContextMenuEvent>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <stdexcept>
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

QDateTime julianAt(int y, int m, int d)
{
    return QDateTime(julian(y, m, d), QTime(0, 0));
}

// The grid cell (column, row) of a day of the shown month.
QPoint cellOfDay(const TChnCalendar &w, int day)
{
    for (int i = 1; i <= ChnCalendarPickerModel::kLastDayCell; ++i) {
        const TDayCell &c = w.model().cell(i);
        if (c.HasDate && c.Day == day)
            return QPoint((i - 1) % 7 + 1, (i - 1) / 7 + 1);
    }
    ADD_FAILURE() << "day " << day << " is not shown";
    return {};
}

QPoint centreOfDay(const TChnCalendar &w, int day)
{
    const QPoint c = cellOfDay(w, day);
    return w.dayGrid()->cellRect(c.x(), c.y()).center();
}

void sendMouse(QWidget *target, QEvent::Type type, QPoint pos, Qt::MouseButton button,
               Qt::MouseButtons buttons)
{
    QMouseEvent e(type, QPointF(pos), target->mapToGlobal(QPointF(pos)), button, buttons,
                  Qt::NoModifier);
    QApplication::sendEvent(target, &e);
}

class Control : public ::testing::Test
{
protected:
    void SetUp() override { Clock::install(&clock); }
    void TearDown() override { Clock::install(nullptr); }

    // A control as the main window holds it: 419 x 255, no frame, shown, on a date.
    TChnCalendar &make(const QDateTime &when, QWidget *parent = nullptr)
    {
        w = std::make_unique<TChnCalendar>(parent);
        w->setShowFrame(false);
        w->setStretch(true);
        w->setTransparent(true);
        w->setDateTime(when);
        w->resize(419, 255);
        if (!parent)
            w->show();
        record(*w);
        return *w;
    }
    void record(TChnCalendar &c)
    {
        QObject::connect(&c, &TChnCalendar::OnChange, [this] { events << "Change"; });
        QObject::connect(&c, &TChnCalendar::OnDateSelect, [this] { events << "DateSelect"; });
        QObject::connect(&c, &TChnCalendar::OnDateClick, [this] { events << "DateClick"; });
    }
    void clickDay(int day)
    {
        QTest::mouseClick(w->dayGrid(), Qt::LeftButton, {}, centreOfDay(*w, day));
    }

    FixedClock clock{QDateTime(QDate(2013, 1, 5), QTime(9, 30))};
    std::unique_ptr<TChnCalendar> w;
    QStringList events;
};

// --- mouse ----------------------------------------------------------------------------------

TEST_F(Control, ALeftClickOnAnotherDayRaisesSelectChangeThenSelectOnRelease)
{
    make(at(2013, 3, 15));
    clickDay(20);
    EXPECT_EQ(events, (QStringList{"DateSelect", "Change", "DateSelect"}));
    EXPECT_EQ(w->DateTime(), at(2013, 3, 20));
    EXPECT_EQ(w->dayGrid()->currentCell(), cellOfDay(*w, 20));
    // The first click set the pressed flag; the second, without leaving the grid, is a
    // date click as well.
    events.clear();
    clickDay(21);
    EXPECT_EQ(events, (QStringList{"DateSelect", "Change", "DateClick", "DateSelect"}));
    EXPECT_EQ(w->DateTime(), at(2013, 3, 21));
}

TEST_F(Control, AClickOnTheChosenDaySetsItsTimeToMidnight)
{
    make(at(2013, 1, 5, QTime(9, 30)));
    clickDay(5);
    EXPECT_EQ(events, (QStringList{"Change", "DateSelect"}));
    EXPECT_EQ(w->DateTime(), at(2013, 1, 5));
    events.clear();
    clickDay(5);
    EXPECT_EQ(events, (QStringList{"DateClick", "DateSelect"}));
}

TEST_F(Control, TheGridTakesTheFocusBeforeTheDateChanges)
{
    QWidget window;
    window.resize(419, 300);
    auto *memo = new QLineEdit(&window);
    memo->setGeometry(0, 260, 419, 30);
    auto *c = new TChnCalendar(&window);
    c->setGeometry(0, 0, 419, 255);
    c->setDateTime(at(2013, 3, 15));
    record(*c);
    struct FocusOut : QObject {
        QStringList *events;
        explicit FocusOut(QStringList *e) : events(e) {}
        bool eventFilter(QObject *, QEvent *e) override
        {
            if (e->type() == QEvent::FocusOut)
                *events << "MemoExit";
            return false;
        }
    } filter(&events);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    memo->setFocus();
    ASSERT_TRUE(memo->hasFocus());
    memo->installEventFilter(&filter);
    QTest::mouseClick(c->dayGrid(), Qt::LeftButton, {}, centreOfDay(*c, 20));
    EXPECT_EQ(events, (QStringList{"MemoExit", "DateSelect", "Change", "DateSelect"}));
    EXPECT_TRUE(c->dayGrid()->hasFocus());
    // The title bar's steppers take it for the grid as well, so the memo is saved first.
    memo->setFocus();
    events.clear();
    QTest::mouseClick(c->findChild<TUpDown *>("udMonth")->findChild<QToolButton *>("Up"),
                      Qt::LeftButton);
    memo->removeEventFilter(&filter);
    EXPECT_EQ(events, (QStringList{"MemoExit", "Change"}));
    EXPECT_EQ(c->DateTime(), at(2013, 4, 20));
}

TEST_F(Control, PressingOnOneDateAndReleasingOnAnotherChoosesBoth)
{
    make(at(2013, 3, 15));
    TChnDayGrid *grid = w->dayGrid();
    sendMouse(grid, QEvent::MouseButtonPress, centreOfDay(*w, 10), Qt::LeftButton, Qt::LeftButton);
    // Over an empty cell and the header the current cell stays where it is.
    sendMouse(grid, QEvent::MouseMove, grid->cellRect(3, 0).center(), Qt::NoButton, Qt::LeftButton);
    sendMouse(grid, QEvent::MouseMove, centreOfDay(*w, 12), Qt::NoButton, Qt::LeftButton);
    sendMouse(grid, QEvent::MouseButtonRelease, centreOfDay(*w, 12), Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(events.count("Change"), 2);
    EXPECT_EQ(w->DateTime(), at(2013, 3, 12));
    EXPECT_EQ(events.last(), "DateSelect");
}

TEST_F(Control, APointerHeldBelowTheGridStepsTheSelectionDownToTheLastDay)
{
    make(at(2013, 3, 15));
    TChnDayGrid *grid = w->dayGrid();
    sendMouse(grid, QEvent::MouseButtonPress, centreOfDay(*w, 10), Qt::LeftButton, Qt::LeftButton);
    const QPoint below(centreOfDay(*w, 10).x(), grid->height() + 20);
    sendMouse(grid, QEvent::MouseMove, below, Qt::NoButton, Qt::LeftButton);
    // One row a step: the 17th, the 24th, the 31st, and no further.
    EXPECT_TRUE(QTest::qWaitFor([&] { return w->DateTime() == at(2013, 3, 31); }, 5000));
    sendMouse(grid, QEvent::MouseButtonRelease, below, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(events.count("Change"), 4);
    EXPECT_EQ(w->DateTime(), at(2013, 3, 31));
}

TEST_F(Control, ARightPressSetsThePressedFlagButChoosesNothingAndLeavingClearsIt)
{
    make(at(2013, 3, 15));
    QTest::mousePress(w->dayGrid(), Qt::RightButton, {}, centreOfDay(*w, 20));
    QTest::mouseRelease(w->dayGrid(), Qt::RightButton, {}, centreOfDay(*w, 20));
    EXPECT_EQ(w->DateTime(), at(2013, 3, 15));
    EXPECT_TRUE(events.isEmpty());
    EXPECT_TRUE(w->mousePressed());
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(w->dayGrid(), &leave);
    EXPECT_FALSE(w->mousePressed());
    clickDay(21);
    EXPECT_FALSE(events.contains("DateClick"));
}

struct DayClickCase {
    const char *name;
    QDate shown;
    int day;
    QDate chosen;
};

class DayClick : public Control, public ::testing::WithParamInterface<DayClickCase>
{};

TEST_P(DayClick, ChoosesTheDayTheCellIsLabelledWith)
{
    const DayClickCase &c = GetParam();
    make(QDateTime(c.shown, QTime(0, 0)));
    clickDay(c.day);
    EXPECT_EQ(w->DateTime(), QDateTime(c.chosen, QTime(0, 0)));
    EXPECT_EQ(w->dayGrid()->currentCell(), cellOfDay(*w, c.day));
}

INSTANTIATE_TEST_SUITE_P(
    JulianMonths, DayClick,
    ::testing::Values(DayClickCase{"TheJulianLeapDay", julian(1500, 2, 1), 29, julian(1500, 2, 29)},
                      DayClickCase{"TheLastJulianDay", QDate(1582, 10, 20), 4, julian(1582, 10, 4)},
                      DayClickCase{"TheFirstGregorianDay", julian(1582, 10, 1), 15,
                                   QDate(1582, 10, 15)}),
    [](const ::testing::TestParamInfo<DayClickCase> &p) { return std::string(p.param.name); });

TEST_F(Control, TheArrowKeysStepOverTheMissingDaysOf1582)
{
    make(julianAt(1582, 10, 4));
    QTest::keyClick(w->dayGrid(), Qt::Key_Right);
    EXPECT_EQ(w->DateTime(), at(1582, 10, 15));
    QTest::keyClick(w->dayGrid(), Qt::Key_Up);
    EXPECT_EQ(w->DateTime(), at(1582, 10, 15)) << "the header row holds no day";
    QTest::keyClick(w->dayGrid(), Qt::Key_Down);
    EXPECT_EQ(w->DateTime(), at(1582, 10, 22));
}

TEST_F(Control, AFailingDateClickHandlerSendsTheControlToToday)
{
    make(at(2013, 3, 15));
    QObject::connect(w.get(), &TChnCalendar::OnDateClick,
                     [] { throw std::runtime_error("handler failed"); });
    clickDay(20);
    clickDay(21);
    EXPECT_EQ(w->DateTime(), clock.now());
    EXPECT_EQ(w->dayGrid()->currentCell(), cellOfDay(*w, 5));
}

TEST_F(Control, AFailingChangeHandlerIsSwallowedAndTheMonthIsComplete)
{
    make(at(2013, 3, 15));
    QObject::connect(w.get(), &TChnCalendar::OnChange,
                     [] { throw std::runtime_error("handler failed"); });
    w->setDateTime(at(2015, 2, 14));
    EXPECT_EQ(w->DateTime(), at(2015, 2, 14));
    EXPECT_EQ(w->model().cell(28).Day, 28);
    EXPECT_EQ(w->dayGrid()->currentCell(), QPoint(7, 2));
    EXPECT_EQ(w->findChild<QLabel *>("lblYear")->text(), "2015");
}

// --- keyboard -------------------------------------------------------------------------------

struct KeyCase {
    const char *name;
    QDate from;
    int key;
    QDate to;
    bool reportsClick; // the key asked for a move, allowed or not
};

class Keys : public Control, public ::testing::WithParamInterface<KeyCase>
{};

// The pointer rests over the chosen day, so a reported click raises OnDateSelect exactly
// when the current cell stays under it.
TEST_P(Keys, MoveTheSelectionWithinTheMonthOnly)
{
    const KeyCase &c = GetParam();
    make(QDateTime(c.from, QTime(0, 0)));
    sendMouse(w->dayGrid(), QEvent::MouseMove, centreOfDay(*w, c.from.day()), Qt::NoButton,
              Qt::NoButton);
    events.clear();
    QTest::keyClick(w->dayGrid(), static_cast<Qt::Key>(c.key));
    EXPECT_EQ(w->DateTime().date(), c.to);
    EXPECT_EQ(w->dayGrid()->currentCell(), cellOfDay(*w, c.to.day()));
    const bool moved = c.to != c.from;
    EXPECT_EQ(events.contains("Change"), moved);
    EXPECT_EQ(events.contains("DateSelect"), c.reportsClick && !moved);
}

INSTANTIATE_TEST_SUITE_P(
    March2013, Keys,
    ::testing::Values(
        KeyCase{"RightToTheNextDay", QDate(2013, 3, 1), Qt::Key_Right, QDate(2013, 3, 2), true},
        KeyCase{"DownToNextWeek", QDate(2013, 3, 2), Qt::Key_Down, QDate(2013, 3, 9), true},
        KeyCase{"LeftToTheDayBefore", QDate(2013, 3, 9), Qt::Key_Left, QDate(2013, 3, 8), true},
        KeyCase{"NotOntoTheHeader", QDate(2013, 3, 2), Qt::Key_Up, QDate(2013, 3, 2), true},
        KeyCase{"NotOntoTheFillerColumn", QDate(2013, 3, 2), Qt::Key_Right, QDate(2013, 3, 2),
                true},
        KeyCase{"NotOntoAnEmptyCell", QDate(2013, 3, 1), Qt::Key_Left, QDate(2013, 3, 1), true},
        KeyCase{"NotOntoTheWeekNumbers", QDate(2013, 3, 31), Qt::Key_Left, QDate(2013, 3, 31),
                true},
        KeyCase{"NotPastTheLastRow", QDate(2013, 3, 31), Qt::Key_Down, QDate(2013, 3, 31), false},
        KeyCase{"NotOntoAnInformationCell", QDate(2013, 3, 2), Qt::Key_PageDown, QDate(2013, 3, 2),
                true},
        KeyCase{"PageDownToTheLastRow", QDate(2013, 3, 24), Qt::Key_PageDown, QDate(2013, 3, 31),
                true},
        KeyCase{"HomeIsTheWeekNumberColumn", QDate(2013, 3, 20), Qt::Key_Home, QDate(2013, 3, 20),
                true}),
    [](const ::testing::TestParamInfo<KeyCase> &p) { return std::string(p.param.name); });

// --- title bar ------------------------------------------------------------------------------

struct StepperCase {
    const char *name;
    QDateTime from;
    const char *stepper;
    const char *arrow;
    QDateTime to;
};

class Stepper : public Control, public ::testing::WithParamInterface<StepperCase>
{};

TEST_P(Stepper, ReachesTheSteppedDateOrStays)
{
    const StepperCase &c = GetParam();
    make(c.from);
    events.clear();
    auto *stepper = w->findChild<TUpDown *>(c.stepper);
    ASSERT_NE(stepper, nullptr);
    ASSERT_TRUE(stepper->isVisible());
    QTest::mouseClick(stepper->findChild<QToolButton *>(c.arrow), Qt::LeftButton);
    EXPECT_EQ(w->DateTime(), c.to);
    EXPECT_EQ(events.contains("Change"), c.to != c.from);
    // The steppers always show the chosen date.
    EXPECT_EQ(w->findChild<TUpDown *>("udYear")->value(), c.to.date().year());
    EXPECT_EQ(w->findChild<TUpDown *>("udMonth")->value(), c.to.date().month());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Stepper,
    ::testing::Values(
        StepperCase{"MonthUpFromDecember", at(2013, 12, 31, QTime(8, 0)), "udMonth", "Up",
                    at(2014, 1, 31)},
        StepperCase{"MonthDownFromJanuary", at(2014, 1, 5), "udMonth", "Down", at(2013, 12, 5)},
        StepperCase{"MonthDownFromMarch31", at(2013, 3, 31), "udMonth", "Down", at(2013, 2, 28)},
        StepperCase{"YearUpFromALeapDay", at(2012, 2, 29), "udYear", "Up", at(2013, 2, 28)},
        StepperCase{"MonthUpFromDecember2100Stays", at(2100, 12, 31), "udMonth", "Up",
                    at(2100, 12, 31)},
        StepperCase{"YearUpFrom2100Stays", at(2100, 6, 1, QTime(7, 0)), "udYear", "Up",
                    at(2100, 6, 1, QTime(7, 0))},
        StepperCase{"MonthDownFromJanuaryOfYear1Stays", at(1, 1, 1), "udMonth", "Down",
                    at(1, 1, 1)},
        StepperCase{"YearDownToYear1", at(2, 3, 4), "udYear", "Down", at(1, 3, 4)}),
    [](const ::testing::TestParamInfo<StepperCase> &p) { return std::string(p.param.name); });

struct StepRunCase {
    const char *name;
    QDateTime from;
    const char *stepper;
    const char *arrow;
    std::vector<QDateTime> reached; // after each click
};

class StepRun : public Control, public ::testing::WithParamInterface<StepRunCase>
{};

TEST_P(StepRun, FollowsTheJulianMonthsAndTheSwitchOf1582)
{
    const StepRunCase &c = GetParam();
    make(c.from);
    auto *stepper = w->findChild<TUpDown *>(c.stepper);
    ASSERT_NE(stepper, nullptr);
    for (const QDateTime &expected : c.reached) {
        QTest::mouseClick(stepper->findChild<QToolButton *>(c.arrow), Qt::LeftButton);
        ASSERT_EQ(w->DateTime(), expected);
        const CalendarDate labels = toCalendarDate(expected.date());
        EXPECT_EQ(w->findChild<TUpDown *>("udYear")->value(), labels.year);
        EXPECT_EQ(w->findChild<TUpDown *>("udMonth")->value(), labels.month);
        EXPECT_EQ(w->findChild<QLabel *>("lblMonth")->text(), QString::number(labels.month));
        EXPECT_EQ(w->dayGrid()->currentCell(), cellOfDay(*w, labels.day));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StepRun,
    ::testing::Values(
        StepRunCase{"MonthUpThroughOctober1582",
                    julianAt(1582, 9, 30),
                    "udMonth",
                    "Up",
                    {at(1582, 10, 30), at(1582, 11, 30)}},
        StepRunCase{"MonthDownThroughOctober1582",
                    at(1582, 11, 30),
                    "udMonth",
                    "Down",
                    {at(1582, 10, 30), julianAt(1582, 9, 30)}},
        // The 10th does not exist in October 1582: lowered to the 4th, it stays the 4th.
        StepRunCase{"MonthUpIntoTheMissingDays",
                    julianAt(1582, 9, 10),
                    "udMonth",
                    "Up",
                    {julianAt(1582, 10, 4), at(1582, 11, 4)}},
        StepRunCase{"MonthUpFromJanuary31IntoJulianFebruary",
                    julianAt(1500, 1, 31),
                    "udMonth",
                    "Up",
                    {julianAt(1500, 2, 29), julianAt(1500, 3, 29)}},
        StepRunCase{"YearUpFromTheJulianLeapDay",
                    julianAt(1500, 2, 29),
                    "udYear",
                    "Up",
                    {julianAt(1501, 2, 28), julianAt(1502, 2, 28)}},
        StepRunCase{"YearUpOntoTheJulianLeapYear",
                    julianAt(1499, 2, 28),
                    "udYear",
                    "Up",
                    {julianAt(1500, 2, 28), julianAt(1501, 2, 28)}}),
    [](const ::testing::TestParamInfo<StepRunCase> &p) { return std::string(p.param.name); });

TEST_F(Control, TheTodayLinkAndTheLabelsReactToTheMouse)
{
    make(at(2015, 2, 14));
    auto *today = w->findChild<QLabel *>("lblToday");
    EXPECT_EQ(today->text(), "今天");
    EXPECT_EQ(today->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(w->findChild<QLabel *>("lblSelected")->cursor().shape(), Qt::ArrowCursor);
    QTest::mouseClick(today, Qt::LeftButton);
    EXPECT_EQ(w->DateTime(), clock.now());

    auto *month = w->findChild<QMenu *>("MenuMonth");
    QTest::mouseClick(w->findChild<QLabel *>("lblMonth"), Qt::LeftButton);
    EXPECT_TRUE(month->isVisible());
    month->hide();
    auto *year = w->findChild<QMenu *>("MenuYear");
    QContextMenuEvent menuKey(QContextMenuEvent::Mouse, QPoint(2, 2), QPoint(100, 100));
    QApplication::sendEvent(w->findChild<QLabel *>("lblYearSign"), &menuKey);
    EXPECT_TRUE(year->isVisible());
    year->hide();
    // The grid offers the year menu only while the title bar is hidden.
    QContextMenuEvent onGrid(QContextMenuEvent::Mouse, QPoint(50, 50), QPoint(100, 100));
    QApplication::sendEvent(w->dayGrid(), &onGrid);
    EXPECT_FALSE(year->isVisible());
    w->setShowTitle(false);
    QApplication::sendEvent(w->dayGrid(), &onGrid);
    EXPECT_TRUE(year->isVisible());
    year->hide();
}

TEST_F(Control, TitleLabelsShowTheChosenYearAndMonth)
{
    make(at(1948, 11, 3));
    EXPECT_EQ(w->findChild<QLabel *>("lblYear")->text(), "1948");
    auto *month = w->findChild<QLabel *>("lblMonth");
    EXPECT_EQ(month->text(), "11");
    const int right = month->geometry().right();
    w->setDateTime(at(1948, 2, 3));
    EXPECT_EQ(month->text(), "2");
    EXPECT_EQ(month->geometry().right(), right) << "the number ends left of the month sign";
    EXPECT_LT(right, w->findChild<QLabel *>("lblMonthSign")->x() + 2);
    EXPECT_TRUE(w->findChild<QLabel *>("lblSelected")->text().startsWith("[近、现代]中华民国"));
}

// --- menus ----------------------------------------------------------------------------------

QAction *action(const TChnCalendar &w, const char *name)
{
    auto *a = w.findChild<QAction *>(name);
    EXPECT_NE(a, nullptr) << name;
    return a;
}

TEST_F(Control, TheMonthMenuHasTodayAndTheTwelveChineseMonthNames)
{
    make(at(2015, 1, 31));
    const QList<QAction *> entries = w->findChild<QMenu *>("MenuMonth")->actions();
    ASSERT_EQ(entries.size(), 14);
    EXPECT_EQ(entries[0]->objectName(), "MenuMonth_ToDay");
    EXPECT_EQ(entries[0]->text(), "今日");
    EXPECT_TRUE(entries[0]->font().bold());
    EXPECT_EQ(w->findChild<QMenu *>("MenuMonth")->defaultAction(), entries[0]);
    EXPECT_TRUE(entries[1]->isSeparator());
    EXPECT_EQ(entries[1]->objectName(), "MenuMonth_ToDay_");
    const char *names[] = {"一月", "二月", "三月", "四月", "五月",   "六月",
                           "七月", "八月", "九月", "十月", "十一月", "十二月"};
    for (int m = 1; m <= 12; ++m) {
        EXPECT_EQ(entries[m + 1]->objectName(), QStringLiteral("MenuMonth_%1").arg(m - 1));
        EXPECT_EQ(entries[m + 1]->text(), QString::fromUtf8(names[m - 1]));
        EXPECT_EQ(entries[m + 1]->data().toInt(), m);
    }
    action(*w, "MenuMonth_1")->trigger();
    EXPECT_EQ(w->DateTime(), at(2015, 2, 28));
    action(*w, "MenuMonth_ToDay")->trigger();
    EXPECT_EQ(w->DateTime(), clock.now());
}

TEST_F(Control, TheYearMenuOffersTheDecadeYearsFrom10AndEveryYearFrom1900)
{
    make(at(2015, 1, 31));
    auto *menu = w->findChild<QMenu *>("MenuYear");
    const QList<QAction *> entries = menu->actions();
    ASSERT_EQ(entries.size(), 24);
    EXPECT_EQ(entries[0]->objectName(), "MenuYear_ToDay");
    EXPECT_EQ(menu->defaultAction(), entries[0]);
    EXPECT_EQ(entries[1]->objectName(), "MenuYear_ToDay_1");
    EXPECT_EQ(entries[2]->text(), "历史日期");
    EXPECT_EQ(entries[3]->objectName(), "MenuYear_ToDay_2");

    QList<int> offered;
    auto *history = w->findChild<QMenu *>("MenuYear_History");
    ASSERT_EQ(history->actions().size(), 19);
    for (int k = 0; k < 19; ++k) {
        const int r = 10 + 100 * k;
        QMenu *century = history->actions()[k]->menu();
        ASSERT_NE(century, nullptr);
        EXPECT_EQ(century->title(), QString::number(r - 10));
        EXPECT_EQ(century->objectName(), QStringLiteral("MenuYear_History_%1").arg(r));
        ASSERT_EQ(century->actions().size(), 10);
        for (int j = 0; j < 10; ++j) {
            QAction *year = century->actions()[j];
            EXPECT_EQ(year->objectName(), QStringLiteral("MenuYear_History_%1").arg(r + 10 * j));
            EXPECT_EQ(year->text(), QString::number(r + 10 * j));
            offered << year->data().toInt();
        }
    }
    for (int k = 0; k < 20; ++k) {
        const int d = 1900 + 10 * k;
        QMenu *decade = entries[4 + k]->menu();
        ASSERT_NE(decade, nullptr);
        EXPECT_EQ(decade->title(), QString::number(d));
        EXPECT_EQ(decade->objectName(), QStringLiteral("MenuYear_%1").arg(d));
        ASSERT_EQ(decade->actions().size(), 10);
        for (int j = 0; j < 10; ++j) {
            EXPECT_EQ(decade->actions()[j]->objectName(), QStringLiteral("MenuYear_%1").arg(d + j));
            offered << decade->actions()[j]->data().toInt();
        }
    }
    EXPECT_EQ(*std::min_element(offered.begin(), offered.end()), 10);
    EXPECT_EQ(*std::max_element(offered.begin(), offered.end()), 2099);

    // 1900 from its decade and from the century submenu captioned 1800 lead to one date.
    decltype(entries) decade1900 = w->findChild<QMenu *>("MenuYear_1900")->actions();
    decade1900[0]->trigger();
    const QDateTime viaDecade = w->DateTime();
    w->setDateTime(at(2015, 1, 31));
    w->findChild<QMenu *>("MenuYear_History_1810")->actions().last()->trigger();
    EXPECT_EQ(w->DateTime(), viaDecade);
    EXPECT_EQ(viaDecade, at(1900, 1, 31));
}

// --- window creation and properties ---------------------------------------------------------

TEST_F(Control, WindowCreationGoesToTodayAndShowsTheTitle)
{
    TChnCalendar fresh;
    record(fresh);
    EXPECT_EQ(fresh.size(), QSize(313, 253));
    EXPECT_FALSE(fresh.DateTime().isValid());
    EXPECT_FALSE(fresh.ShowTitle());
    fresh.show();
    EXPECT_EQ(fresh.DateTime(), clock.now());
    EXPECT_EQ(events, QStringList{"Change"});
    EXPECT_TRUE(fresh.ShowTitle());
    EXPECT_EQ(fresh.dayGrid()->geometry(), QRect(8, 40, 298, 186));
    EXPECT_EQ(fresh.findChild<QMenu *>("MenuMonth")->actions().size(), 14);

    // A date chosen before the window exists is kept.
    TChnCalendar early;
    early.setDateTime(at(2015, 2, 14));
    early.show();
    EXPECT_EQ(early.DateTime(), at(2015, 2, 14));
}

TEST_F(Control, RefusedDatesChangeNothingOnScreen)
{
    make(at(2100, 12, 31));
    const QImage before = w->grab().toImage();
    events.clear();
    w->setDateTime(at(2101, 1, 1));
    w->setDateTime(QDateTime());
    w->setDateTime(at(2100, 12, 31));
    EXPECT_TRUE(events.isEmpty());
    EXPECT_EQ(w->grab().toImage(), before);
}

TEST_F(Control, InitialPropertyValues)
{
    TChnCalendar c;
    EXPECT_FALSE(c.ShowWeekNum());
    EXPECT_TRUE(c.ShowFrame());
    EXPECT_TRUE(c.ShowBackYearMonth());
    EXPECT_TRUE(c.ShowWeekNumLine());
    EXPECT_FALSE(c.HideSelection());
    EXPECT_EQ(c.FontDate().family(), "黑体");
    EXPECT_EQ(c.FontDate().pointSize(), 9);
    EXPECT_TRUE(c.FontDate().bold());
    EXPECT_EQ(c.FontCnDate().family(), "宋体");
    EXPECT_EQ(c.ColorTitleWeekEnd(), QColor(255, 0, 0));
    EXPECT_EQ(c.ColorLunarHolDay(), QColor(0x53, 0x53, 0xFF));
    EXPECT_EQ(c.ColorHoliday(), QColor(0xFF, 0x80, 0x00));
    EXPECT_EQ(c.ColorSelectedStart(), QColor(0x00, 0xAE, 0x53));
    EXPECT_EQ(c.ColorBackYear(), QColor(0xFF, 0xE8, 0xDD));
    EXPECT_EQ(c.ColorTitleMonth(), QColor(0x80, 0x80, 0xC0));
    EXPECT_EQ(c.ColorTitleToday(), QColor(0, 0, 255));
    EXPECT_EQ(c.ColorTitleSelected(), QColor(0x80, 0x80, 0x80));
    EXPECT_EQ(c.AlphaBlend(), 50);
    EXPECT_FALSE(c.Center() || c.Stretch() || c.Transparent());
    c.setColorTitleToday(QColor(1, 2, 3));
    EXPECT_EQ(c.findChild<QLabel *>("lblToday")->palette().color(QPalette::WindowText),
              QColor(1, 2, 3));
}

TEST_F(Control, ADayColourChangeRebuildsTheMonthWithoutAChangeEvent)
{
    make(at(2015, 2, 10));
    events.clear();
    w->setColorDate(QColor(1, 2, 3));
    EXPECT_EQ(w->model().cell(2).DateColor, QColor(1, 2, 3));
    EXPECT_TRUE(events.isEmpty());
}

// --- drawing --------------------------------------------------------------------------------

QImage gridImage(TChnCalendar &w)
{
    return w.dayGrid()->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

QImage layerUnderGrid(const TChnCalendar &w)
{
    return w.backgroundLayer().copy(w.dayGrid()->geometry());
}

// Where in r the drawing visibly differs from the background; the faintest fringes of
// antialiasing do not count.
QRect inkIn(const QImage &drawn, const QImage &background, const QRect &r)
{
    constexpr int kVisible = 24;
    QRect ink;
    for (int y = r.top(); y <= r.bottom(); ++y) {
        for (int x = r.left(); x <= r.right(); ++x) {
            const QRgb a = drawn.pixel(x, y), b = background.pixel(x, y);
            if (std::abs(qRed(a) - qRed(b)) > kVisible ||
                std::abs(qGreen(a) - qGreen(b)) > kVisible ||
                std::abs(qBlue(a) - qBlue(b)) > kVisible)
                ink |= QRect(x, y, 1, 1);
        }
    }
    return ink;
}

TEST_F(Control, ThePaintedControlIsTheLayerUnderItsLabelsAndGrid)
{
    make(at(2015, 2, 14));
    const qint64 layer = w->backgroundLayer().cacheKey();
    const QImage shot = w->grab().toImage().convertToFormat(QImage::Format_RGB32);
    // Below the grid's right end nothing lies over the layer.
    EXPECT_EQ(shot.pixel(415, 240), w->backgroundLayer().pixel(415, 240));
    // A repaint copies the layer; it does not render it again.
    w->update();
    w->repaint();
    EXPECT_EQ(w->backgroundLayer().cacheKey(), layer);
    w->setDateTime(at(2015, 3, 14));
    EXPECT_NE(w->backgroundLayer().cacheKey(), layer);
}

struct LayoutCase {
    const char *name;
    QDate date;
    QSize size;
};

class DayCellInk : public Control, public ::testing::WithParamInterface<LayoutCase>
{};

// Day number and lunar text stay off every edge of their cell, so no glyph is cut, and the
// two never touch.
TEST_P(DayCellInk, StaysInsideItsCell)
{
    make(QDateTime(GetParam().date, QTime(0, 0)));
    w->resize(GetParam().size);
    const QImage drawn = gridImage(*w);
    const QImage under = layerUnderGrid(*w);
    for (int i = 1; i <= ChnCalendarPickerModel::kLastDayCell; ++i) {
        const QPoint cell((i - 1) % 7 + 1, (i - 1) / 7 + 1);
        if (!w->model().cell(i).HasDate || cell == w->dayGrid()->currentCell())
            continue;
        const QRect r = w->dayGrid()->cellRect(cell.x(), cell.y());
        const QRect ink = inkIn(drawn, under, r);
        ASSERT_FALSE(ink.isEmpty()) << "cell " << i;
        EXPECT_GT(ink.top(), r.top()) << "cell " << i;
        EXPECT_LT(ink.bottom(), r.bottom()) << "cell " << i;
        EXPECT_GT(ink.left(), r.left()) << "cell " << i;
        EXPECT_LT(ink.right(), r.right()) << "cell " << i;
        // An empty pixel row between the number and the lunar text.
        const QRect top(r.left(), r.top(), r.width(), r.height() / 2);
        const QRect bottom(r.left(), r.top() + r.height() / 2, r.width(),
                           r.height() - r.height() / 2);
        EXPECT_FALSE(inkIn(drawn, under, top).isEmpty()) << "cell " << i;
        EXPECT_FALSE(inkIn(drawn, under, bottom).isEmpty()) << "cell " << i;
        EXPECT_LT(inkIn(drawn, under, top).bottom() + 1, inkIn(drawn, under, bottom).top())
            << "cell " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, DayCellInk,
    ::testing::Values(LayoutCase{"MainWindow", QDate(2015, 2, 14), QSize(419, 255)},
                      LayoutCase{"Created", QDate(2013, 3, 31), QSize(313, 253)},
                      LayoutCase{"Enlarged", QDate(2023, 3, 22), QSize(1200, 800)}),
    [](const ::testing::TestParamInfo<LayoutCase> &p) { return std::string(p.param.name); });

TEST_F(Control, DrawingHooksReplaceTextOrTakeTheDrawingOver)
{
    make(at(2015, 2, 14));
    const QImage plain = gridImage(*w);
    const QRect selected = w->dayGrid()->cellRect(7, 2);
    const QRect other = w->dayGrid()->cellRect(2, 1); // the 2nd
    QList<int> days;
    QObject::connect(w.get(), &TChnCalendar::OnDrawDateCell, [&](TDrawDateCellArgs &a) {
        days << a.Day;
        EXPECT_EQ(a.R.topLeft(), QPoint(0, 0));
        if (a.Day == 2)
            a.Text = QStringLiteral("9");
    });
    QObject::connect(w.get(), &TChnCalendar::OnDrawCnDateCell, [&](TDrawDateCellArgs &a) {
        if (a.Selected)
            a.defaultDraw = false;
    });
    const QImage hooked = gridImage(*w);
    EXPECT_EQ(days.size(), 28);
    EXPECT_NE(hooked.copy(other), plain.copy(other));
    // Without the default drawing of its lunar text the chosen cell has no frame either;
    // its gradient is still drawn.
    const QColor frame = w->ColorSelectedFrame();
    EXPECT_EQ(plain.pixelColor(selected.topLeft()), frame);
    EXPECT_NE(hooked.pixelColor(selected.topLeft()), frame);
    EXPECT_EQ(hooked.pixelColor(selected.topLeft()),
              hooked.pixelColor(selected.topLeft() + QPoint(1, 0)));
    EXPECT_NE(hooked.pixel(selected.topLeft()), layerUnderGrid(*w).pixel(selected.topLeft()));
    const int h = selected.height();
    EXPECT_TRUE(inkIn(hooked, plain,
                      QRect(selected.left() + 2, selected.top() + h / 2 + 1, selected.width() - 4,
                            h / 2 - 2))
                    .isValid())
        << "the lunar text is gone";
}

TEST_F(Control, HideSelectionHidesTheChosenDayWhileTheGridHasNoFocus)
{
    make(at(2015, 2, 14));
    const QRect selected = w->dayGrid()->cellRect(7, 2);
    const QPoint probe = selected.topLeft() + QPoint(3, 1);
    w->dayGrid()->clearFocus();
    ASSERT_FALSE(w->dayGrid()->hasFocus());
    EXPECT_NE(gridImage(*w).pixel(probe), layerUnderGrid(*w).pixel(probe));
    w->setHideSelection(true);
    EXPECT_EQ(gridImage(*w).pixel(probe), layerUnderGrid(*w).pixel(probe));
}

TEST_F(Control, WithoutTheTitleTheGridCoversTheControlAndTheYearStillShows)
{
    make(at(2015, 2, 14));
    w->setShowTitle(false);
    EXPECT_EQ(w->dayGrid()->geometry(), QRect(2, 2, 415, 251));
    EXPECT_FALSE(w->findChild<TUpDown *>("udMonth")->isVisible());
    EXPECT_FALSE(w->findChild<TUpDown *>("udYear")->isVisible());
    // The large year and month are drawn into the layer under the grid.
    w->setShowBackYearMonth(false);
    const QImage bare = w->backgroundLayer();
    w->setShowBackYearMonth(true);
    EXPECT_NE(w->backgroundLayer(), bare);
    const QImage grid = gridImage(*w);
    int pale = 0;
    for (int y = 0; y < grid.height(); ++y)
        for (int x = 0; x < grid.width(); ++x)
            pale += grid.pixelColor(x, y) == w->ColorBackMonth() ? 1 : 0;
    EXPECT_GT(pale, 1000) << "the large month shows through the cells";
}

TEST_F(Control, ShowWeekNumWidensOnlyColumnZero)
{
    make(at(2015, 2, 14));
    TChnDayGrid *grid = w->dayGrid();
    std::array<int, 9> before{};
    for (int c = 0; c < 9; ++c)
        before[static_cast<std::size_t>(c)] = grid->columnWidth(c);
    EXPECT_TRUE(inkIn(gridImage(*w), layerUnderGrid(*w), grid->cellRect(0, 1)).isEmpty());
    w->setShowWeekNum(true);
    EXPECT_EQ(grid->columnWidth(0), before[0] + 12);
    for (int c = 1; c < 9; ++c)
        EXPECT_EQ(grid->columnWidth(c), before[static_cast<std::size_t>(c)]);
    EXPECT_FALSE(inkIn(gridImage(*w), layerUnderGrid(*w), grid->cellRect(0, 1)).isEmpty())
        << "week 5 is labelled";
    w->resize(420, 255); // the next layout divides the day columns again
    EXPECT_EQ(grid->columnWidth(1), (405 - 18) / 7 - 1);
}

QImage pureBlueCorner()
{
    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(QColor(200, 0, 0));
    picture.setPixelColor(0, 0, Qt::blue);
    picture.setPixelColor(10, 10, Qt::blue);
    return picture;
}

TEST_F(Control, ABackgroundPictureBlendsExceptWhereItHasTheKeyColour)
{
    make(at(2015, 2, 14));
    w->setStretch(false);
    w->setShowBackYearMonth(false);
    const QImage bare = w->backgroundLayer();
    w->setBackGround(pureBlueCorner());
    const QImage blended = w->backgroundLayer();
    EXPECT_EQ(blended.pixelColor(5, 5), QColor(227, 127, 127)); // white and red, half each
    EXPECT_EQ(blended.pixelColor(10, 10), bare.pixelColor(10, 10));
    EXPECT_EQ(blended.pixelColor(100, 100), bare.pixelColor(100, 100)); // not covered
    for (int alpha : {0, 100}) {
        w->setAlphaBlend(alpha);
        EXPECT_EQ(w->backgroundLayer(), bare) << alpha;
    }
    // Stretched, the picture covers the control's height.
    w->setAlphaBlend(50);
    w->setStretch(true);
    EXPECT_EQ(w->backgroundLayer().pixelColor(5, 250), QColor(227, 127, 127));
    w->setBackGround(QImage());
    EXPECT_EQ(w->backgroundLayer(), bare);
}

// --- pictures for a person to look at -------------------------------------------------------

struct SnapshotCase {
    const char *name;
    QDate date;
    QSize size;
};

class Snapshot : public Control, public ::testing::WithParamInterface<SnapshotCase>
{};

// Writes pictures into the build folder; asserts only that the control drew its month.
TEST_P(Snapshot, GrabsTheMonth)
{
    const SnapshotCase &c = GetParam();
    make(QDateTime(c.date, QTime(0, 0)));
    w->resize(c.size);
    const QImage image = w->grab().toImage();
    QDir().mkpath(QStringLiteral(TEVUNA_SNAPSHOT_DIR));
    EXPECT_TRUE(image.save(QStringLiteral(TEVUNA_SNAPSHOT_DIR "/%1.png").arg(c.name)));
    // Pixel by pixel, three times larger, to see clipped or touching glyphs.
    EXPECT_TRUE(image.scaled(image.size() * 3, Qt::IgnoreAspectRatio, Qt::FastTransformation)
                    .save(QStringLiteral(TEVUNA_SNAPSHOT_DIR "/%1_x3.png").arg(c.name)));
    EXPECT_EQ(image.size(), c.size);
    EXPECT_EQ(w->DateTime().date(), c.date);
}

INSTANTIATE_TEST_SUITE_P(
    Months, Snapshot,
    ::testing::Values(SnapshotCase{"feb2015", QDate(2015, 2, 14), QSize(419, 255)},
                      SnapshotCase{"mar2013", QDate(2013, 3, 31), QSize(419, 255)},
                      SnapshotCase{"mar2023_leap", QDate(2023, 3, 22), QSize(419, 255)},
                      SnapshotCase{"jan0001", QDate(1, 1, 1), QSize(419, 255)},
                      SnapshotCase{"dec2100", QDate(2100, 12, 31), QSize(419, 255)},
                      SnapshotCase{"feb2015_large", QDate(2015, 2, 14), QSize(1200, 800)},
                      SnapshotCase{"mar2023_wide", QDate(2023, 3, 22), QSize(800, 255)},
                      SnapshotCase{"jan0001_created", QDate(1, 1, 1), QSize(313, 253)},
                      SnapshotCase{"oct1582", QDate(1582, 10, 15), QSize(419, 255)},
                      SnapshotCase{"feb1500_julian", julian(1500, 2, 29), QSize(419, 255)}),
    [](const ::testing::TestParamInfo<SnapshotCase> &p) { return std::string(p.param.name); });

} // namespace
} // namespace tevuna
