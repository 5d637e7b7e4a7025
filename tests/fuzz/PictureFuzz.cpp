// Background pictures come from the user: any bytes must decode within bounds or be refused.
#include "wallpaper/Picture.h"

#include <QBuffer>
#include <QGuiApplication>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static int argc = 1;
    static char name[] = "fuzz_picture";
    static char *argv[] = {name, nullptr};
    static QGuiApplication *app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QGuiApplication(argc, argv);
    }();
    (void)app;
    QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    const QImage image = tevuna::readPicture(&buffer);
    if (!image.isNull() &&
        (image.width() > tevuna::kMaxPictureSide || image.height() > tevuna::kMaxPictureSide))
        std::abort();
    return 0;
}
