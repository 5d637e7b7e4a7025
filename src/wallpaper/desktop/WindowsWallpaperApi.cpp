#include "wallpaper/desktop/WindowsWallpaperApi.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <cwchar>

namespace tevuna::windows {

namespace {

LONG writeString(HKEY key, const wchar_t *name, const wchar_t *value)
{
    const DWORD bytes = static_cast<DWORD>((std::wcslen(value) + 1) * sizeof(wchar_t));
    return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE *>(value), bytes);
}

} // namespace

WallpaperOutcome setSystemWallpaper(const wchar_t *path)
{
    HKEY key = nullptr;
    // The key always exists for a user; it is opened, never created.
    LONG status =
        RegOpenKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, KEY_SET_VALUE, &key);
    if (status != ERROR_SUCCESS)
        return {WallpaperStep::OpenKey, static_cast<unsigned long>(status)};

    WallpaperOutcome outcome;
    status = writeString(key, L"Wallpaper", path);
    if (status != ERROR_SUCCESS) {
        outcome = {WallpaperStep::WriteWallpaper, static_cast<unsigned long>(status)};
    } else {
        // Style 2 is "stretch"; a TileWallpaper of 1 left by another program would tile it.
        status = writeString(key, L"WallpaperStyle", L"2");
        if (status != ERROR_SUCCESS) {
            outcome = {WallpaperStep::WriteStyle, static_cast<unsigned long>(status)};
        } else {
            status = writeString(key, L"TileWallpaper", L"0");
            if (status != ERROR_SUCCESS)
                outcome = {WallpaperStep::WriteTile, static_cast<unsigned long>(status)};
        }
    }
    RegCloseKey(key);
    if (outcome.step != WallpaperStep::Done)
        return outcome;

    // The path is passed, not null: a null path restores the default wallpaper on current
    // versions of Windows. SPIF_SENDCHANGE lets running programs know at once.
    if (!SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, const_cast<wchar_t *>(path),
                               SPIF_UPDATEINIFILE | SPIF_SENDCHANGE))
        return {WallpaperStep::Apply, static_cast<unsigned long>(GetLastError())};
    return {};
}

} // namespace tevuna::windows
