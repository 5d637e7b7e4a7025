#include "base/AppFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

namespace tevuna::appfolder {

QString root()
{
    const QString home = qEnvironmentVariable("TEVUNA_HOME");
    if (!home.isEmpty())
        return QDir(home).absolutePath();
    if (QCoreApplication::instance()) {
        const QDir programDir(QCoreApplication::applicationDirPath());
        if (programDir.exists(QString::fromLatin1(kDataDir)))
            return programDir.absolutePath();
    }
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

QString path(const QString &relative)
{
    return QDir(root()).filePath(relative);
}

} // namespace tevuna::appfolder
