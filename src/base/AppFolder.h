#pragma once

#include <QString>

namespace tevuna::appfolder {

// The folder every working file is resolved against:
// 1. $TEVUNA_HOME when set;
// 2. the program's own folder when it holds Data/ (a portable install);
// 3. the per-user data folder.
QString root();

// root() joined with a relative path written with '/' ("Data/FormSize.ini").
QString path(const QString &relative);

// The data folder and the picture folder, as relative paths.
inline constexpr const char *kDataDir = "Data";
inline constexpr const char *kPictureDir = "source/DeskTopBG";

} // namespace tevuna::appfolder
