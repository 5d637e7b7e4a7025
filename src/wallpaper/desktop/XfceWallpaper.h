#pragma once

#include "wallpaper/desktop/DesktopWallpaper.h"

#include <memory>

namespace tevuna {

// XFCE 4.12 and later: the picture of every monitor and workspace, in the xfce4-desktop
// channel of xfconf, written with xfconf-query.
class XfceWallpaper : public DesktopWallpaper
{
public:
    // screenNames: the session's outputs, used only when the desktop has never stored a
    // background for any monitor.
    XfceWallpaper(std::shared_ptr<CommandRunner> runner, QStringList screenNames);
    bool set(const QString &path, QString *error) override;

private:
    bool write(const QString &property, const QString &type, const QString &value, QString *error);

    std::shared_ptr<CommandRunner> m_runner;
    QStringList m_screenNames;
};

} // namespace tevuna
