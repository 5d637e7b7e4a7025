#include "wallpaper/uInfoFrm.h"

#include "base/AppError.h"
#include "base/Artwork.h"
#include "base/Fonts.h"
#include "base/Reporter.h"
#include "wallpaper/uGlobal.h"

#include <QCheckBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QWindow>

void initWallpaperArtwork();

namespace tevuna {

namespace {

const QColor kOutline(216, 227, 243);

} // namespace

TInforFrm::TInforFrm(QWidget *parent) : QDialog(parent)
{
    initWallpaperArtwork();
    setObjectName(QStringLiteral("InforFrm"));
    setWindowTitle(QStringLiteral("InfoFrm"));
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setModal(true);
    setFixedSize(344, 156);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    setAutoFillBackground(true);

    imgques = new QLabel(this);
    imgques->setObjectName(QStringLiteral("imgques"));
    imgques->setGeometry(32, 24, 45, 46);
    imgques->setPixmap(artwork(QStringLiteral(":/wallpaper/question.svg"), imgques->size()));

    lblInfo = new QLabel(QStringLiteral("您确定要更换壁纸？"), this);
    lblInfo->setObjectName(QStringLiteral("lblInfo"));
    lblInfo->setFont(pixelFont(QStringLiteral("宋体"), 14, true));
    lblInfo->move(112, 40);
    lblInfo->adjustSize();

    chkSetBgInfo = new QCheckBox(QStringLiteral("下次不再提示"), this);
    chkSetBgInfo->setObjectName(QStringLiteral("chkSetBgInfo"));
    chkSetBgInfo->setGeometry(120, 88, 97, 17);
    chkSetBgInfo->setFont(pixelFont(QStringLiteral("宋体"), 12, false));

    btnok = new QPushButton(QStringLiteral("确  定"), this);
    btnok->setObjectName(QStringLiteral("btnok"));
    btnok->setGeometry(176, 120, 73, 21);
    btncancel = new QPushButton(QStringLiteral("取  消"), this);
    btncancel->setObjectName(QStringLiteral("btncancel"));
    btncancel->setGeometry(256, 120, 73, 21);
    btnClose = new QPushButton(QStringLiteral("X"), this);
    btnClose->setObjectName(QStringLiteral("btnClose"));
    btnClose->setGeometry(321, 1, 20, 18);
    btnClose->setFont(pixelFont(QStringLiteral("Arial"), 12, true));
    btnClose->setFlat(true);
    for (QPushButton *b : {btnok, btncancel, btnClose})
        b->setAutoDefault(false);
    btnok->setDefault(true);

    setTabOrder(btnok, btncancel);
    setTabOrder(btncancel, btnClose);
    setTabOrder(btnClose, chkSetBgInfo);

    connect(btnok, &QPushButton::clicked, this, &TInforFrm::btnokClick);
    connect(btncancel, &QPushButton::clicked, this, &TInforFrm::btncancelClick);
    connect(btnClose, &QPushButton::clicked, this, &TInforFrm::btnCloseClick);
}

void TInforFrm::Ask()
{
    if (parentWidget())
        move(parentWidget()->geometry().center() - rect().center());
    // Only 确定 says yes: Esc, the window's close and an earlier answer all mean no.
    wallpaperGlobals().answer = 0;
    btnok->setFocus();
    exec();
}

void TInforFrm::btnokClick()
{
    WallpaperGlobals &g = wallpaperGlobals();
    if (chkSetBgInfo->isChecked()) {
        g.askFlag = false;
        g.answer = 1;
        try {
            WriteSetting(false);
        } catch (const AppError &e) {
            // The window stays open; this run asks no more all the same.
            reportError(e.text());
            return;
        }
    } else {
        g.answer = 1;
    }
    close();
}

void TInforFrm::btncancelClick()
{
    wallpaperGlobals().answer = 0;
    close();
}

void TInforFrm::btnCloseClick()
{
    wallpaperGlobals().answer = 0;
    close();
}

void TInforFrm::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    p.setPen(kOutline);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

void TInforFrm::mousePressEvent(QMouseEvent *event)
{
    // The window has no title bar: its background drags it, by any button.
    m_drag.press(this, event->button(), event->globalPosition().toPoint());
    event->accept();
}

void TInforFrm::mouseMoveEvent(QMouseEvent *event)
{
    m_drag.move(event->buttons(), event->globalPosition().toPoint());
    event->accept();
}

void TInforFrm::mouseReleaseEvent(QMouseEvent *event)
{
    m_drag.release(event->button());
    event->accept();
}

} // namespace tevuna
