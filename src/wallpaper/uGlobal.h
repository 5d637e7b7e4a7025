#pragma once

#include <QString>
#include <QVector>

namespace tevuna {

// One line of the background picture list.
struct TPicBGList {
    int position = 0;
    QString fileName;
};

// Application-wide state of the wallpaper composition.
struct WallpaperGlobals {
    // Whether applying the notes to the desktop asks first.
    bool askFlag = true;
    // The confirmation's last answer: 1 yes, 0 no.
    int answer = 0;
    // Data/configSetBg.ini of the application folder.
    QString settingPath;
    QVector<TPicBGList> picList;
    int picCount = 0;
};

WallpaperGlobals &wallpaperGlobals();

// Forms the setting path and reads the wallpaper prompt setting: a first line of 0 or less
// turns the ask flag off, above 0 leaves it on. A missing file is written with "1".
// Raises AppError for an unreadable first line or a file that cannot be written.
void ReadSetting();

} // namespace tevuna
