#include "wallpaper/WallpaperApplier.h"

#include "base/AppError.h"
#include "wallpaper/CBmp.h"
#include "wallpaper/Picture.h"
#include "wallpaper/desktop/ApplyDesktopWallpaper.h"
#include "wallpaper/uDeskBGSet.h"
#include "wallpaper/uGlobal.h"

#include <QDir>
#include <QFileInfo>

namespace tevuna {

namespace {

// The card stands this far from the picture's right edge and top.
constexpr int kCardRightMargin = 52;
constexpr int kCardTop = 30;

// The rotation runs down the list and wraps to its end, never to entry 0 (the default
// picture, which only a list of one uses).
int previousIndex(int i, int entries)
{
    --i;
    return i < 1 ? entries - 1 : i;
}

} // namespace

WallpaperApplier::WallpaperApplier(TDeskBGSetFrm &composition, DesktopWallpaper *desktop)
    : m_composition(composition), m_desktop(desktop)
{}

WallpaperApplyResult WallpaperApplier::apply(const QString &memoText, const QDateTime &day,
                                             int picIndex)
{
    WallpaperApplyResult result;
    result.nextPicIndex = picIndex;
    TDeskBGSetFrm &set = m_composition;
    set.memoLines = {memoText};
    set.contentDate = day;
    try {
        set.RenderContentImage();
    } catch (const AppError &e) {
        result.message = e.text();
        result.messageIsError = true;
        return result;
    }

    const WallpaperGlobals &g = wallpaperGlobals();
    const int entries = int(g.picList.size());
    if (entries == 0) {
        result.message = QStringLiteral("壁纸图片列表是空的，请先点击“选择壁纸”添加图片。");
        return result;
    }
    int i = picIndex;
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
        result.nextPicIndex = i;
        return result;
    }
    set.contentPath = picturePath(QStringLiteral("Content.bmp"));
    if (!set.LoadBackground(set.backgroundPath)) {
        // The loader named the picture; the rotation steps past it, so one damaged file
        // never blocks the apply for good.
        result.nextPicIndex = previousIndex(i, entries);
        return result;
    }
    // A broken Mix.bmp must never reach the desktop.
    if (!set.LoadContent(set.contentPath))
        return result;

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
        result.message = e.text();
        result.messageIsError = true;
        return result;
    }
    // The picture was used whether or not the desktop took it: the next apply moves on.
    result.nextPicIndex = previousIndex(i, entries);
    QString error;
    if (!m_desktop || !applyDesktopWallpaper(*m_desktop, mixPath, &error)) {
        if (error.isEmpty())
            error = QStringLiteral("没有可用的桌面。");
        result.message =
            QStringLiteral("无法把图片设为桌面壁纸：%1\n合成的壁纸已保存在 %2，可以手动设置。")
                .arg(error, QDir::toNativeSeparators(mixPath));
        return result;
    }
    result.applied = true;
    return result;
}

} // namespace tevuna
