#pragma once

// The Windows system calls that change the wallpaper. Free of Qt, so this part builds and is
// checked with a plain Windows compiler.

namespace tevuna::windows {

// Where setting the wallpaper stopped.
enum class WallpaperStep {
    Done,           // the wallpaper is set
    OpenKey,        // HKCU\Control Panel\Desktop could not be opened for writing
    WriteWallpaper, // the "Wallpaper" value was refused
    WriteStyle,     // the "WallpaperStyle" value was refused
    WriteTile,      // the "TileWallpaper" value was refused
    Apply,          // SystemParametersInfo refused the picture
};

struct WallpaperOutcome {
    WallpaperStep step = WallpaperStep::Done;
    unsigned long errorCode = 0; // the system's error code when step is not Done
};

// Writes the registry values of a stretched wallpaper showing path (a full path with
// backslashes) and asks the system to show it now and for later sessions.
WallpaperOutcome setSystemWallpaper(const wchar_t *path);

} // namespace tevuna::windows
