#include "base/QtTranslation.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QTranslator>

namespace tevuna {

bool installQtTranslation()
{
    // Where Qt keeps its translations on Linux; beside the program in a deployed Windows
    // folder.
    const QStringList folders{
        QLibraryInfo::path(QLibraryInfo::TranslationsPath),
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("translations"))};
    auto *translator = new QTranslator(QCoreApplication::instance());
    for (const QString &folder : folders)
        if (translator->load(QStringLiteral("qtbase_zh_CN"), folder))
            return QCoreApplication::installTranslator(translator);
    delete translator;
    return false;
}

} // namespace tevuna
