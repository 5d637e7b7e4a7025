// set_wallpaper PICTURE: what "添加到桌面" does once Mix.bmp is written, for the scripts
// that start a real desktop and look at its screen. Exit 0 when the desktop took the
// picture, 1 with the user's message on stderr when it did not.
#include "wallpaper/desktop/ApplyDesktopWallpaper.h"
#include "wallpaper/desktop/DesktopWallpaper.h"

#include <QGuiApplication>

#include <cstdio>

int main(int argc, char **argv)
{
    // A GUI application, as the program is: XFCE's back end names the screens it finds.
    QGuiApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 2) {
        std::fputs("usage: set_wallpaper PICTURE\n", stderr);
        return 2;
    }
    const auto backend = tevuna::createDesktopWallpaper();
    QString error;
    if (!tevuna::applyDesktopWallpaper(*backend, arguments.at(1), &error)) {
        std::fprintf(stderr, "%s\n", error.toUtf8().constData());
        return 1;
    }
    return 0;
}
