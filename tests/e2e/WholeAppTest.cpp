// The whole application in a real X server, as a user meets it: first start in an empty
// folder, type a memo, move and resize the window, leave by the close image, start again.
#include "app/Application.h"
#include "app/uMain.h"
#include "base/Clock.h"
#include "base/ImageLabel.h"
#include "calendarview/ChnCalendarPicker.h"
#include "calendarview/ChnCalendarPickerModel.h"
#include "notes/MemoBox.h"
#include "support/TestSupport.h"
#include "wallpaper/uInfoFrm.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTextEdit>
#include <QTimer>

#include <gtest/gtest.h>

using namespace tevuna;

namespace {

// Runs the message loop until the application asks to end, doing `steps` once it runs.
// False when it did not end by itself within the time limit.
template <typename Steps> bool runUntilTerminated(Steps steps)
{
    bool ended = true;
    QTimer::singleShot(0, steps);
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [&] {
        ended = false;
        QCoreApplication::exit(1);
    });
    guard.start(30000);
    QApplication::exec();
    return ended;
}

TEST(WholeApp, MemoAndWindowBoundsSurviveLeavingByTheCloseImage)
{
    ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("xcb"));
    test::TempHome home;
    test::reporter().clear();
    {
        Application app;
        ASSERT_TRUE(app.start());
        TMainFrm *w = app.mainForm();
        w->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
        // A 1024 x 768 screen: centred across, above the taskbar.
        EXPECT_EQ(home.readFile(QStringLiteral("Data/FormSize.ini")),
                  QByteArray("1\r\n750\r\n500\r\n137\r\n119\r\n"));
        EXPECT_EQ(home.readFile(QStringLiteral("Data/configSetBg.ini")), QByteArray("1\r\n"));

        const bool ended = runUntilTerminated([&] {
            w->activateWindow();
            w->rdtAbc->setFocus();
            QTest::keyClicks(w->rdtAbc, QStringLiteral("Buy tea "));
            // Chinese arrives from the input method as committed text.
            QInputMethodEvent commit;
            commit.setCommitString(QStringLiteral("买茶"));
            QApplication::sendEvent(w->rdtAbc, &commit);
            w->setGeometry(60, 40, 860, 600);
            QTest::qWait(200);
            // Through the window, as the desktop delivers a real click: hover, press, release.
            const QPoint onClose = w->img_close_normal->geometry().center();
            QTest::mouseMove(w->windowHandle(), onClose);
            QTest::mouseClick(w->windowHandle(), Qt::LeftButton, {}, onClose);
        });
        ASSERT_TRUE(ended);
    }
    EXPECT_TRUE(test::reporter().messages.isEmpty());
    EXPECT_TRUE(test::reporter().errors.isEmpty());
    EXPECT_EQ(home.readFile(QStringLiteral("Data/FormSize.ini")),
              QByteArray("1\r\n860\r\n600\r\n60\r\n40\r\n"));

    Application again;
    ASSERT_TRUE(again.start());
    TMainFrm *w = again.mainForm();
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
    EXPECT_EQ(w->rdtAbc->toPlainText(), QStringLiteral("Buy tea 买茶"));
    EXPECT_EQ(w->size(), QSize(860, 600));
    EXPECT_EQ(w->pos(), QPoint(60, 40));
}

TEST(WholeApp, ApplyingTheNotesShowsTheCompositeOnTheDesktop)
{
    test::TempHome home;
    test::reporter().clear();
    qputenv("TEVUNA_DESKTOP", "x11");
    home.writeFile(QStringLiteral("Data/configSetBg.ini"), "0\r\n");
    Application app;
    ASSERT_TRUE(app.start());
    TMainFrm *w = app.mainForm();
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
    w->rdtAbc->setPlainText(QStringLiteral("交房租"));
    w->hide(); // the desktop itself is what the user looks at now
    w->imgAppToDeskClick();
    qunsetenv("TEVUNA_DESKTOP");
    EXPECT_TRUE(test::reporter().messages.isEmpty())
        << test::reporter().messages.join(';').toStdString();

    const QImage mix(home.path(QStringLiteral("source/DeskTopBG/Mix.bmp")));
    const QImage a1(home.path(QStringLiteral("source/DeskTopBG/A1.bmp")));
    ASSERT_FALSE(mix.isNull());
    QTest::qWait(100);
    const QImage root = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
    ASSERT_EQ(root.size(), QSize(1024, 768));
    // The picture is stretched over the screen: compare points inside the card and beside it.
    const auto at = [](const QImage &image, QPointF screen) {
        return QColor(image.pixel(int(screen.x() * image.width() / 1024),
                                  int(screen.y() * image.height() / 768)));
    };
    const auto near = [](QColor a, QColor b) {
        return qAbs(a.red() - b.red()) + qAbs(a.green() - b.green()) + qAbs(a.blue() - b.blue()) <
               30;
    };
    const QPointF inCard(1024.0 * (mix.width() - 100) / mix.width(), 768.0 * 400 / mix.height());
    const QPointF beside(1024.0 * 200 / mix.width(), 768.0 * 400 / mix.height());
    EXPECT_TRUE(near(at(root, inCard), at(mix, inCard))) << "the card is on the desktop";
    EXPECT_FALSE(near(at(root, inCard), at(a1, inCard))) << "and it is not the bare background";
    EXPECT_TRUE(near(at(root, beside), at(a1, beside)));
}

