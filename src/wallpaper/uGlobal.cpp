#include "wallpaper/uGlobal.h"

#include "base/AppError.h"
#include "base/AppFolder.h"
#include "base/LineFile.h"
#include "wallpaper/Picture.h"

#include <QDir>
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
        WriteSetting(true);
        return;
    }
    const QStringList lines = linefile::read(g.settingPath);
    if (strToInt(lineAt(lines, 0)) <= 0)
        g.askFlag = false;
}

void WriteSetting(bool ask)
{
    WallpaperGlobals &g = wallpaperGlobals();
    if (g.settingPath.isEmpty())
        g.settingPath = appfolder::path(QStringLiteral("Data/configSetBg.ini"));
    linefile::write(g.settingPath, {ask ? QStringLiteral("1") : QStringLiteral("0")});
}

QString pictureFolder()
{
    return appfolder::path(QString::fromLatin1(appfolder::kPictureDir));
}

QString picturePath(const QString &fileName)
{
    return QDir(pictureFolder()).filePath(fileName);
}

QString picListPath()
{
    return appfolder::path(QStringLiteral("Data/BGPicList.ini"));
}

QStringList defaultPicListLines()
{
    return {QStringLiteral("A1.bmp"), QStringLiteral("A1.bmp")};
}

QString LoadList(bool reselect, QString &currentPicName, int &picIndex)
{
    WallpaperGlobals &g = wallpaperGlobals();
    g.picCount = 0;
    const QString path = picListPath();
    if (!QFileInfo::exists(path)) {
        QString error;
        try {
            linefile::write(path, defaultPicListLines());
        } catch (const AppError &e) {
            // The list still works for this run; the file is written again next time.
            error = e.text();
        }
        currentPicName = QStringLiteral("A1.bmp");
        g.picList = {{0, currentPicName}, {1, currentPicName}};
        g.picCount = 2;
        picIndex = 0;
        return error;
    }
    QStringList lines;
    try {
        lines = linefile::read(path);
    } catch (const AppError &) {
        return {}; // read errors of the list are not the user's concern at start-up
    }
    if (lines.isEmpty())
        return {};
    currentPicName = lines.first();
    g.picCount = int(lines.size());
    g.picList.resize(lines.size());
    for (int k = 0; k < g.picCount; ++k) {
        g.picList[k] = {k, lines[k]};
        if (lines[k] == currentPicName)
            picIndex = reselect ? k : g.picCount - 1;
    }
    return {};
}

BmpConversion ConvertToBmp(const QString &path)
{
    const QFileInfo info(path);
    const QString ext = info.suffix().toLower();
    if (ext == QLatin1String("bmp"))
        return {true, path};
    if (ext != QLatin1String("jpg") && ext != QLatin1String("jpeg") && ext != QLatin1String("gif"))
        return {true, QString()};
    const QImage image = readPicture(path);
    if (image.isNull())
        return {false, QString()};
    const QString bmp =
        QDir(info.absolutePath()).filePath(info.completeBaseName() + QStringLiteral(".bmp"));
    try {
        writeBmp(image, bmp);
    } catch (const AppError &) {
        return {false, QString()};
    }
    return {true, bmp};
}

} // namespace tevuna
