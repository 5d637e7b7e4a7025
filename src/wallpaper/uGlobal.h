#pragma once

#include <QString>
#include <QStringList>
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
    // Every line of Data/BGPicList.ini, the first (the current picture name) included.
    QVector<TPicBGList> picList;
    int picCount = 0;
};

WallpaperGlobals &wallpaperGlobals();

// Forms the setting path and reads the wallpaper prompt setting: a first line of 0 or less
// turns the ask flag off, above 0 leaves it on. A missing file is written with "1".
// Raises AppError for an unreadable first line or a file that cannot be written.
void ReadSetting();
// Writes the setting: "1" asks before changing the wallpaper, "0" does not.
void WriteSetting(bool ask);

// The picture folder and the list file of the application folder.
QString pictureFolder();
QString picturePath(const QString &fileName);
QString picListPath();
// The list a new user starts with: A1.bmp is current and the only picture.
QStringList defaultPicListLines();

// Reads Data/BGPicList.ini into the picture list and sets the current picture name and the
// picture index: with reselect the index goes to the last line naming the current picture,
// without it to the last line. A missing file is written with the default lines (a failure
// to write it is returned as its text, empty when all went well; the list works either way);
// a file that cannot be read, or has no line, leaves everything as it was.
QString LoadList(bool reselect, QString &currentPicName, int &picIndex);

// An added JPEG or GIF becomes a BMP beside it; a BMP stays as it is.
struct BmpConversion {
    bool ok = false; // false: the picture could not be converted
    QString bmpPath; // empty for an extension that is not a picture's
};
BmpConversion ConvertToBmp(const QString &path);

} // namespace tevuna
