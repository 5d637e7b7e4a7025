#include "app/uMain.h"

#include "base/AppError.h"
#include "base/AppFolder.h"
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
#include <QFileInfo>
#include <QFocusEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QWindow>

namespace tevuna {

namespace {

// The window as designed; controls anchored right or on all sides keep their distance to
// these edges when the window is resized.
constexpr QSize kDesignSize(750, 500);
constexpr int kAutoSaveIntervalMs = 10000;
// Width of the invisible sizing frame along the window's edges.
constexpr int kSizingFrame = 4;

const QColor kBorderColor(216, 227, 243);

QString settingsPath()
{
    return appfolder::path(QStringLiteral("Data/FormSize.ini"));
}

// A picture button until the artwork arrives: the caption on a soft blue rounded plate.
QPixmap drawPictureButton(const QString &caption, QSize size, int pixelSize)
{
    QPixmap pm(size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 0, size.height());
    g.setColorAt(0, QColor(104, 160, 224));
    g.setColorAt(1, QColor(58, 116, 196));
    p.setBrush(g);
    p.setPen(QColor(46, 96, 168));
    p.drawRoundedRect(QRectF(0.5, 0.5, size.width() - 1, size.height() - 1), 5, 5);
    p.setFont(pixelFont(QStringLiteral("微软雅黑"), pixelSize, true));
    p.setPen(Qt::white);
    p.drawText(QRect(QPoint(0, 0), size), Qt::AlignCenter, caption);
    return pm;
}

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

TMainFrm::TMainFrm(TDM &dm, QWidget *parent) : QWidget(parent), m_dm(dm)
{
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
    // No title bar of the platform's own: the window draws its chrome and is dragged by its
    // background; the desktop still resizes it by its edges.
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setMouseTracking(true);
    resize(kDesignSize);

    lblDateTime = new QLabel(this);
    lblDateTime->setObjectName(QStringLiteral("lblDateTime"));
    lblDateTime->setGeometry(343, 19, 121, 17);
    lblDateTime->setFont(pixelFont(QStringLiteral("微软雅黑"), 12, true));
    QPalette datePal = lblDateTime->palette();
    datePal.setColor(QPalette::WindowText, QColor(128, 0, 0));
    lblDateTime->setPalette(datePal);

    const auto makeImage = [this](const char *name, const QPixmap &pm, bool visible) {
        auto *img = new ImageLabel(this);
        img->setObjectName(QString::fromLatin1(name));
        img->setPixmap(pm);
        img->setVisible(visible);
        return img;
    };
    img_close_normal =
        makeImage("img_close_normal", drawClosePicture(kBorderColor, Qt::darkGray), true);
    img_close_highlight =
        makeImage("img_close_highlight", drawClosePicture(QColor(232, 72, 72), Qt::white), false);
    img_close_down =
        makeImage("img_close_down", drawClosePicture(QColor(180, 40, 40), Qt::white), false);
    connect(img_close_normal, &ImageLabel::mouseMoved, this, [this] {
        img_close_down->hide();
        img_close_normal->hide();
        img_close_highlight->show();
    });
    connect(img_close_highlight, &ImageLabel::mousePressed, this, [this] {
        img_close_highlight->hide();
        img_close_normal->hide();
        img_close_down->show();
        // Hiding the pressed picture ends its mouse grab: the pressed look takes the grab
        // over, so the release lands on it and completes the click.
        img_close_down->grabMouse();
    });
    connect(img_close_highlight, &ImageLabel::clicked, this, &TMainFrm::img_close_highlightClick);
    connect(img_close_down, &ImageLabel::clicked, this, &TMainFrm::img_close_highlightClick);

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
    connect(N_ExitPrj, &QAction::triggered, this, &TMainFrm::N_ExitPrjClick);

    imgAppToDesk = new ImageLabel(this);
    imgAppToDesk->setObjectName(QStringLiteral("imgAppToDesk"));
    imgAppToDesk->setPixmap(drawPictureButton(QStringLiteral("添加到桌面"), QSize(84, 29), 13));
    imgAppToDesk->setCursor(Qt::PointingHandCursor);
    connect(imgAppToDesk, &ImageLabel::clicked, this, &TMainFrm::imgAppToDeskClick);

    pnlLeft = new QWidget(this);
    pnlLeft->setObjectName(QStringLiteral("pnlLeft"));
    pnlLeft->setGeometry(4, 80, 302, 441);
    imgAddToDesk = new ImageLabel(pnlLeft);
    imgAddToDesk->setObjectName(QStringLiteral("imgAddToDesk"));
    imgAddToDesk->setGeometry(54, 264, 200, 93);
    imgAddToDesk->setPixmap(drawPictureButton(QStringLiteral("选择壁纸"), QSize(200, 93), 24));
    imgAddToDesk->setCursor(Qt::PointingHandCursor);
    connect(imgAddToDesk, &ImageLabel::clicked, this, &TMainFrm::imgAddToDeskClick);

    pngRight = new QWidget(this);
    pngRight->setObjectName(QStringLiteral("pngRight"));
    pngRight->setAutoFillBackground(true);
    QPalette rightPal = pngRight->palette();
    rightPal.setColor(QPalette::Window, Qt::white);
    pngRight->setPalette(rightPal);

    ChnCalendar1 = new TChnCalendar(pngRight);
    ChnCalendar1->setObjectName(QStringLiteral("ChnCalendar1"));
    ChnCalendar1->setShowFrame(false);
    ChnCalendar1->setStretch(true);
    ChnCalendar1->setTransparent(true);
    connect(ChnCalendar1, &TChnCalendar::OnChange, this, &TMainFrm::ChnCalendar1Change);

    rdtAbc = new MemoBox(pngRight);
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
    imgDate->setPixmap(drawPictureButton(QStringLiteral("日期"), QSize(44, 15), 11));
    imgDate->setCursor(Qt::PointingHandCursor);
    connect(imgDate, &ImageLabel::clicked, this, &TMainFrm::imgDateClick);
    imgRedColor = new ImageLabel(this);
    imgRedColor->setObjectName(QStringLiteral("imgRedColor"));
    imgRedColor->setGeometry(441, 61, 20, 11);
    QPixmap swatch(20, 11);
    swatch.fill(QColor(220, 20, 20));
    imgRedColor->setPixmap(swatch);
    imgRedColor->setCursor(Qt::PointingHandCursor);
    connect(imgRedColor, &ImageLabel::clicked, this, &TMainFrm::imgRedColorClick);
    chooseColor = [this](const QColor &initial) {
        return QColorDialog::getColor(initial, this, QString(), QColorDialog::DontUseNativeDialog);
    };

    tmrAutoSave = new QTimer(this);
    tmrAutoSave->setObjectName(QStringLiteral("tmrAutoSave"));
    tmrAutoSave->setInterval(kAutoSaveIntervalMs);
    connect(tmrAutoSave, &QTimer::timeout, this, &TMainFrm::tmrAutoSaveTimer);
}

void TMainFrm::FormCreate()
{
    try {
        WallpaperGlobals &g = wallpaperGlobals();
        m_currentPicName.clear();
        g.picList.clear();
        g.picCount = 0;
        m_memoSchemeIndex = 0;
        m_contentLoaded = false;
        tmrAutoSave->start();
        ChnCalendar1->setDateTime(Clock::current().now());
        lblDateTime->setText(dateLabelText(Clock::current().now().date()));
        // The label grows with its text, so no part of the date is ever cut off.
        lblDateTime->adjustSize();
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
        if (!m_unsaved.isEmpty()) {
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
    const int dx = width() - kDesignSize.width();
    const int dy = height() - kDesignSize.height();
    img_close_normal->setGeometry(702 + dx, 1, 39, 20);
    img_close_highlight->setGeometry(702 + dx, 1, 39, 20);
    img_close_down->setGeometry(702 + dx, 1, 39, 20);
    lblSet->setGeometry(595 + dx, 56, 42, 12);
    imgAppToDesk->setGeometry(654 + dx, 45, 84, 29);
    pngRight->setGeometry(315, 80, 423 + dx, 381 + dy);
    ChnCalendar1->setGeometry(2, 2, pngRight->width() - 4, 255);
    rdtAbc->setGeometry(2, 257, pngRight->width() - 4, pngRight->height() - 259);
}

void TMainFrm::resetChrome()
{
    img_close_down->hide();
    img_close_highlight->hide();
    img_close_normal->show();
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
    QPainter p(this);
    QLinearGradient bg(0, 0, 0, height());
    bg.setColorAt(0, QColor(234, 242, 252));
    bg.setColorAt(1, QColor(246, 250, 255));
    p.fillRect(rect(), bg);
    p.setPen(kBorderColor);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

void TMainFrm::mousePressEvent(QMouseEvent *event)
{
    event->accept();
    QWindow *window = windowHandle();
    if (!window)
        return;
    // The edges are the sizing frame; any button elsewhere on the background drags the
    // window, as its caption would.
    const Qt::Edges edges = sizingEdges(event->position().toPoint());
    if (edges && event->button() == Qt::LeftButton)
        window->startSystemResize(edges);
    else
        window->startSystemMove();
}

void TMainFrm::mouseMoveEvent(QMouseEvent *event)
{
    resetChrome();
    const Qt::Edges edges = sizingEdges(event->position().toPoint());
    if (edges == (Qt::LeftEdge | Qt::TopEdge) || edges == (Qt::RightEdge | Qt::BottomEdge))
        setCursor(Qt::SizeFDiagCursor);
    else if (edges == (Qt::RightEdge | Qt::TopEdge) || edges == (Qt::LeftEdge | Qt::BottomEdge))
        setCursor(Qt::SizeBDiagCursor);
    else if (edges & (Qt::LeftEdge | Qt::RightEdge))
        setCursor(Qt::SizeHorCursor);
    else if (edges)
        setCursor(Qt::SizeVerCursor);
    else
        unsetCursor();
    QWidget::mouseMoveEvent(event);
}

bool TMainFrm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == lblSet && event->type() == QEvent::MouseButtonRelease) {
        popSysset->popup(lblSet->mapToGlobal(QPoint(0, lblSet->height())));
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace tevuna
