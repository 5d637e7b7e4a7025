#include "wallpaper/desktop/SwayWallpaper.h"

#include "wallpaper/desktop/CommandRunner.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace tevuna {

namespace {
const QString kSwaybg = QStringLiteral("swaybg");
} // namespace

SwayWallpaper::SwayWallpaper(std::shared_ptr<CommandRunner> runner, QString pidFile)
    : m_runner(std::move(runner)), m_pidFile(std::move(pidFile))
{}

QString SwayWallpaper::defaultPidFile()
{
    QString dir = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (dir.isEmpty())
        dir = QDir::tempPath();
    return QDir(dir).filePath(QStringLiteral("tevuna-swaybg.pid"));
}

bool SwayWallpaper::set(const QString &path, QString *error)
{
    qint64 previous = 0;
    {
        QFile file(m_pidFile);
        if (file.open(QIODevice::ReadOnly))
            previous = file.readAll().trimmed().toLongLong();
    }

    qint64 pid = 0;
    QString reason;
    if (!m_runner->startDetached(kSwaybg,
                                 {QStringLiteral("-o"), QStringLiteral("*"), QStringLiteral("-i"),
                                  path, QStringLiteral("-m"), QStringLiteral("stretch")},
                                 &pid, &reason)) {
        if (error)
            *error = QStringLiteral("无法设置 sway 桌面背景：%1").arg(reason);
        return false;
    }

    QSaveFile file(m_pidFile);
    if (file.open(QIODevice::WriteOnly)) {
        file.write(QByteArray::number(pid));
        file.commit();
    }
    if (previous > 0 && previous != pid)
        m_runner->stopDetached(previous, kSwaybg);
    return true;
}

} // namespace tevuna
