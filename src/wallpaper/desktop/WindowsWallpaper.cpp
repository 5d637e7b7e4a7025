#include "wallpaper/desktop/WindowsWallpaper.h"

#include <string>

namespace tevuna {

WindowsWallpaper::WindowsWallpaper(Setter setter) : m_setter(std::move(setter)) {}

bool WindowsWallpaper::set(const QString &path, QString *error)
{
    // The system wants backslashes; the path is already a full one.
    QString nativePath = path;
    nativePath.replace(QLatin1Char('/'), QLatin1Char('\\'));
    const std::wstring native = nativePath.toStdWString();
    const windows::WallpaperOutcome outcome = m_setter(native.c_str());
    QString text;
    switch (outcome.step) {
    case windows::WallpaperStep::Done:
        return true;
    case windows::WallpaperStep::OpenKey:
        text = QStringLiteral("无法打开注册表项“HKEY_CURRENT_USER\\Control Panel\\Desktop”");
        break;
    case windows::WallpaperStep::WriteWallpaper:
        text = QStringLiteral("无法写入注册表值“Wallpaper”");
        break;
    case windows::WallpaperStep::WriteStyle:
        text = QStringLiteral("无法写入注册表值“WallpaperStyle”");
        break;
    case windows::WallpaperStep::WriteTile:
        text = QStringLiteral("无法写入注册表值“TileWallpaper”");
        break;
    case windows::WallpaperStep::Apply:
        text = QStringLiteral("系统拒绝了新的桌面壁纸");
        break;
    }
    if (error)
        *error = QStringLiteral("%1（错误代码 %2）").arg(text).arg(outcome.errorCode);
    return false;
}

} // namespace tevuna
