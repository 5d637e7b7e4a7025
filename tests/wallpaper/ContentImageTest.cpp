#include "support/TestSupport.h"
#include "wallpaper/uDeskBGSet.h"
#include "wallpaper/uGlobal.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace tevuna;

namespace {

// Dark pixels in a rectangle of the card: where text was drawn.
int inkIn(const QImage &card, const QRect &r)
{
    int ink = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (qGray(card.pixel(x, y)) < 128)
                ++ink;
    return ink;
}

// The cell of a day number whose text starts at (x, y).
QRect dayCell(int x, int y)
{
    return QRect(x, y, 24, 16);
}

struct DayCase {
    QDate month;
    int day; // 0: the cell must be empty
    int x, y;
};

class MonthGrid : public ::testing::TestWithParam<DayCase>
{};

TEST_P(MonthGrid, DayNumbersStandInTheirCells)
{
    const DayCase c = GetParam();
    const QImage card = drawContentImage({}, c.month);
    if (c.day > 0)
        EXPECT_GT(inkIn(card, dayCell(c.x, c.y)), 5) << "day " << c.day;
    else
        EXPECT_EQ(inkIn(card, dayCell(c.x, c.y)), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Months, MonthGrid,
    ::testing::Values(
        // August 2020 starts on a Saturday: six rows.
        DayCase{{2020, 8, 15}, 1, 193, 50}, DayCase{{2020, 8, 15}, 0, 163, 50},
        DayCase{{2020, 8, 15}, 2, 13, 70}, DayCase{{2020, 8, 15}, 30, 13, 150},
        DayCase{{2020, 8, 15}, 31, 43, 150}, DayCase{{2020, 8, 15}, 0, 73, 150},
        // February 2015 starts on a Sunday: exactly four rows.
        DayCase{{2015, 2, 1}, 1, 13, 50}, DayCase{{2015, 2, 1}, 2, 43, 50},
        DayCase{{2015, 2, 1}, 28, 193, 110}, DayCase{{2015, 2, 1}, 0, 13, 130},
        // Leap February 2024 ends on a Thursday; February 2023 has 28 days.
        DayCase{{2024, 2, 29}, 29, 133, 130}, DayCase{{2024, 2, 29}, 0, 163, 130},
        DayCase{{2023, 2, 1}, 28, 73, 130}, DayCase{{2023, 2, 1}, 0, 103, 130}));

// The rightmost column with ink in the title line.
int titleRight(const QImage &card)
{
    for (int x = 228; x > 0; --x)
        if (inkIn(card, QRect(x, 10, 1, 16)) > 0)
            return x;
    return 0;
}

TEST(ContentImage, FrameTitleHeaderAndTheTimeOfDayPlaysNoPart)
{
    const QImage card = drawContentImage({}, QDate(2024, 5, 9));
    EXPECT_EQ(card.size(), QSize(230, 420));
    EXPECT_EQ(QColor(card.pixel(0, 0)), QColor(255, 255, 218));
    EXPECT_EQ(QColor(card.pixel(229, 419)), QColor(255, 255, 218));
    EXPECT_EQ(QColor(card.pixel(1, 1)), QColor(Qt::white));
    // "May  09": the day always has two digits, as wide as "May  10".
    EXPECT_NEAR(titleRight(card), titleRight(drawContentImage({}, QDate(2024, 5, 10))), 1);
    EXPECT_GT(titleRight(drawContentImage({}, QDate(2024, 9, 9))) - titleRight(card), 20)
        << "September is longer than May";
    // The seven weekday characters of the header.
    for (int x : {10, 40, 70, 100, 130, 160, 190})
        EXPECT_GT(inkIn(card, QRect(x, 30, 14, 15)), 5) << x;
    EXPECT_EQ(inkIn(card, QRect(1, 166, 228, 14)), 0) << "nothing between grid and memo";
}

TEST(ContentImage, MemoTextWrapsAndIsCutAtTheRectangle)
{
    const QDate day(2024, 5, 9);
    EXPECT_EQ(inkIn(drawContentImage({QString()}, day), QRect(1, 180, 228, 239)), 0);

    // One line wider than 210 pixels wraps onto a second line.
    const QImage wrapped =
        drawContentImage({QStringLiteral("alpha beta gamma delta epsilon zeta eta theta")}, day);
    EXPECT_GT(inkIn(wrapped, QRect(10, 196, 210, 14)), 10);
    EXPECT_EQ(inkIn(wrapped, QRect(220, 180, 9, 40)), 0) << "nothing right of the rectangle";

    QStringList many;
    QString text;
    for (int i = 0; i < 40; ++i)
        text += QStringLiteral("第%1行 memo\r\n").arg(i);
    const QImage cut = drawContentImage({text}, day);
    EXPECT_GT(inkIn(cut, QRect(10, 396, 210, 14)), 10) << "text runs to the bottom";
    EXPECT_EQ(inkIn(cut, QRect(1, 410, 228, 9)), 0) << "and is cut at y = 410";

    // Chinese glyphs really render, not as empty boxes.
    const QRect memo(10, 180, 210, 20);
    EXPECT_NE(drawContentImage({QStringLiteral("春")}, day).copy(memo),
              drawContentImage({QStringLiteral("秋")}, day).copy(memo));
}

TEST(ContentImage, RenderWritesTheSame24BitBmpForTheSameInputs)
{
    test::TempHome home;
    QDir().mkpath(home.path(QStringLiteral("source/DeskTopBG")));
    TDeskBGSetFrm set;
    set.memoLines = {QStringLiteral("周一 交报告\r\n买菜")};
    set.contentDate = QDateTime(QDate(2020, 8, 3), QTime(8, 0));
    set.RenderContentImage();
    const QByteArray first = home.readFile(QStringLiteral("source/DeskTopBG/Content.bmp"));
    set.contentDate = QDateTime(QDate(2020, 8, 3), QTime(22, 45));
    set.RenderContentImage();
    EXPECT_EQ(home.readFile(QStringLiteral("source/DeskTopBG/Content.bmp")), first);
    ASSERT_GT(first.size(), 54);
    EXPECT_EQ(first.left(2), QByteArray("BM"));
    EXPECT_EQ(int(first[28]), 24) << "bits per pixel";
    EXPECT_EQ(QDir(home.path(QStringLiteral("source/DeskTopBG"))).entryList(QDir::Files),
              QStringList{QStringLiteral("Content.bmp")});
}

} // namespace
