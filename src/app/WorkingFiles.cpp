#include "app/WorkingFiles.h"

#include "base/AppFolder.h"
#include "notes/uDM.h"
#include "wallpaper/DefaultBackground.h"

#include <QDir>
#include <QFileInfo>

namespace tevuna {

void prepareWorkingFiles()
{
    // Failures here are not reported on their own: opening the database reports a data folder
    // that could not be made, and a missing background is reported when it is needed.
    QDir root(appfolder::root());
    root.mkpath(QString::fromLatin1(appfolder::kDataDir));
    root.mkpath(QString::fromLatin1(appfolder::kPictureDir));
    const QString db = TDM::databasePath();
    if (!QFileInfo::exists(db))
        TDM::CreateDatabase(db, nullptr);
    writeDefaultBackground(appfolder::path(QStringLiteral("source/DeskTopBG/A1.bmp")));
}

} // namespace tevuna
