#pragma once

#include "wallpaper/desktop/DesktopWallpaper.h"

#include <memory>

namespace tevuna {

// KDE Plasma 5 and 6: a script for the shell's scripting interface, sent over D-Bus, that
// gives every desktop the image wallpaper plugin with our picture, stretched, and prints back
// what each desktop then holds.
class KdeWallpaper : public DesktopWallpaper
{
public:
    explicit KdeWallpaper(std::shared_ptr<CommandRunner> runner);
    bool set(const QString &path, QString *error) override;

    // The script for one picture. The picture's URI enters it as an escaped string
    // literal, so no file name can change what the script does.
    static QString script(const QString &path);

private:
    static bool taken(const QString &printed, const QString &path, QString *error);

    std::shared_ptr<CommandRunner> m_runner;
};

} // namespace tevuna
