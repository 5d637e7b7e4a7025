#include "app/uMain.h"

#include "base/AppError.h"
#include "base/AppFolder.h"
#include "base/Artwork.h"
#include "base/Clock.h"
#include "base/DateText.h"
#include "base/Fonts.h"
#include "base/ImageLabel.h"
#include "base/LineFile.h"
#include "base/Reporter.h"
#include "calendarview/ChnCalendarPicker.h"
#include "notes/MemoBox.h"
#include "wallpaper/uGlobal.h"

#include <QApplication>
#include <QCloseEvent>
#include <QColorDialog>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFocusEvent>
#include <QIcon>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTextBrowser>
#include <QTimer>
#include <QUrl>
#include <QWindow>

// Resources of a static library are registered by hand, outside any namespace.
static void initArtwork()
{
    Q_INIT_RESOURCE(tevuna);
}

namespace tevuna {

namespace {

// The client area as designed; controls anchored right or on all sides keep their distance to
// its edges when the window is resized.
constexpr QSize kClientSize(742, 466);
constexpr QSize kDesignSize(750, 500);
constexpr int kAutoSaveIntervalMs = 10000;
// How often the date label looks at the clock: a new day shows within a minute.
constexpr int kDateCheckIntervalMs = 60000;
// Width of the invisible sizing frame along the window's edges.
constexpr int kSizingFrame = 4;
// The web panel shows the page's region from 11 to 311 across and 16 to 266 down.
constexpr QRect kWebLinkRect(-11, -16, 2000, 841);
constexpr int kWebWidth = 300;

const QColor kBorderColor(216, 227, 243);

QString settingsPath()
{
    return appfolder::path(QStringLiteral("Data/FormSize.ini"));
}

// A picture of the main window's artwork by its name.
QPixmap picture(const QString &name, QSize size)
{
    return artwork(QStringLiteral(":/artwork/%1.svg").arg(name), size);
}

// The browser of the web panel. Its page region starts where the panel's visible area does,
// and its text wraps to that area's width, so nothing the user needs lies outside it.
class WebBrowser : public QTextBrowser
{
public:
    explicit WebBrowser(QWidget *parent) : QTextBrowser(parent)
    {
        setFrameShape(QFrame::NoFrame);
        setViewportMargins(-kWebLinkRect.x(), -kWebLinkRect.y(), 0, 0);
        setLineWrapMode(QTextEdit::FixedPixelWidth);
        setLineWrapColumnOrWidth(kWebWidth);
        setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setOpenLinks(false);
    }
};

} // namespace

WindowSettings defaultWindowSettings(QSize screen)
{
    WindowSettings s;
    s.memoSchemeIndex = 1;
    s.width = 750;
    s.height = 500;
    // C++ division truncates toward zero, as the saved positions always did.
    s.left = (screen.width() - 750) / 2;
    s.top = (screen.height() - 30 - 500) / 2;
    return s;
}

WindowSettings parseWindowSettings(const QStringList &lines)
{
    WindowSettings s;
    s.width = strToInt(lineAt(lines, 1));
    s.height = strToInt(lineAt(lines, 2));
    s.left = strToInt(lineAt(lines, 3));
    s.top = strToInt(lineAt(lines, 4));
    s.memoSchemeIndex = strToInt(lineAt(lines, 0));
    return s;
}

QStringList windowSettingsLines(const WindowSettings &s)
{
    return {QString::number(s.memoSchemeIndex), QString::number(s.width), QString::number(s.height),
            QString::number(s.left), QString::number(s.top)};
}

QString dateLabelText(const QDate &today)
{
    return QStringLiteral("今天是 %1年%2月%3日(%4)")
        .arg(today.year())
        .arg(today.month())
        .arg(today.day())
        .arg(weekdayChar(today));
}

QColor memoSchemeColor(int memoSchemeIndex)
{
    switch (memoSchemeIndex) {
    case 1:
        return QColor(250, 252, 225);
    case 2:
        return QColor(251, 240, 252);
    case 3:
        return QColor(224, 255, 227);
    default:
        return {};
    }
}

TMainFrm::TMainFrm(TDM &dm, QWidget *parent) : QWidget(parent), m_memo(dm)
{
    initArtwork();
    buildControls();
    FormCreate();
}

TMainFrm::~TMainFrm()
{
    m_terminating = true;
    // The controls die after this object: a focus change while they are torn down must not
    // reach handlers of a window that is already gone.
    for (QObject *child : findChildren<QObject *>())
        disconnect(child, nullptr, this, nullptr);
}

void TMainFrm::buildControls()
{
    setObjectName(QStringLiteral("MainFrm"));
    setWindowTitle(applicationTitle());
    setWindowIcon(QIcon(QStringLiteral(":/artwork/tevuna.svg")));
    // No title bar of the platform's own: the window draws its chrome and is dragged by its
    // background; the desktop still resizes it by its edges.
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    resize(kDesignSize);

    // Under everything: the background drags the window and resets the chrome.
    imgBG = new QLabel(this);
    imgBG->setObjectName(QStringLiteral("imgBG"));
    imgBG->setPixmap(picture(QStringLiteral("background"), QSize(416, 289)));
    imgBG->setScaledContents(true);
    // The picture is transparent at the window's edge: the 1-pixel border under it shows.
    imgBG->setFrameStyle(QFrame::Box | QFrame::Plain);
    imgBG->setLineWidth(1);
    QPalette bgPal = imgBG->palette();
    bgPal.setColor(QPalette::WindowText, kBorderColor);
    imgBG->setPalette(bgPal);
    imgBG->setMouseTracking(true);
    imgBG->installEventFilter(this);

    imgLogo = new QLabel(this);
    imgLogo->setObjectName(QStringLiteral("imgLogo"));
    imgLogo->setGeometry(52, 13, 210, 56);
    imgLogo->setPixmap(picture(QStringLiteral("logo"), imgLogo->size()));

    lblDateTime = new QLabel(this);
    lblDateTime->setObjectName(QStringLiteral("lblDateTime"));
    lblDateTime->setGeometry(343, 19, 121, 17);
    lblDateTime->setFont(pixelFont(QStringLiteral("微软雅黑"), 12, true));
    QPalette datePal = lblDateTime->palette();
    datePal.setColor(QPalette::WindowText, QColor(128, 0, 0));
    lblDateTime->setPalette(datePal);

    const auto makeImage = [this](const char *name, QSize size, bool visible) {
        auto *img = new ImageLabel(this);
        img->setObjectName(QString::fromLatin1(name));
        // The pictures are named after their controls, without the prefix.
        img->setPixmap(picture(QString::fromLatin1(name + 4), size));
        img->resize(size);
        img->setVisible(visible);
        return img;
    };
    img_close_normal = makeImage("img_close_normal", QSize(39, 20), true);
    img_close_highlight = makeImage("img_close_highlight", QSize(39, 20), false);
    img_close_down = makeImage("img_close_down", QSize(39, 20), false);
    img_mini_normal = makeImage("img_mini_normal", QSize(28, 20), true);
    img_mini_highlight = makeImage("img_mini_highlight", QSize(28, 20), false);
    img_mini_down = makeImage("img_mini_down", QSize(28, 20), false);
    connect(img_close_normal, &ImageLabel::mouseMoved, this, &TMainFrm::img_close_normalMouseMove);
    connect(img_close_highlight, &ImageLabel::mousePressed, this,
            &TMainFrm::img_close_highlightMouseDown);
    connect(img_close_highlight, &ImageLabel::clicked, this, &TMainFrm::img_close_highlightClick);
    connect(img_close_down, &ImageLabel::clicked, this, &TMainFrm::img_close_highlightClick);
    connect(img_mini_normal, &ImageLabel::mouseMoved, this, &TMainFrm::img_mini_normalMouseMove);
    connect(img_mini_highlight, &ImageLabel::mousePressed, this,
            &TMainFrm::img_mini_highlightMouseDown);
    connect(img_mini_highlight, &ImageLabel::clicked, this, &TMainFrm::img_mini_highlightClick);
    connect(img_mini_down, &ImageLabel::clicked, this, &TMainFrm::img_mini_highlightClick);

    lblSet = new QLabel(QStringLiteral("|  选项"), this);
    lblSet->setObjectName(QStringLiteral("lblSet"));
    lblSet->setFont(pixelFont(QStringLiteral("宋体"), 12));
    lblSet->setCursor(Qt::PointingHandCursor);
    lblSet->installEventFilter(this);

    popSysset = new QMenu(this);
    popSysset->setObjectName(QStringLiteral("popSysset"));
    N_help = popSysset->addAction(QStringLiteral("帮助说明"));
    N_help->setObjectName(QStringLiteral("N_help"));
    N_Submit = popSysset->addAction(QStringLiteral("意见反馈"));
    N_Submit->setObjectName(QStringLiteral("N_Submit"));
    popSysset->addSeparator()->setObjectName(QStringLiteral("N4"));
    N_ExitPrj = popSysset->addAction(QStringLiteral("退出程序"));
    N_ExitPrj->setObjectName(QStringLiteral("N_ExitPrj"));
    connect(N_help, &QAction::triggered, this, &TMainFrm::N_helpClick);
    connect(N_Submit, &QAction::triggered, this, &TMainFrm::N_SubmitClick);
    connect(N_ExitPrj, &QAction::triggered, this, &TMainFrm::N_ExitPrjClick);
    openUrl = [](const QUrl &url) { QDesktopServices::openUrl(url); };
    moveOrResize = [this](Qt::Edges edges) {
        if (QWindow *window = windowHandle())
            edges ? window->startSystemResize(edges) : window->startSystemMove();
    };

    imgAppToDesk = new ImageLabel(this);
    imgAppToDesk->setObjectName(QStringLiteral("imgAppToDesk"));
    imgAppToDesk->setPixmap(picture(QStringLiteral("app_to_desk"), QSize(84, 29)));
    imgAppToDesk->setCursor(Qt::PointingHandCursor);
    connect(imgAppToDesk, &ImageLabel::clicked, this, &TMainFrm::imgAppToDeskClick);

    const auto fill = [](QWidget *panel, const QColor &color) {
        panel->setAutoFillBackground(true);
        QPalette pal = panel->palette();
        pal.setColor(QPalette::Window, color);
        panel->setPalette(pal);
    };
    // The left panel's fill and border share one colour: a plain plate.
    pnlLeft = new QWidget(this);
    pnlLeft->setObjectName(QStringLiteral("pnlLeft"));
    pnlLeft->setGeometry(4, 80, 302, 441);
    fill(pnlLeft, kBorderColor);
    pnlWeb = new QWidget(pnlLeft);
    pnlWeb->setObjectName(QStringLiteral("pnlWeb"));
    pnlWeb->setGeometry(1, 1, kWebWidth, 250);
    fill(pnlWeb, Qt::white);
    webLink = new WebBrowser(pnlWeb);
    webLink->setObjectName(QStringLiteral("webLink"));
    webLink->setGeometry(kWebLinkRect);
    webLink->setSource(QUrl(QStringLiteral("qrc:/pages/start.html")));
    webLink->installEventFilter(this);
    webLink->viewport()->installEventFilter(this);
    connect(webLink, &QTextBrowser::anchorClicked, this, [this](const QUrl &url) {
        if (url == QUrl(QStringLiteral("tevuna:help")))
            N_helpClick();
        else if (url == QUrl(QStringLiteral("tevuna:feedback")))
            N_SubmitClick();
        else
            openUrl(url);
    });
    imgAddToDesk = new ImageLabel(pnlLeft);
    imgAddToDesk->setObjectName(QStringLiteral("imgAddToDesk"));
    imgAddToDesk->setGeometry(54, 264, 200, 93);
    imgAddToDesk->setPixmap(picture(QStringLiteral("add_to_desk"), imgAddToDesk->size()));
    imgAddToDesk->setScaledContents(true);
    imgAddToDesk->setCursor(Qt::PointingHandCursor);
    connect(imgAddToDesk, &ImageLabel::clicked, this, &TMainFrm::imgAddToDeskClick);

    pngRight = new QWidget(this);
    pngRight->setObjectName(QStringLiteral("pngRight"));
    fill(pngRight, Qt::white);
    auto *memoPanel = new QFrame(pngRight);
    memoPanel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    memoPanel->setLineWidth(1);
    pnlABC = memoPanel;
    pnlABC->setObjectName(QStringLiteral("pnlABC"));
    fill(pnlABC, Qt::white);

    ChnCalendar1 = new TChnCalendar(pnlABC);
    ChnCalendar1->setObjectName(QStringLiteral("ChnCalendar1"));
    ChnCalendar1->setShowFrame(false);
    ChnCalendar1->setStretch(true);
    ChnCalendar1->setTransparent(true);
    connect(ChnCalendar1, &TChnCalendar::OnChange, this, &TMainFrm::ChnCalendar1Change);

    rdtAbc = new MemoBox(pnlABC);
    connect(rdtAbc, &MemoBox::exited, this, &TMainFrm::rdtAbcExit);

    btnGou = new QPushButton(QStringLiteral("√"), this);
    btnGou->setObjectName(QStringLiteral("btnGou"));
    btnGou->setGeometry(341, 55, 23, 22);
    btnX = new QPushButton(QStringLiteral("X"), this);
    btnX->setObjectName(QStringLiteral("btnX"));
    btnX->setGeometry(365, 55, 23, 22);
    for (auto [button, px] : {std::pair{btnGou, 14}, std::pair{btnX, 12}}) {
        button->setFont(pixelFont(QStringLiteral("Arial Black"), px, true));
        button->setFlat(true);
        // The buttons act on the memo box: they must not take its focus away.
        button->setFocusPolicy(Qt::NoFocus);
    }
    connect(btnGou, &QPushButton::clicked, this, &TMainFrm::btnGouClick);
    connect(btnX, &QPushButton::clicked, this, &TMainFrm::btnXClick);
    imgDate = new ImageLabel(this);
    imgDate->setObjectName(QStringLiteral("imgDate"));
    imgDate->setGeometry(395, 58, 44, 15);
    imgDate->setPixmap(picture(QStringLiteral("date"), imgDate->size()));
    imgDate->setCursor(Qt::PointingHandCursor);
    connect(imgDate, &ImageLabel::clicked, this, &TMainFrm::imgDateClick);
    imgRedColor = new ImageLabel(this);
    imgRedColor->setObjectName(QStringLiteral("imgRedColor"));
    imgRedColor->setGeometry(441, 61, 20, 11);
    imgRedColor->setPixmap(picture(QStringLiteral("red_color"), imgRedColor->size()));
    imgRedColor->setCursor(Qt::PointingHandCursor);
    connect(imgRedColor, &ImageLabel::clicked, this, &TMainFrm::imgRedColorClick);
    chooseColor = [this](const QColor &initial) {
        return QColorDialog::getColor(initial, this, QString(), QColorDialog::DontUseNativeDialog);
    };

    tmrAutoSave = new QTimer(this);
    tmrAutoSave->setObjectName(QStringLiteral("tmrAutoSave"));
    tmrAutoSave->setInterval(kAutoSaveIntervalMs);
    connect(tmrAutoSave, &QTimer::timeout, this, &TMainFrm::tmrAutoSaveTimer);
    tmrDate = new QTimer(this);
    tmrDate->setObjectName(QStringLiteral("tmrDate"));
    tmrDate->setInterval(kDateCheckIntervalMs);
    connect(tmrDate, &QTimer::timeout, this, &TMainFrm::tmrDateTimer);
    tmrDate->start();
    layoutControls();
}

void TMainFrm::FormCreate()
{
    try {
        WallpaperGlobals &g = wallpaperGlobals();
        m_currentPicName.clear();
        g.picList.clear();
        g.picCount = 0;
        m_memoSchemeIndex = 0;
        tmrAutoSave->start();
        ChnCalendar1->setDateTime(Clock::current().now());
        tmrDateTimer();
        g.askFlag = true;
        g.answer = 0;
        ReadSetting();
        LoadList(false);
    } catch (const AppError &e) {
        // The remaining creation steps are skipped; start-up goes on.
        reportError(e.text());
    }
}

void TMainFrm::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // The platform window exists once shown; a new one (after a change of flags) is watched too.
    if (QWindow *window = windowHandle(); window && window != m_chromeWindow) {
        m_chromeWindow = window;
        window->installEventFilter(this);
    }
    if (!m_shown) {
        m_shown = true;
        FormShow();
    }
}

