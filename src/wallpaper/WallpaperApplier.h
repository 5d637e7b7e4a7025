#pragma once

#include <QDateTime>
#include <QString>

namespace tevuna {

class DesktopWallpaper;
class TDeskBGSetFrm;

// What one apply did: whether the desktop took the new wallpaper, the list index the next
// apply starts from, and a message for the user when there is something to say (empty when
// the apply succeeded or a loader has already said it).
struct WallpaperApplyResult {
    bool applied = false;
    int nextPicIndex = 0;
    QString message;
    // The message reports a failure to write a file (shown as an error), not a refusal.
    bool messageIsError = false;
};

// "添加到桌面" without a window: the card of a day over the picture at the list index, blended,
// written as Mix.bmp and handed to the desktop; the index rotates through the list.
class WallpaperApplier
{
public:
    // desktop may be null (no desktop in this session): Mix.bmp is still written.
    WallpaperApplier(TDeskBGSetFrm &composition, DesktopWallpaper *desktop);
    WallpaperApplyResult apply(const QString &memoText, const QDateTime &day, int picIndex);

private:
    TDeskBGSetFrm &m_composition;
    DesktopWallpaper *m_desktop;
};

} // namespace tevuna
