#include "app/Application.h"
#include "app/WorkingFiles.h"
#include "app/uMain.h"
#include "base/AppError.h"
#include "base/Clock.h"
#include "base/ImageLabel.h"
#include "base/LineFile.h"
#include "calendarview/ChnCalendarPicker.h"
#include "notes/MemoBox.h"
#include "notes/MemoDocument.h"
#include "notes/uDM.h"
#include "support/TestSupport.h"
#include "wallpaper/uGlobal.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <QTest>
#include <QTextDocument>
#include <QTextEdit>

#include <gtest/gtest.h>

using namespace tevuna;

namespace {

struct ScreenCase {
    QSize screen;
    int left, top;
};

class DefaultBounds : public ::testing::TestWithParam<ScreenCase>
{};

TEST_P(DefaultBounds, CentreAcrossAndAboveTheTaskbar)
{
    const WindowSettings s = defaultWindowSettings(GetParam().screen);
    EXPECT_EQ(s, (WindowSettings{1, 750, 500, GetParam().left, GetParam().top}));
}

INSTANTIATE_TEST_SUITE_P(Screens, DefaultBounds,
                         ::testing::Values(ScreenCase{{1024, 768}, 137, 119},
                                           ScreenCase{{1920, 1080}, 585, 275},
                                           // Division truncates toward zero on small screens.
                                           ScreenCase{{640, 480}, -55, -25},
                                           ScreenCase{{749, 529}, 0, 0}));

struct MalformedCase {
    const char *name;
    QByteArray file;
    const char *report;
};

class MalformedWindowSettings : public ::testing::TestWithParam<MalformedCase>
{};

// Start-up with a fixed day and a fresh application folder, as a new user's machine.
class MainWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        test::reporter().clear();
        Clock::install(&clock);
    }
    void TearDown() override { Clock::install(nullptr); }

    // Opens the database and creates the main window, with the given settings files first.
    TMainFrm *start()
    {
        app = std::make_unique<Application>();
        EXPECT_TRUE(app->start());
        return app->mainForm();
    }
    QStringList lines(const QString &relative) { return linefile::split(home.readFile(relative)); }

    test::TempHome home;
    FixedClock clock{QDateTime(QDate(2013, 1, 5), QTime(9, 30))};
    std::unique_ptr<Application> app;
};

TEST_F(MainWindow, FirstStartWritesBothSettingsFilesAndShowsSchemeA)
{
    TMainFrm *w = start();
    w->show();
    const QSize screen = QGuiApplication::primaryScreen()->size();
    const WindowSettings expected = defaultWindowSettings(screen);
    EXPECT_EQ(home.readFile(QStringLiteral("Data/FormSize.ini")),
              linefile::join(windowSettingsLines(expected)));
    EXPECT_EQ(home.readFile(QStringLiteral("Data/configSetBg.ini")), QByteArray("1\r\n"));
    EXPECT_EQ(w->geometry(), QRect(expected.left, expected.top, 750, 500));
    EXPECT_EQ(w->memoSchemeIndex(), 1);
    EXPECT_EQ(w->rdtAbc->viewport()->grab().toImage().pixelColor(5, 5), QColor(250, 252, 225));
    EXPECT_TRUE(wallpaperGlobals().askFlag);
    EXPECT_TRUE(test::reporter().errors.isEmpty());
    EXPECT_TRUE(test::reporter().messages.isEmpty());
}

// A picture list that cannot be written is reported the default way, and the default list
// still works for this run.
TEST_F(MainWindow, APictureListThatCannotBeWrittenAtStartUpIsReported)
{
    QDir().mkpath(home.path(QStringLiteral("Data")));
    ASSERT_TRUE(QFile::link(home.path(QStringLiteral("no/such/folder/BGPicList.ini")),
                            home.path(QStringLiteral("Data/BGPicList.ini"))));
    start();
    ASSERT_EQ(test::reporter().errors.size(), 1);
    EXPECT_TRUE(test::reporter().errors[0].contains(QStringLiteral("BGPicList.ini")))
        << test::reporter().errors[0].toStdString();
    EXPECT_EQ(wallpaperGlobals().picCount, 2);
}

TEST_F(MainWindow, DateLabelReadsTheClocksDay)
{
    EXPECT_EQ(dateLabelText(QDate(2013, 1, 5)), QStringLiteral("今天是 2013年1月5日(六)"));
    EXPECT_EQ(dateLabelText(QDate(2010, 6, 1)), QStringLiteral("今天是 2010年6月1日(二)"));
    clock.set(QDateTime(QDate(2010, 6, 1), QTime(23, 59)));
    TMainFrm *w = start();
    EXPECT_EQ(w->lblDateTime->text(), QStringLiteral("今天是 2010年6月1日(二)"));
    EXPECT_EQ(w->ChnCalendar1->DateTime(), clock.now());
}