void TMainFrm::FormShow()
{
    try {
        LoadWindowSettings();
        const QColor scheme = memoSchemeColor(m_memoSchemeIndex);
        if (scheme.isValid())
            rdtAbc->setSchemeColor(scheme);
        LoadMemo();
    } catch (const AppError &e) {
        reportError(e.text());
    }
}

void TMainFrm::LoadWindowSettings()
{
    const QString path = settingsPath();
    WindowSettings s;
    const bool exists = QFileInfo::exists(path);
    if (exists) {
        s = parseWindowSettings(linefile::read(path));
    } else {
        const QScreen *screen = QGuiApplication::primaryScreen();
        s = defaultWindowSettings(screen ? screen->size() : kDesignSize);
    }
    // No clamping to the screen: a window closed partly off the screen reopens there.
    resize(s.width, height());
    resize(width(), s.height);
    move(s.left, y());
    move(x(), s.top);
    m_memoSchemeIndex = s.memoSchemeIndex;
    m_savedBounds = s;
    if (!exists)
        SaveWindowSettings();
}

void TMainFrm::SaveWindowSettings()
{
    WindowSettings s = m_savedBounds;
    s.memoSchemeIndex = m_memoSchemeIndex;
    linefile::write(settingsPath(), windowSettingsLines(s));
}