// Where a day of the shown month is on the screen, for a real click.
QPoint dayOnWindow(TMainFrm *w, int day)
{
    const TChnCalendar &cal = *w->ChnCalendar1;
    for (int i = 1; i <= ChnCalendarPickerModel::kLastDayCell; ++i) {
        const TDayCell &c = cal.model().cell(i);
        if (c.HasDate && c.Day == day)
            return cal.dayGrid()->mapTo(
                w, cal.dayGrid()->cellRect((i - 1) % 7 + 1, (i - 1) / 7 + 1).center());
    }
    ADD_FAILURE() << "day " << day << " is not shown";
    return {};
}

// Clicks through the window, as the desktop delivers a real click.
void click(TMainFrm *w, QPoint at)
{
    QTest::mouseMove(w->windowHandle(), at);
    QTest::mouseClick(w->windowHandle(), Qt::LeftButton, {}, at);
}

TEST(WholeApp, AUsersDayFromFirstStartToTheNextStart)
{
    test::TempHome home;
    test::reporter().clear();
    qputenv("TEVUNA_DESKTOP", "x11");
    FixedClock clock(QDateTime(QDate(2024, 6, 12), QTime(9, 0)));
    Clock::install(&clock);
    {
        Application app;
        ASSERT_TRUE(app.start());
        TMainFrm *w = app.mainForm();
        w->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
        bool confirmed = false;
        const bool ended = runUntilTerminated([&] {
            w->activateWindow();
            // Choose the 20th, write its memo, put it on the desktop, leave by the close image.
            click(w, dayOnWindow(w, 20));
            ASSERT_EQ(w->ChnCalendar1->DateTime().date(), QDate(2024, 6, 20));
            click(w, w->rdtAbc->mapTo(w, QPoint(20, 20)));
            QTest::keyClicks(w->rdtAbc, QStringLiteral("dentist 3pm"));
            QTimer::singleShot(100, [&] {
                if (auto *ask = qobject_cast<TInforFrm *>(QApplication::activeModalWidget())) {
                    confirmed = true;
                    ask->btnok->click();
                }
            });
            click(w, w->imgAppToDesk->geometry().center());
            w->setGeometry(30, 20, 900, 640);
            QTest::qWait(200);
            click(w, w->img_close_normal->geometry().center());
        });
        ASSERT_TRUE(ended);
        EXPECT_TRUE(confirmed) << "the first apply asks";
    }
    EXPECT_TRUE(test::reporter().messages.isEmpty())
        << test::reporter().messages.join(';').toStdString();
    EXPECT_EQ(home.readFile(QStringLiteral("Data/FormSize.ini")),
              QByteArray("1\r\n900\r\n640\r\n30\r\n20\r\n"));

    // The desktop shows the composite of that day.
    const QImage mix(home.path(QStringLiteral("source/DeskTopBG/Mix.bmp")));
    ASSERT_FALSE(mix.isNull());
    const QImage root = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
    const QPoint inCard(1024 * (mix.width() - 150) / mix.width(), 768 * 200 / mix.height());
    const QColor onScreen = root.pixelColor(inCard);
    const QColor inMix =
        mix.pixelColor(inCard.x() * mix.width() / 1024, inCard.y() * mix.height() / 768);
    EXPECT_LT(qAbs(onScreen.red() - inMix.red()) + qAbs(onScreen.blue() - inMix.blue()), 30);

    Application again;
    ASSERT_TRUE(again.start());
    TMainFrm *w = again.mainForm();
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
    EXPECT_EQ(w->geometry(), QRect(30, 20, 900, 640));
    EXPECT_EQ(w->rdtAbc->toPlainText(), QString()) << "today's memo is empty";
    w->ChnCalendar1->setDateTime(QDateTime(QDate(2024, 6, 20), QTime(8, 0)));
    EXPECT_EQ(w->rdtAbc->toPlainText(), QStringLiteral("dentist 3pm"));
    w->grab().save(QStringLiteral("whole_app_next_start.png"));
    Clock::install(nullptr);
    qunsetenv("TEVUNA_DESKTOP");
}

} // namespace
