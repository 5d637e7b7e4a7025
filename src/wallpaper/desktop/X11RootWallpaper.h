#pragma once

#include "wallpaper/desktop/DesktopWallpaper.h"

namespace tevuna {

// Plain X11 without a desktop of its own: the picture, stretched to the screen, becomes the
// root window's background pixmap, announced in _XROOTPMAP_ID and ESETROOT_PMAP_ID so that
// pseudo-transparent programs find it. The pixmap outlives our connection
// (RetainPermanent) and the one of the previous setter is freed by killing its client.
// A desktop that draws its own background hides this.
class X11RootWallpaper : public DesktopWallpaper
{
public:
    // displayName: empty for $DISPLAY.
    explicit X11RootWallpaper(QString displayName = {});
    bool set(const QString &path, QString *error) override;
    // The pixels are copied to the server; the file is not looked at again.
    bool needsFreshPath() const override { return false; }

private:
    QString m_displayName;
};

} // namespace tevuna