void TMainFrm::img_close_highlightClick()
{
    try {
        SaveMemo();
        if (m_memo.hasUnsaved()) {
            // Ending now would lose them: the user can try again, or leave by the menu.
            Reporter::current().message(
                QStringLiteral("记事未能保存到数据库，程序暂不退出。请稍后再试。"));
            return;
        }
        m_savedBounds.width = width();
        m_savedBounds.height = height();
        m_savedBounds.left = x();
        m_savedBounds.top = y();
        SaveWindowSettings();
        requestTermination();
    } catch (const AppError &e) {
        reportError(e.text());
    }
}

void TMainFrm::N_ExitPrjClick()
{
    requestTermination();
}

void TMainFrm::requestTermination()
{
    m_terminating = true;
    tmrAutoSave->stop();
    QCoreApplication::quit();
}

void TMainFrm::closeEvent(QCloseEvent *event)
{
    // The platform's close ends the application without saving anything.
    m_terminating = true;
    tmrAutoSave->stop();
    QWidget::closeEvent(event);
}

void TMainFrm::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layoutControls();
}

void TMainFrm::layoutControls()
{
    const int dx = width() - kClientSize.width();
    const int dy = height() - kClientSize.height();
    imgBG->setGeometry(rect());
    for (ImageLabel *img : {img_close_normal, img_close_highlight, img_close_down})
        img->setGeometry(702 + dx, 1, 39, 20);
    img_mini_normal->setGeometry(673 + dx, 1, 28, 20);
    img_mini_highlight->setGeometry(672 + dx, 1, 28, 20);
    img_mini_down->setGeometry(672 + dx, 1, 28, 20);
    lblSet->setGeometry(595 + dx, 56, 42, 12);
    imgAppToDesk->setGeometry(654 + dx, 45, 84, 29);
    pngRight->setGeometry(315, 80, 423 + dx, 381 + dy);
    pnlABC->setGeometry(pngRight->rect());
    ChnCalendar1->setGeometry(2, 2, pnlABC->width() - 4, 255);
    rdtAbc->setGeometry(2, 257, pnlABC->width() - 4, pnlABC->height() - 259);
}

