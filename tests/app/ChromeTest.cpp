// The main window as laid out and its self-drawn chrome: control rectangles, the close and
// minimise pictures' states, the options menu and the web panel.
#include "app/Application.h"
#include "app/uMain.h"
#include "base/Clock.h"
#include "base/ImageLabel.h"
#include "notes/MemoBox.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QUrl>
#include <QWindow>

#include <gtest/gtest.h>

using namespace tevuna;

namespace {

class Window
{
public:
    Window()
    {
        test::reporter().clear();
        Clock::install(&clock);
        EXPECT_TRUE(app.start());
        w = app.mainForm();
        w->openUrl = [this](const QUrl &url) { opened << url; };
        w->show();
    }
    ~Window() { Clock::install(nullptr); }

    test::TempHome home;
    FixedClock clock{QDateTime(QDate(2013, 1, 5), QTime(23, 59))};
    Application app;
    TMainFrm *w = nullptr;
    QList<QUrl> opened;
};

// How a control follows the window when it grows by dx across and dy down.
enum class Anchor { Fixed, Right, Across, All };

struct LayoutCase {
    const char *name;
    QRect design;
    Anchor anchor;
};

struct WindowSize {
    const char *name;
    int dx, dy;
};

class Layout : public ::testing::TestWithParam<std::tuple<LayoutCase, WindowSize>>
{};

TEST_P(Layout, ControlSitsAtItsDesignedPlaceAndFollowsItsAnchors)
{
    const auto &[control, size] = GetParam();
    Window win;
    win.w->resize(742 + size.dx, 466 + size.dy);
    QRect expected = control.design;
    switch (control.anchor) {
    case Anchor::Fixed:
        break;
    case Anchor::Right:
        expected.translate(size.dx, 0);
        break;
    case Anchor::Across:
        expected.adjust(0, 0, size.dx, 0);
        break;
    case Anchor::All:
        expected.adjust(0, 0, size.dx, size.dy);
        break;
    }
    const auto *widget = win.w->findChild<QWidget *>(QString::fromLatin1(control.name));
    ASSERT_NE(widget, nullptr);
    EXPECT_EQ(widget->geometry(), expected);
}

INSTANTIATE_TEST_SUITE_P(
    MainWindow, Layout,
    ::testing::Combine(
        ::testing::Values(LayoutCase{"imgBG", {0, 0, 742, 466}, Anchor::All},
                          LayoutCase{"imgLogo", {52, 13, 210, 56}, Anchor::Fixed},
                          LayoutCase{"img_close_normal", {702, 1, 39, 20}, Anchor::Right},
                          LayoutCase{"img_close_highlight", {702, 1, 39, 20}, Anchor::Right},
                          LayoutCase{"img_close_down", {702, 1, 39, 20}, Anchor::Right},
                          LayoutCase{"img_mini_normal", {673, 1, 28, 20}, Anchor::Right},
                          LayoutCase{"img_mini_highlight", {672, 1, 28, 20}, Anchor::Right},
                          LayoutCase{"img_mini_down", {672, 1, 28, 20}, Anchor::Right},
                          LayoutCase{"btnGou", {341, 55, 23, 22}, Anchor::Fixed},
                          LayoutCase{"btnX", {365, 55, 23, 22}, Anchor::Fixed},
                          LayoutCase{"imgDate", {395, 58, 44, 15}, Anchor::Fixed},
                          LayoutCase{"imgRedColor", {441, 61, 20, 11}, Anchor::Fixed},
                          LayoutCase{"lblSet", {595, 56, 42, 12}, Anchor::Right},
                          LayoutCase{"imgAppToDesk", {654, 45, 84, 29}, Anchor::Right},
                          LayoutCase{"pnlLeft", {4, 80, 302, 441}, Anchor::Fixed},
                          LayoutCase{"pnlWeb", {1, 1, 300, 250}, Anchor::Fixed},
                          LayoutCase{"webLink", {-11, -16, 2000, 841}, Anchor::Fixed},
                          LayoutCase{"imgAddToDesk", {54, 264, 200, 93}, Anchor::Fixed},
                          LayoutCase{"pngRight", {315, 80, 423, 381}, Anchor::All},
                          LayoutCase{"pnlABC", {0, 0, 423, 381}, Anchor::All},
                          LayoutCase{"ChnCalendar1", {2, 2, 419, 255}, Anchor::Across},
                          LayoutCase{"rdtAbc", {2, 257, 419, 122}, Anchor::All}),
        ::testing::Values(WindowSize{"as_designed", 0, 0}, WindowSize{"wider_by_100", 100, 0},
                          WindowSize{"larger_by_100", 100, 100})),
    [](const auto &p) {
        return std::string(std::get<0>(p.param).name) + "_" + std::get<1>(p.param).name;
    });

class Screenshot : public ::testing::TestWithParam<WindowSize>
{};

TEST_P(Screenshot, NoTwoControlsOverlap)
{
    Window win;
    win.w->resize(750 + GetParam().dx, 500 + GetParam().dy);
    QList<QWidget *> shown;
    for (QWidget *child : win.w->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (child->isVisible() && child != win.w->imgBG)
            shown << child;
    }
    ASSERT_GE(shown.size(), 12);
    for (qsizetype i = 0; i < shown.size(); ++i) {
        for (qsizetype j = i + 1; j < shown.size(); ++j)
            EXPECT_FALSE(shown[i]->geometry().intersects(shown[j]->geometry()))
                << shown[i]->objectName().toStdString() << " and "
                << shown[j]->objectName().toStdString();
    }
    // The 1-pixel border is seen all around, over the background picture too.
    const QImage shot = win.w->grab().toImage();
    const QColor border(216, 227, 243);
    for (const QPoint p :
         {QPoint(0, shot.height() / 2), QPoint(shot.width() - 1, shot.height() / 2),
          QPoint(shot.width() / 2, 0), QPoint(shot.width() / 3, shot.height() - 1)})
        EXPECT_EQ(shot.pixelColor(p), border) << p.x() << ',' << p.y();
    // Kept with the test output, to be looked at.
    const QString folder = qEnvironmentVariable("TEVUNA_SCREENSHOT_DIR");
    if (!folder.isEmpty() && QDir().mkpath(folder)) {
        EXPECT_TRUE(win.w->grab().save(
            QDir(folder).filePath(QStringLiteral("main_%1.png").arg(GetParam().name)), "PNG"));
    }
}

INSTANTIATE_TEST_SUITE_P(MainWindow, Screenshot,
                         ::testing::Values(WindowSize{"default", 0, 0},
                                           WindowSize{"enlarged", 350, 250}),
                         [](const auto &p) { return std::string(p.param.name); });

TEST(MainWindowLayout, DateLabelStaysPutAndShowsItsWholeText)
{
    Window win;
    win.w->resize(742, 466);
    const QRect before = win.w->lblDateTime->geometry();
    win.w->resize(842, 466);
    EXPECT_EQ(win.w->lblDateTime->geometry(), before);
    EXPECT_EQ(before.topLeft(), QPoint(343, 19));
    EXPECT_GE(before.width(), win.w->lblDateTime->sizeHint().width());
}

TEST(MainWindowLayout, DateLabelFollowsTheClockPastMidnight)
{
    Window win;
    EXPECT_EQ(win.w->lblDateTime->text(), QStringLiteral("今天是 2013年1月5日(六)"));
    EXPECT_TRUE(win.w->tmrDate->isActive());
    win.clock.set(QDateTime(QDate(2013, 1, 6), QTime(0, 0, 30)));
    win.w->tmrDateTimer();
    EXPECT_EQ(win.w->lblDateTime->text(), QStringLiteral("今天是 2013年1月6日(日)"));
    EXPECT_GE(win.w->lblDateTime->width(), win.w->lblDateTime->sizeHint().width());
}

// One synthetic mouse action on the chrome.
enum class Act {
    MoveOverBackground,
    MoveOverClose,
    PressCloseHighlight,
    MoveOverMini,
    PressMiniHighlight,
    ClickMiniHighlight
};

void perform(TMainFrm *w, Act act)
{
    const auto move = [](QWidget *target) {
        QMouseEvent e(QEvent::MouseMove, QPointF(5, 5), target->mapToGlobal(QPointF(5, 5)),
                      Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(target, &e);
    };
    switch (act) {
    case Act::MoveOverBackground:
        move(w->imgBG);
        break;
    case Act::MoveOverClose:
        move(w->img_close_normal);
        break;
    case Act::PressCloseHighlight:
        QTest::mousePress(w->img_close_highlight, Qt::LeftButton);
        break;
    case Act::MoveOverMini:
        move(w->img_mini_normal);
        break;
    case Act::PressMiniHighlight:
        QTest::mousePress(w->img_mini_highlight, Qt::LeftButton);
        break;
    case Act::ClickMiniHighlight:
        QTest::mouseClick(w->img_mini_highlight, Qt::LeftButton);
        break;
    }
}

struct ChromeCase {
    const char *name;
    std::vector<Act> before;
    Act act;
    // close down, highlight, normal; minimise down, highlight, normal
    std::array<bool, 6> shown;
};

class Chrome : public ::testing::TestWithParam<ChromeCase>
{};

TEST_P(Chrome, EventShowsExactlyItsRowsImages)
{
    Window win;
    TMainFrm *w = win.w;
    for (Act act : GetParam().before)
        perform(w, act);
    perform(w, GetParam().act);
    const std::array<bool, 6> shown{
        w->img_close_down->isVisible(),     w->img_close_highlight->isVisible(),
        w->img_close_normal->isVisible(),   w->img_mini_down->isVisible(),
        w->img_mini_highlight->isVisible(), w->img_mini_normal->isVisible()};
    EXPECT_EQ(shown, GetParam().shown);
    // A press hands the grab to the pressed picture; let go without completing the click.
    if (QWidget *grabber = QWidget::mouseGrabber())
        grabber->releaseMouse();
}

INSTANTIATE_TEST_SUITE_P(
    StateTable, Chrome,
    ::testing::Values(
        ChromeCase{"at_first", {}, Act::MoveOverBackground, {0, 0, 1, 0, 0, 1}},
        ChromeCase{"background_after_close",
                   {Act::MoveOverClose},
                   Act::MoveOverBackground,
                   {0, 0, 1, 0, 0, 1}},
        ChromeCase{"background_after_mini",
                   {Act::MoveOverMini},
                   Act::MoveOverBackground,
                   {0, 0, 1, 0, 0, 1}},
        ChromeCase{"over_close", {Act::MoveOverMini}, Act::MoveOverClose, {0, 1, 0, 0, 0, 1}},
        ChromeCase{
            "press_close", {Act::MoveOverClose}, Act::PressCloseHighlight, {1, 0, 0, 0, 0, 1}},
        ChromeCase{"over_mini", {Act::MoveOverClose}, Act::MoveOverMini, {0, 0, 1, 0, 1, 0}},
        ChromeCase{"press_mini", {Act::MoveOverMini}, Act::PressMiniHighlight, {0, 0, 1, 1, 0, 0}},
        ChromeCase{"click_mini", {Act::MoveOverMini}, Act::ClickMiniHighlight, {0, 0, 1, 0, 0, 1}}),
    [](const auto &p) { return std::string(p.param.name); });

// The control a mouse press was delivered to first (not those it went on to); the background
// is none.
class PressRecorder : public QObject
{
public:
    explicit PressRecorder(QWidget *window) : m_window(window) { qApp->installEventFilter(this); }
    ~PressRecorder() override { qApp->removeEventFilter(this); }

    QStringList pressed;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *widget = qobject_cast<QWidget *>(watched);
        if (event->type() == QEvent::MouseButtonPress && pressed.isEmpty() && widget &&
            widget->window() == m_window && widget->objectName() != QLatin1String("imgBG"))
            pressed << widget->objectName();
        return false;
    }

private:
    QWidget *m_window;
};

// Presses and releases through the window, as the platform delivers them: the window's chrome
// sees them before any control.
struct PressCase {
    const char *name;
    Qt::MouseButton button;
    QPoint at;       // in a window of 742 x 466
    bool handedOver; // to the desktop, with these edges (none: a move)
    Qt::Edges edges;
    const char *control; // the control that gets the press instead, if any
};

class PressOnTheWindow : public ::testing::TestWithParam<PressCase>
{};

TEST_P(PressOnTheWindow, MovesOrResizesFromTheBackgroundAndTheWholeFrame)
{
    Window win;
    TMainFrm *w = win.w;
    w->resize(742, 466);
    QList<Qt::Edges> handed;
    w->moveOrResize = [&handed](Qt::Edges edges) { handed << edges; };
    QWindow *window = w->windowHandle();
    ASSERT_NE(window, nullptr);
    PressRecorder recorder(w);
    QTest::mousePress(window, GetParam().button, {}, GetParam().at);
    QTest::mouseRelease(window, GetParam().button, {}, GetParam().at);
    const QList<Qt::Edges> expected =
        GetParam().handedOver ? QList<Qt::Edges>{GetParam().edges} : QList<Qt::Edges>{};
    EXPECT_EQ(handed, expected);
    const QStringList reached =
        *GetParam().control ? QStringList{QString::fromLatin1(GetParam().control)} : QStringList{};
    EXPECT_EQ(recorder.pressed, reached);
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
    EXPECT_TRUE(w->isVisible());
}

INSTANTIATE_TEST_SUITE_P(
    Chrome, PressOnTheWindow,
    ::testing::Values(
        PressCase{"background_moves", Qt::LeftButton, {200, 75}, true, {}, ""},
        PressCase{
            "left_edge_beside_the_left_panel", Qt::LeftButton, {1, 300}, true, Qt::LeftEdge, ""},
        PressCase{"right_edge", Qt::LeftButton, {741, 300}, true, Qt::RightEdge, ""},
        PressCase{"top_edge", Qt::LeftButton, {400, 0}, true, Qt::TopEdge, ""},
        PressCase{
            "top_edge_over_the_minimise_picture", Qt::LeftButton, {685, 2}, true, Qt::TopEdge, ""},
        PressCase{"bottom_edge_over_the_left_panel",
                  Qt::LeftButton,
                  {150, 464},
                  true,
                  Qt::BottomEdge,
                  ""},
        PressCase{"top_left_corner", Qt::LeftButton, {1, 2}, true, Qt::LeftEdge | Qt::TopEdge, ""},
        PressCase{"top_right_corner_over_the_close_picture",
                  Qt::LeftButton,
                  {740, 1},
                  true,
                  Qt::RightEdge | Qt::TopEdge,
                  ""},
        PressCase{"bottom_left_corner",
                  Qt::LeftButton,
                  {2, 465},
                  true,
                  Qt::LeftEdge | Qt::BottomEdge,
                  ""},
        PressCase{"bottom_right_corner",
                  Qt::LeftButton,
                  {740, 464},
                  true,
                  Qt::RightEdge | Qt::BottomEdge,
                  ""},
        // Other buttons drag the window themselves, from the frame too.
        PressCase{"right_button_on_the_background", Qt::RightButton, {200, 75}, false, {}, ""},
        PressCase{"middle_button_on_an_edge", Qt::MiddleButton, {150, 464}, false, {}, ""},
        PressCase{"logo_is_no_background", Qt::LeftButton, {100, 40}, false, {}, "imgLogo"},
        PressCase{
            "date_label_is_no_background", Qt::LeftButton, {350, 25}, false, {}, "lblDateTime"},
        PressCase{"left_panel_inside_the_frame", Qt::LeftButton, {150, 450}, false, {}, "pnlLeft"},
        PressCase{"close_picture_below_the_frame",
                  Qt::LeftButton,
                  {720, 4},
                  false,
                  {},
                  "img_close_highlight"}),
    [](const auto &p) { return std::string(p.param.name); });

struct DragCase {
    const char *name;
    Qt::MouseButton button;
    QPoint from; // in the window
};

class DragByAnotherButton : public ::testing::TestWithParam<DragCase>
{};

TEST_P(DragByAnotherButton, MovesTheWindowUntilReleased)
{
    Window win;
    TMainFrm *w = win.w;
    w->setGeometry(100, 100, 742, 466);
    QCoreApplication::processEvents();
    QList<Qt::Edges> handed;
    w->moveOrResize = [&handed](Qt::Edges edges) { handed << edges; };
    QWindow *window = w->windowHandle();
    ASSERT_NE(window, nullptr);
    const QPoint from = GetParam().from;
    const QPoint start = w->pos();
    QTest::mousePress(window, GetParam().button, {}, from);
    QTest::mouseMove(window, from + QPoint(60, -40));
    EXPECT_EQ(w->pos(), start + QPoint(60, -40));
    // The window went with the pointer: the pointer is over the pressed point again.
    QTest::mouseRelease(window, GetParam().button, {}, from);
    // Released: the pointer goes on alone, and a left click is an ordinary click again.
    QTest::mouseMove(window, from + QPoint(100, -60));
    EXPECT_EQ(w->pos(), start + QPoint(60, -40));
    QTest::mouseClick(window, Qt::LeftButton, {}, QPoint(200, 75));
    EXPECT_EQ(handed, QList<Qt::Edges>{Qt::Edges()});
    EXPECT_EQ(w->pos(), start + QPoint(60, -40));
}

INSTANTIATE_TEST_SUITE_P(
    Chrome, DragByAnotherButton,
    ::testing::Values(
        DragCase{"right_on_the_background", Qt::RightButton, {200, 75}},
        DragCase{"middle_on_the_background", Qt::MiddleButton, {500, 60}},
        DragCase{"right_on_the_bottom_edge_over_the_left_panel", Qt::RightButton, {150, 464}}),
    [](const auto &p) { return std::string(p.param.name); });

TEST(MainWindowChrome, TheFrameShowsSizingCursorsOverTheControlsAndGivesThemTheirsBack)
{
    Window win;
    TMainFrm *w = win.w;
    w->resize(742, 466);
    QWindow *window = w->windowHandle();
    ASSERT_NE(window, nullptr);
    const struct {
        QPoint at;
        Qt::CursorShape shape;
    } steps[] = {
        // Into the frame over the left panel and back into the panel.
        {{150, 300}, Qt::ArrowCursor},
        {{150, 464}, Qt::SizeVerCursor},
        {{150, 455}, Qt::ArrowCursor},
        // Out of a control with its own cursor into the frame, and straight back into it.
        {{736, 60}, Qt::PointingHandCursor},
        {{739, 60}, Qt::SizeHorCursor},
        {{736, 60}, Qt::PointingHandCursor},
        // The corners and the strip over the pictures.
        {{740, 1}, Qt::SizeBDiagCursor},
        {{685, 2}, Qt::SizeVerCursor},
        {{1, 2}, Qt::SizeFDiagCursor},
        {{2, 465}, Qt::SizeBDiagCursor},
        {{740, 464}, Qt::SizeFDiagCursor},
        {{1, 300}, Qt::SizeHorCursor},
        {{200, 75}, Qt::ArrowCursor},
    };
    for (const auto &step : steps) {
        QTest::mouseMove(window, step.at);
        EXPECT_EQ(window->cursor().shape(), step.shape) << step.at.x() << "," << step.at.y();
    }
}

TEST(MainWindowChrome, PressingTheCloseImageAloneClosesNothing)
{
    Window win;
    const QByteArray bounds = win.home.readFile(QStringLiteral("Data/FormSize.ini"));
    win.w->resize(800, 520);
    perform(win.w, Act::MoveOverClose);
    perform(win.w, Act::PressCloseHighlight);
    win.w->img_close_down->releaseMouse();
    EXPECT_TRUE(win.w->isVisible());
    EXPECT_EQ(win.home.readFile(QStringLiteral("Data/FormSize.ini")), bounds);
}

TEST(MainWindowChrome, MinimiseImageMinimisesTheWindowWithoutHidingIt)
{
    Window win;
    perform(win.w, Act::MoveOverMini);
    perform(win.w, Act::ClickMiniHighlight);
    EXPECT_TRUE(win.w->isMinimized());
    EXPECT_TRUE(win.w->isVisible());
    EXPECT_TRUE(win.w->tmrAutoSave->isActive());
    win.w->showNormal();
    EXPECT_FALSE(win.w->isMinimized());
}

TEST(OptionsMenu, HoldsItsItemsInOrder)
{
    Window win;
    QStringList items;
    for (QAction *a : win.w->popSysset->actions())
        items << a->objectName() + QLatin1Char('=') + (a->isSeparator() ? "-" : a->text());
    EXPECT_EQ(items,
              (QStringList{"N_help=帮助说明", "N_Submit=意见反馈", "N4=-", "N_ExitPrj=退出程序"}));
}

TEST(OptionsMenu, DropsFromTheLabelsLowerLeftCornerThenAlsoOpensOnARightClick)
{
    Window win;
    TMainFrm *w = win.w;
    // Room for the menu on the screen to the right of the label.
    w->setGeometry(0, 0, 742, 466);
    QTest::mouseClick(w->lblSet, Qt::LeftButton);
    ASSERT_TRUE(w->popSysset->isVisible());
    EXPECT_EQ(w->popSysset->pos(), w->lblSet->mapToGlobal(QPoint(0, w->lblSet->height())));
    w->popSysset->hide();

    const QPoint at(20, 5);
    QContextMenuEvent right(QContextMenuEvent::Mouse, at, w->lblSet->mapToGlobal(at));
    QApplication::sendEvent(w->lblSet, &right);
    ASSERT_TRUE(w->popSysset->isVisible());
    EXPECT_EQ(w->popSysset->pos(), w->lblSet->mapToGlobal(at));
    w->popSysset->hide();
}

struct PageCase {
    const char *name;
    const char *action; // a menu item, or a link of the start page
    const char *title;
};

class Pages : public ::testing::TestWithParam<PageCase>
{};

TEST_P(Pages, OpenInTheBrowserAsBundledLocalPages)
{
    Window win;
    const QString action = QString::fromLatin1(GetParam().action);
    if (auto *item = win.w->popSysset->findChild<QAction *>(action))
        item->trigger();
    else
        emit win.w->webLink->anchorClicked(QUrl(action));
    ASSERT_EQ(win.opened.size(), 1);
    const QUrl url = win.opened.front();
    ASSERT_TRUE(url.isLocalFile()) << url.toString().toStdString();
    QFile page(url.toLocalFile());
    ASSERT_TRUE(page.open(QIODevice::ReadOnly));
    EXPECT_TRUE(QString::fromUtf8(page.readAll()).contains(QString::fromUtf8(GetParam().title)));
    EXPECT_TRUE(test::reporter().messages.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    HelpAndFeedback, Pages,
    ::testing::Values(
        PageCase{"help_item", "N_help", "<title>Tevuna桌面日历 帮助说明</title>"},
        PageCase{"feedback_item", "N_Submit", "<title>Tevuna桌面日历 意见反馈</title>"},
        PageCase{"help_link", "tevuna:help", "<title>Tevuna桌面日历 帮助说明</title>"},
        PageCase{"feedback_link", "tevuna:feedback", "<title>Tevuna桌面日历 意见反馈</title>"}),
    [](const auto &p) { return std::string(p.param.name); });

TEST(WebPanel, ShowsTheStartPageFromThePanelsCorner)
{
    Window win;
    const QString text = win.w->webLink->toPlainText();
    EXPECT_TRUE(text.contains(QStringLiteral("记事"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("壁纸")));
    // The page's region that shows starts at the panel's visible corner.
    EXPECT_EQ(win.w->webLink->viewport()->mapTo(win.w->pnlWeb, QPoint(0, 0)), QPoint(0, 0));
    // Its text fits the visible height, so no scrolling is needed to read it.
    EXPECT_LE(win.w->webLink->document()->size().height(), 250);
}

TEST(WebPanel, RightClicksShowNoMenu)
{
    Window win;
    QWidget *viewport = win.w->webLink->viewport();
    bool menuShown = false;
    // Should a menu open, it is closed at once, so the test records it instead of waiting.
    QTimer::singleShot(0, [&menuShown] {
        if (QWidget *popup = QApplication::activePopupWidget()) {
            menuShown = true;
            popup->close();
        }
    });
    const QPoint at(40, 30);
    QTest::mouseClick(viewport, Qt::RightButton, {}, at);
    QContextMenuEvent menu(QContextMenuEvent::Mouse, at, viewport->mapToGlobal(at));
    const bool delivered = QApplication::sendEvent(viewport, &menu);
    QCoreApplication::processEvents();
    EXPECT_FALSE(menuShown);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    EXPECT_TRUE(delivered);
}

TEST(WebPanel, TheMemoBoxBesideItKeepsItsEditMenu)
{
    Window win;
    QWidget *viewport = win.w->rdtAbc->viewport();
    const QPoint at(40, 30);
    QContextMenuEvent menu(QContextMenuEvent::Mouse, at, viewport->mapToGlobal(at));
    QApplication::sendEvent(viewport, &menu);
    QWidget *popup = QApplication::activePopupWidget();
    EXPECT_EQ(popup, win.w->rdtAbc->pmDeskTopMonCal);
    if (popup)
        popup->close();
}

} // namespace
