#include "wallpaper/uGlobal.h"

#include "base/AppError.h"
#include "base/AppFolder.h"
#include "base/LineFile.h"

#include <QFileInfo>

namespace tevuna {

WallpaperGlobals &wallpaperGlobals()
{
    static WallpaperGlobals globals;
    return globals;
}

void ReadSetting()
{
    WallpaperGlobals &g = wallpaperGlobals();
    g.settingPath = appfolder::path(QStringLiteral("Data/configSetBg.ini"));
    if (!QFileInfo::exists(g.settingPath)) {
        linefile::write(g.settingPath, {QStringLiteral("1")});
        return;
    }
    const QStringList lines = linefile::read(g.settingPath);
    if (strToInt(lineAt(lines, 0)) <= 0)
        g.askFlag = false;
}

} // namespace tevuna