void TMainFrm::setChrome(Look close, Look mini)
{
    img_close_normal->setVisible(close == Look::Normal);
    img_close_highlight->setVisible(close == Look::Highlight);
    img_close_down->setVisible(close == Look::Down);
    img_mini_normal->setVisible(mini == Look::Normal);
    img_mini_highlight->setVisible(mini == Look::Highlight);
    img_mini_down->setVisible(mini == Look::Down);
}

void TMainFrm::imgBGMouseMove()
{
    setChrome(Look::Normal, Look::Normal);
}

void TMainFrm::img_close_normalMouseMove()
{
    setChrome(Look::Highlight, Look::Normal);
}

void TMainFrm::img_close_highlightMouseDown()
{
    setChrome(Look::Down, Look::Normal);
    // Hiding the pressed picture ends its mouse grab: the pressed look takes the grab over,
    // so the release lands on it and completes the click.
    img_close_down->grabMouse();
}

void TMainFrm::img_mini_normalMouseMove()
{
    setChrome(Look::Normal, Look::Highlight);
}

void TMainFrm::img_mini_highlightMouseDown()
{
    setChrome(Look::Normal, Look::Down);
    img_mini_down->grabMouse();
}

void TMainFrm::img_mini_highlightClick()
{
    // Minimised, not hidden: the desktop's taskbar or window list brings the window back.
    showMinimized();
    setChrome(Look::Normal, Look::Normal);
}

