#pragma once

#include "wallpaper/desktop/DesktopWallpaper.h"

#include <memory>

namespace tevuna {

// sway and other wlroots compositors: a swaybg client of our own that draws the picture
// stretched on every output. A new client is started before the previous one is stopped,
// so the outputs never show an empty background in between. swaymsg "output * bg" is not
// used: sway passes the path through its own word expansion.
class SwayWallpaper : public DesktopWallpaper
{
public:
    // pidFile remembers our client across runs of the program, so the next apply stops
    // it and nothing else.
    SwayWallpaper(std::shared_ptr<CommandRunner> runner, QString pidFile);
    bool set(const QString &path, QString *error) override;
    // Each apply starts a client that reads the file afresh.
    bool needsFreshPath() const override { return false; }

    // $XDG_RUNTIME_DIR/tevuna-swaybg.pid: it lives as long as the login session.
    static QString defaultPidFile();

private:
    std::shared_ptr<CommandRunner> m_runner;
    QString m_pidFile;
};

} // namespace tevuna
