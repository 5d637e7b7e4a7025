#pragma once

#include <QString>

namespace tevuna {

class DesktopWallpaper;

// Points the desktop at the composite picture mixPath (source/DeskTopBG/Mix.bmp).
// A desktop that ignores an unchanged path gets a copy of a new name beside it
// (Mix-<number>.bmp); once the desktop has taken the copy, the copies of earlier applies
// are removed, so exactly one stays, the one on screen. When the desktop refuses, the new
// copy is removed and the earlier one, still on screen, is kept. mixPath itself is never
// removed. False, with a reason for the user, when the wallpaper was not changed.
bool applyDesktopWallpaper(DesktopWallpaper &backend, const QString &mixPath, QString *error);

} // namespace tevuna