void TMainFrm::lblSetClick()
{
    // From now on a right click on the label opens the menu too, at the cursor.
    if (lblSet->contextMenuPolicy() != Qt::CustomContextMenu) {
        lblSet->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(lblSet, &QWidget::customContextMenuRequested, this,
                [this](QPoint pos) { popSysset->popup(lblSet->mapToGlobal(pos)); });
    }
    popSysset->popup(lblSet->mapToGlobal(QPoint(0, lblSet->height())));
}

void TMainFrm::N_helpClick()
{
    openBundledPage(QStringLiteral("help"));
}

void TMainFrm::N_SubmitClick()
{
    openBundledPage(QStringLiteral("feedback"));
}

void TMainFrm::openBundledPage(const QString &name)
{
    // The user's browser cannot read the program's resources: the page goes beside the
    // working files first, fresh each time so it always matches this version.
    const QString folder = appfolder::path(QStringLiteral("Data/pages"));
    const QString target = QDir(folder).filePath(name + QStringLiteral(".html"));
    QFile source(QStringLiteral(":/pages/%1.html").arg(name));
    QFile out(target);
    // A page that cannot be written is not opened, and reports nothing.
    if (!QDir().mkpath(folder) || !source.open(QIODevice::ReadOnly) ||
        !out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(source.readAll()) < 0 ||
        !out.flush())
        return;
    out.close();
    openUrl(QUrl::fromLocalFile(target));
}

