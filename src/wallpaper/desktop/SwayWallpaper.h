#pragma once

#include "wallpaper/desktop/DesktopWallpaper.h"

#include <memory>

namespace tevuna {

// sway and other wlroots compositors.
//
// Under sway (its IPC socket is known) the picture goes through "swaymsg output * bg", so
// sway's own swaybg, which its stock configuration starts, is the one replaced: a client of
// our own would sit behind it. sway expands words in the path of that command, so it only
// ever sees a link of a plain name in the runtime folder, pointing at the picture.
//
// Elsewhere a swaybg client of our own draws the picture stretched on every output. The new
// client must still run a moment after its start (swaybg exits at once on a picture it cannot
// load) before the previous one is stopped, so a failure leaves the old background on screen.
class SwayWallpaper : public DesktopWallpaper
{
public:
    // runtimeDir holds the link and the file that remembers our client across runs, so the
    // next apply stops it and nothing else. swaySocket is sway's IPC socket, or empty.
    SwayWallpaper(std::shared_ptr<CommandRunner> runner, QString runtimeDir,
                  QString swaySocket = {});
    bool set(const QString &path, QString *error) override;
    // Each apply starts a client that reads the file afresh.
    bool needsFreshPath() const override { return false; }

    // $XDG_RUNTIME_DIR: it lives as long as the login session.
    static QString defaultRuntimeDir();

private:
    bool setThroughSway(const QString &path, QString *error);
    bool setThroughOwnClient(const QString &path, QString *error);

    std::shared_ptr<CommandRunner> m_runner;
    QString m_runtimeDir;
    QString m_swaySocket;
};

} // namespace tevuna
