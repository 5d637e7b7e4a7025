#pragma once

#include "wallpaper/desktop/DesktopWallpaper.h"
#include "wallpaper/desktop/WindowsWallpaperApi.h"

#include <functional>

namespace tevuna {

// Windows: the registry values and SystemParametersInfo, through the Qt-free setter; this
// side turns the path into the system's form and the outcome into a message.
class WindowsWallpaper : public DesktopWallpaper
{
public:
    using Setter = std::function<windows::WallpaperOutcome(const wchar_t *path)>;
    // setter: windows::setSystemWallpaper on Windows; tests pass their own.
    explicit WindowsWallpaper(Setter setter);
    bool set(const QString &path, QString *error) override;
    // Windows reads the file again on every call, whatever its name.
    bool needsFreshPath() const override { return false; }

private:
    Setter m_setter;
};

} // namespace tevuna
