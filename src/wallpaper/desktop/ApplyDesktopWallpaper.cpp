#include "wallpaper/desktop/ApplyDesktopWallpaper.h"

#include "wallpaper/desktop/DesktopWallpaper.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace tevuna {

namespace {

// Our copies only: Mix- and the 13 or more digits of a time in milliseconds. A picture the
// user added under another name is never touched.
const QRegularExpression &copyName()
{
    static const QRegularExpression re(QStringLiteral("^Mix-[0-9]{13,}\\.bmp$"));
    return re;
}

bool fail(QString *error, const QString &text)
{
    if (error)
        *error = text;
    return false;
}

} // namespace

bool applyDesktopWallpaper(DesktopWallpaper &backend, const QString &mixPath, QString *error)
{
    if (!QFileInfo(mixPath).isFile())
        return fail(error, QStringLiteral("找不到壁纸图片“%1”").arg(mixPath));
    if (!backend.needsFreshPath())
        return backend.set(mixPath, error);

    const QDir folder = QFileInfo(mixPath).absoluteDir();
    // A new name for every apply; two applies within one millisecond take the next number.
    qint64 stamp = QDateTime::currentMSecsSinceEpoch();
    QString copy;
    for (int attempt = 0; attempt < 100; ++attempt, ++stamp) {
        const QString candidate = folder.filePath(QStringLiteral("Mix-%1.bmp").arg(stamp));
        if (!QFileInfo::exists(candidate)) {
            copy = candidate;
            break;
        }
    }
    if (copy.isEmpty() || !QFile::copy(mixPath, copy))
        return fail(error, QStringLiteral("无法在“%1”中写入壁纸图片的副本")
                               .arg(QDir::toNativeSeparators(folder.path())));

    if (!backend.set(copy, error)) {
        QFile::remove(copy);
        return false;
    }
    // Only now is the previous copy off the screen; a desktop whose picture file
    // disappears turns black.
    const QString copyFile = QFileInfo(copy).fileName();
    for (const QString &name : folder.entryList({QStringLiteral("Mix-*.bmp")}, QDir::Files)) {
        if (name != copyFile && copyName().match(name).hasMatch())
            QFile::remove(folder.filePath(name));
    }
    return true;
}

} // namespace tevuna
