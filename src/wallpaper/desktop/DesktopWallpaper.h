#pragma once

#include <QString>

#include <memory>

namespace tevuna {

// Makes a picture file the desktop wallpaper, on whatever desktop this session runs.
class DesktopWallpaper
{
public:
    virtual ~DesktopWallpaper();
    // False, with a reason the user can read, when the desktop refused or is not there.
    virtual bool set(const QString &path, QString *error) = 0;
};

} // namespace tevuna