void TMainFrm::tmrDateTimer()
{
    const QString text = dateLabelText(Clock::current().now().date());
    if (lblDateTime->text() != text) {
        lblDateTime->setText(text);
        // The label grows with its text, so no part of the date is ever cut off.
        lblDateTime->adjustSize();
    }
}

Qt::Edges TMainFrm::sizingEdges(QPoint pos) const
{
    Qt::Edges edges;
    if (pos.x() < kSizingFrame)
        edges |= Qt::LeftEdge;
    if (pos.x() >= width() - kSizingFrame)
        edges |= Qt::RightEdge;
    if (pos.y() < kSizingFrame)
        edges |= Qt::TopEdge;
    if (pos.y() >= height() - kSizingFrame)
        edges |= Qt::BottomEdge;
    return edges;
}

void TMainFrm::paintEvent(QPaintEvent *)
{
    // The frame under everything: white fill, light blue border.
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    p.setPen(kBorderColor);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

void TMainFrm::imgBGMouseDown(QMouseEvent *event)
{
    // The left button resizes by the sizing frame and moves by the rest; any other button
    // drags the window from either, as a caption would.
    const Qt::Edges edges = sizingEdges(event->position().toPoint());
    if (event->button() == Qt::LeftButton) {
        // Qt's idea of where the window is can lag behind the window manager's (it says the
        // screen's corner until the window first moves), and the desktop is told the press's
        // point from it: a wrong one makes the window jump.
        if (QWindow *window = windowHandle()) {
            const QPoint at = (event->globalPosition() - event->position()).toPoint();
            if (window->position() != at)
                window->setPosition(at);
        }
        moveOrResize(edges);
        return;
    }
    // The desktop's own move ends only on the left button's release (X11 tells it which
    // button drives the move, and Qt always says the left): another button's drag is
    // followed here. A Wayland client cannot place its window, so there the desktop moves it.
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) {
        moveOrResize(Qt::Edges());
        return;
    }
    m_drag.press(this, event->button(), event->globalPosition().toPoint());
}