struct SchemeCase {
    const char *firstLine;
    QColor color;
};

class MemoScheme : public MainWindow, public ::testing::WithParamInterface<SchemeCase>
{};

TEST_P(MemoScheme, FirstLineChoosesTheMemoColour)
{
    home.writeFile(QStringLiteral("Data/FormSize.ini"),
                   QByteArray(GetParam().firstLine) + "\r\n700\r\n480\r\n10\r\n20\r\n");
    TMainFrm *w = start();
    w->show();
    EXPECT_EQ(w->rdtAbc->viewport()->grab().toImage().pixelColor(5, 5), GetParam().color);
    EXPECT_EQ(w->geometry(), QRect(10, 20, 700, 480));
    // The file is read, not rewritten.
    EXPECT_EQ(home.readFile(QStringLiteral("Data/FormSize.ini")),
              QByteArray(GetParam().firstLine) + "\r\n700\r\n480\r\n10\r\n20\r\n");
}

const QColor kDesign(192, 220, 192);
INSTANTIATE_TEST_SUITE_P(Indexes, MemoScheme,
                         ::testing::Values(SchemeCase{"1", QColor(250, 252, 225)},
                                           SchemeCase{"2", QColor(251, 240, 252)},
                                           SchemeCase{"3", QColor(224, 255, 227)},
                                           SchemeCase{"4", kDesign}, SchemeCase{"5", kDesign},
                                           SchemeCase{"0", kDesign}, SchemeCase{"-1", kDesign}));

class BadWindowSettings : public MainWindow, public ::testing::WithParamInterface<MalformedCase>
{};

TEST_P(BadWindowSettings, AreReportedAndNothingIsApplied)
{
    home.writeFile(QStringLiteral("Data/FormSize.ini"), GetParam().file);
    TMainFrm *w = start();
    const QRect before = w->geometry();
    w->show();
    EXPECT_EQ(test::reporter().errors, QStringList{QString::fromUtf8(GetParam().report)});
    EXPECT_EQ(w->geometry(), before);
    EXPECT_EQ(w->memoSchemeIndex(), 0);
    EXPECT_EQ(w->rdtAbc->palette().color(QPalette::Base), kDesign);
    EXPECT_EQ(home.readFile(QStringLiteral("Data/FormSize.ini")), GetParam().file);
}

INSTANTIATE_TEST_SUITE_P(
    Files, BadWindowSettings,
    ::testing::Values(MalformedCase{"empty", "", "List index out of bounds (1)"},
                      MalformedCase{"short", "1\r\n750\r\n500\r\n", "List index out of bounds (3)"},
                      MalformedCase{"word", "1\r\n750\r\nabc\r\n137\r\n119\r\n",
                                    "'abc' is not a valid integer value."},
                      MalformedCase{"blank_first_line", "\r\n750\r\n500\r\n137\r\n119\r\n",
                                    "'' is not a valid integer value."},
                      MalformedCase{"decimal", "1\r\n750.5\r\n500\r\n137\r\n119\r\n",
                                    "'750.5' is not a valid integer value."}),
    [](const auto &p) { return std::string(p.param.name); });

struct PromptCase {
    const char *name;
    QByteArray file;
    bool ask;
    const char *report; // empty: no report
};

class WallpaperPrompt : public MainWindow, public ::testing::WithParamInterface<PromptCase>
{};

TEST_P(WallpaperPrompt, FirstLineSetsTheAskFlag)
{
    home.writeFile(QStringLiteral("Data/configSetBg.ini"), GetParam().file);
    wallpaperGlobals().askFlag = !GetParam().ask;
    start();
    EXPECT_EQ(wallpaperGlobals().askFlag, GetParam().ask);
    EXPECT_EQ(wallpaperGlobals().answer, 0);
    const QStringList reports =
        *GetParam().report ? QStringList{QString::fromUtf8(GetParam().report)} : QStringList{};
    EXPECT_EQ(test::reporter().errors, reports);
    EXPECT_EQ(home.readFile(QStringLiteral("Data/configSetBg.ini")), GetParam().file);
}

INSTANTIATE_TEST_SUITE_P(
    Files, WallpaperPrompt,
    ::testing::Values(PromptCase{"zero", "0\r\n", false, ""},
                      PromptCase{"minus_one", "-1\r\n", false, ""},
                      PromptCase{"five", "5\r\n", true, ""},
                      PromptCase{"only_first_line_counts", "0\r\n7\r\n", false, ""},
                      PromptCase{"word", "abc\r\n", true, "'abc' is not a valid integer value."},
                      PromptCase{"blank_line", "\r\n", true, "'' is not a valid integer value."},
                      PromptCase{"empty", "", true, "List index out of bounds (0)"}),
    [](const auto &p) { return std::string(p.param.name); });

