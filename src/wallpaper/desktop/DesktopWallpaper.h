#pragma once

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <memory>

namespace tevuna {

class CommandRunner;

// Makes a picture file the desktop wallpaper, on whatever desktop this session runs.
class DesktopWallpaper
{
public:
    virtual ~DesktopWallpaper();
    // False, with a reason the user can read, when the desktop refused or is not there.
    virtual bool set(const QString &path, QString *error) = 0;
    // True when the desktop ignores a picture whose path did not change, so every apply
    // must hand it a file of a new name (see applyDesktopWallpaper).
    virtual bool needsFreshPath() const { return true; }
};

// The desktops we know how to set a wallpaper on.
enum class DesktopKind { Unavailable, Windows, Gnome, Cinnamon, Mate, Kde, Xfce, Sway, X11 };

struct DesktopChoice {
    DesktopKind kind = DesktopKind::Unavailable;
    // Why no desktop can be used, for the user; empty unless kind is Unavailable.
    QString reason;
};

// Picks the back end for a session from its environment: TEVUNA_DESKTOP forces one (gnome,
// unity, budgie, cinnamon, mate, kde, xfce, sway, x11, windows, none); otherwise
// XDG_CURRENT_DESKTOP names the desktop, and a session it does not name falls back on swaybg
// under sway and on the root window under plain X11.
DesktopChoice chooseDesktop(const QProcessEnvironment &env);

// The back end for a choice. screenNames are the session's outputs (used by XFCE when it has
// never stored a background); runner carries out every external command.
std::unique_ptr<DesktopWallpaper> createDesktopWallpaper(const DesktopChoice &choice,
                                                         std::shared_ptr<CommandRunner> runner,
                                                         const QStringList &screenNames = {});

// The back end for this session: its environment, the real command runner, its screens.
std::unique_ptr<DesktopWallpaper> createDesktopWallpaper();

} // namespace tevuna
