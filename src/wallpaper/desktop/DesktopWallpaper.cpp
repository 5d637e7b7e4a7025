#include "wallpaper/desktop/DesktopWallpaper.h"

namespace tevuna {

DesktopWallpaper::~DesktopWallpaper() = default;

} // namespace tevuna