bool TMainFrm::chromeMouseEvent(QMouseEvent *event)
{
    // Window coordinates are this widget's: the window has no frame of the platform's.
    const QPoint pos = event->position().toPoint();
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        if (m_drag.active())
            return true;
        // Only the first button pressed counts; a control holding the mouse (a pressed close
        // or minimise picture) or an open menu keeps it.
        if (event->buttons() != event->button() || QWidget::mouseGrabber() ||
            QApplication::activePopupWidget())
            return false;
        // A press the desktop took over may never have shown its release.
        m_chromePress = Qt::NoButton;
        if (!sizingEdges(pos) && childAt(pos) != imgBG)
            return false;
        if (event->type() == QEvent::MouseButtonPress) {
            m_chromePress = event->button();
            imgBGMouseDown(event);
        }
        return true;
    }
    case QEvent::MouseMove:
        if (m_drag.active()) {
            if (!m_drag.move(event->buttons(), event->globalPosition().toPoint()))
                m_chromePress = Qt::NoButton; // its release went elsewhere
            return true;
        }
        if (event->buttons() != Qt::NoButton || QWidget::mouseGrabber())
            return false;
        if (const Qt::Edges edges = sizingEdges(pos); edges) {
            showSizingCursor(edges, pos);
            // The frame is the background's, whatever control lies under it.
            imgBGMouseMove();
            return true;
        }
        showSizingCursor(Qt::Edges(), pos);
        return false;
    case QEvent::MouseButtonRelease:
        // While the window follows a drag, no control sees a click.
        if (m_drag.active()) {
            m_drag.release(event->button());
            if (!m_drag.active())
                m_chromePress = Qt::NoButton;
            return true;
        }
        if (event->button() != m_chromePress)
            return false;
        m_chromePress = Qt::NoButton;
        return true;
    default:
        return false;
    }
}

void TMainFrm::showSizingCursor(Qt::Edges edges, QPoint pos)
{
    QWindow *window = windowHandle();
    if (!window)
        return;
    if (!edges) {
        // Qt sets a control's cursor only when the pointer enters it: coming back from the
        // frame to the same control needs it set again.
        if (m_sizingCursorShown) {
            const QWidget *under = childAt(pos);
            window->setCursor((under ? under : this)->cursor());
            m_sizingCursorShown = false;
        }
        return;
    }
    if (edges == (Qt::LeftEdge | Qt::TopEdge) || edges == (Qt::RightEdge | Qt::BottomEdge))
        window->setCursor(Qt::SizeFDiagCursor);
    else if (edges == (Qt::RightEdge | Qt::TopEdge) || edges == (Qt::LeftEdge | Qt::BottomEdge))
        window->setCursor(Qt::SizeBDiagCursor);
    else if (edges & (Qt::LeftEdge | Qt::RightEdge))
        window->setCursor(Qt::SizeHorCursor);
    else
        window->setCursor(Qt::SizeVerCursor);
    m_sizingCursorShown = true;
}

bool TMainFrm::AppEvent1Message(QObject *watched, QEvent *event)
{
    if (!webLink || (watched != webLink && watched != webLink->viewport()))
        return false;
    // The browser's own menu offers nothing for a start page: right clicks in it do nothing
    // at all.
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
        return static_cast<QMouseEvent *>(event)->button() == Qt::RightButton;
    case QEvent::ContextMenu:
        return true;
    default:
        return false;
    }
}

bool TMainFrm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_chromeWindow) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
            return chromeMouseEvent(static_cast<QMouseEvent *>(event));
        default:
            return false;
        }
    }
    if (watched == imgBG && event->type() == QEvent::MouseMove) {
        imgBGMouseMove();
        return true;
    }
    if (watched == lblSet && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        lblSetClick();
        return true;
    }
    if (AppEvent1Message(watched, event))
        return true;
    return QWidget::eventFilter(watched, event);
}

} // namespace tevuna
