// The notes on the desktop: the card of the chosen day over the next background picture of the
// list, saved as Mix.bmp and made the wallpaper.
#include "app/uMain.h"

#include "base/AppError.h"
#include "base/Reporter.h"
#include "calendarview/ChnCalendarPicker.h"
#include "notes/MemoBox.h"
#include "wallpaper/CBmp.h"
#include "wallpaper/Picture.h"
#include "wallpaper/desktop/ApplyDesktopWallpaper.h"
#include "wallpaper/desktop/DesktopWallpaper.h"
#include "wallpaper/uDeskBGSet.h"
#include "wallpaper/uGlobal.h"
#include "wallpaper/uInfoFrm.h"
#include "wallpaper/uPicSel.h"

#include <QDir>
#include <QFileInfo>

namespace tevuna {

namespace {

// The card stands this far from the picture's right edge and top.
constexpr int kCardRightMargin = 52;
constexpr int kCardTop = 30;

} // namespace

void TMainFrm::setCompositionParts(TDeskBGSetFrm *deskBGSet, TPicSelFrm *picSelFrm,
                                   TInforFrm *inforFrm, DesktopWallpaper *desktop)
{
    m_deskBGSet = deskBGSet;
    m_picSelFrm = picSelFrm;
    m_inforFrm = inforFrm;
    m_desktop = desktop;
}

void TMainFrm::LoadList(bool reselect)
{
    const QString error = tevuna::LoadList(reselect, m_currentPicName, m_picIndex);
    if (!error.isEmpty())
        reportError(error);
}

void TMainFrm::imgAddToDeskClick()
{
    if (!m_picSelFrm)
        return;
    m_picSelFrm->selectedPicName = m_currentPicName;
    if (m_picSelFrm->parentWidget())
        m_picSelFrm->move(geometry().center() - m_picSelFrm->rect().center());
    m_picSelFrm->exec();
    if (m_picSelFrm->selectedPicName == m_currentPicName) {
        LoadList(false);
    } else {
        m_currentPicName = m_picSelFrm->selectedPicName;
        LoadList(true);
    }
}

void TMainFrm::imgAppToDeskClick()
{
    if (!m_deskBGSet)
        return;
    WallpaperGlobals &g = wallpaperGlobals();
    if (g.askFlag && m_inforFrm) {
        m_inforFrm->Ask();
        if (g.answer != 1)
            return;
    }
    TDeskBGSetFrm &set = *m_deskBGSet;
    set.memoLines = {rdtAbc->toPlainText()};
    set.contentDate = ChnCalendar1->DateTime();
    try {
        set.RenderContentImage();
    } catch (const AppError &e) {
        reportError(e.text());
        return;
    }

    const int entries = int(g.picList.size());
    if (entries == 0) {
        Reporter::current().message(
            QStringLiteral("壁纸图片列表是空的，请先点击“选择壁纸”添加图片。"));
        return;
    }
    int i = m_picIndex;
    // An index left over from a longer list never reads past the end of this one.
    if (i < 0 || i >= entries)
        i = entries - 1;
    set.backgroundPath = picturePath(g.picList[i].fileName);
    if (!QFileInfo::exists(set.backgroundPath)) {
        // A missing picture moves the index up and consumes the click.
        if (i != 0) {
            ++i;
            if (i >= entries)
                i = 1;
        }
        m_picIndex = i;
        return;
    }
    set.contentPath = picturePath(QStringLiteral("Content.bmp"));
    if (!set.LoadBackground(set.backgroundPath)) {
        // The message names the picture; the rotation steps past it, so one damaged file
        // never blocks the apply for good.
        --i;
        if (i < 1)
            i = entries - 1;
        m_picIndex = i;
        return;
    }
    // A broken Mix.bmp must never reach the desktop.
    if (!set.LoadContent(set.contentPath))
        return;

    // The background stays in its holder as it was loaded; the composite is written from it
    // with the mixed card block laid over, so a 4K picture is never copied whole.
    const int x = set.imgPicBG.width() - set.imgPicMix.width() - kCardRightMargin;
    QPoint at;
    const QImage block =
        blendBlock(set.imgPicMix, set.imgPicBG, kCardTop, x, set.transparencyPosition + 2, &at);
    const QString mixPath = picturePath(QStringLiteral("Mix.bmp"));
    try {
        writeBmp(set.imgPicBG, mixPath, block, at);
    } catch (const AppError &e) {
        reportError(e.text());
        return;
    }
    QString error;
    if (!m_desktop || !applyDesktopWallpaper(*m_desktop, mixPath, &error)) {
        if (error.isEmpty())
            error = QStringLiteral("没有可用的桌面。");
        Reporter::current().message(
            QStringLiteral("无法把图片设为桌面壁纸：%1\n合成的壁纸已保存在 %2，可以手动设置。")
                .arg(error, QDir::toNativeSeparators(mixPath)));
    }
    --i;
    if (i < 1)
        i = entries - 1;
    m_picIndex = i;
}

} // namespace tevuna