TEST_F(MainWindow, CloseImageSavesMemoAndBoundsButExitSavesNothing)
{
    TMainFrm *w = start();
    w->show();
    w->rdtAbc->insertAtCaret(QStringLiteral("周六 爬山"));
    w->setGeometry(40, 50, 820, 560);
    w->N_ExitPrjClick();
    app.reset();
    EXPECT_EQ(lines(QStringLiteral("Data/FormSize.ini"))[1], QStringLiteral("750"));

    w = start();
    w->show();
    EXPECT_EQ(w->rdtAbc->toPlainText(), QString());
    w->rdtAbc->insertAtCaret(QStringLiteral("周六 爬山"));
    // Partly off the screen: kept exactly, never clamped.
    w->setGeometry(-120, 50, 820, 560);
    // Through the chrome: hover shows the highlight, a click on it closes with saving.
    QMouseEvent move(QEvent::MouseMove, QPointF(5, 5),
                     w->img_close_normal->mapToGlobal(QPointF(5, 5)), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(w->img_close_normal, &move);
    ASSERT_TRUE(w->img_close_highlight->isVisible());
    QTest::mouseClick(w->img_close_highlight, Qt::LeftButton);
    EXPECT_EQ(lines(QStringLiteral("Data/FormSize.ini")),
              (QStringList{"1", "820", "560", "-120", "50"}));
    app.reset();

    w = start();
    w->show();
    EXPECT_EQ(w->rdtAbc->toPlainText(), QStringLiteral("周六 爬山"));
    EXPECT_EQ(w->geometry(), QRect(-120, 50, 820, 560));
}

TEST_F(MainWindow, TimerSavesOnlyWithASchemeIndexAndLoadedContent)
{
    home.writeFile(QStringLiteral("Data/FormSize.ini"), "0\r\n750\r\n500\r\n0\r\n0\r\n");
    TMainFrm *w = start();
    w->show();
    w->rdtAbc->insertAtCaret(QStringLiteral("not yet"));
    w->tmrAutoSaveTimer();
    QByteArray stored;
    ASSERT_TRUE(app->dataModule()->loadMemoData(QStringLiteral("20130105"), &stored));
    EXPECT_TRUE(stored.isEmpty());
    app.reset();

    home.writeFile(QStringLiteral("Data/FormSize.ini"), "2\r\n750\r\n500\r\n0\r\n0\r\n");
    w = start();
    w->show();
    EXPECT_TRUE(w->contentLoaded());
    w->rdtAbc->insertAtCaret(QStringLiteral("saved"));
    w->tmrAutoSaveTimer();
    ASSERT_TRUE(app->dataModule()->loadMemoData(QStringLiteral("20130105"), &stored));
    QTextDocument doc;
    ASSERT_TRUE(memodoc::decode(stored, &doc));
    EXPECT_EQ(doc.toPlainText(), QStringLiteral("saved"));
}

TEST_F(MainWindow, ADateChangeLoadsThatDatesMemo)
{
    TMainFrm *w = start();
    w->show();
    ASSERT_TRUE(app->dataModule()->saveMemoData(QStringLiteral("20130106"), "sunday"));
    w->ChnCalendar1->setDateTime(QDateTime(QDate(2013, 1, 6), QTime(8, 0)));
    EXPECT_EQ(w->rdtAbc->toPlainText(), QStringLiteral("sunday"));
    EXPECT_TRUE(w->contentLoaded());
}

TEST(StartUp, ADamagedDatabaseEndsStartUpWithItsMessage)
{
    test::TempHome home;
    test::reporter().clear();
    home.writeFile(QStringLiteral("Data/UserData.db"), "garbage");
    Application app;
    EXPECT_FALSE(app.start());
    EXPECT_EQ(app.mainForm(), nullptr);
    EXPECT_EQ(test::reporter().messages, QStringList{QStringLiteral("配置文件加载失败，请重试！")});
    EXPECT_EQ(home.readFile(QStringLiteral("Data/UserData.db")), QByteArray("garbage"));
}

TEST(StartUp, PreparesAWorkingFolderForANewUser)
{
    test::TempHome home;
    prepareWorkingFiles();
    EXPECT_TRUE(QFileInfo(home.path(QStringLiteral("Data/UserData.db"))).isFile());
    const QImage a1(home.path(QStringLiteral("source/DeskTopBG/A1.bmp")), "BMP");
    ASSERT_FALSE(a1.isNull());
    EXPECT_GE(a1.width(), 1920);
    EXPECT_GE(a1.height(), 1080);
    // A second run touches nothing.
    const QByteArray db = home.readFile(QStringLiteral("Data/UserData.db"));
    home.writeFile(QStringLiteral("source/DeskTopBG/A1.bmp"), "mine");
    prepareWorkingFiles();
    EXPECT_EQ(home.readFile(QStringLiteral("Data/UserData.db")), db);
    EXPECT_EQ(home.readFile(QStringLiteral("source/DeskTopBG/A1.bmp")), QByteArray("mine"));
}

} // namespace
