#include "wallpaper/Picture.h"

#include "base/AppError.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QSaveFile>

namespace tevuna {

namespace {

QImage readWithin(QImageReader &reader)
{
    // Qt refuses to allocate more than this for one image, whatever the header says.
    QImageReader::setAllocationLimit(int(kMaxPicturePixels * 4 / (1024 * 1024)) + 1);
    reader.setAutoTransform(true);
    const QSize declared = reader.size();
    if (declared.isValid() &&
        (declared.width() > kMaxPictureSide || declared.height() > kMaxPictureSide ||
         qint64(declared.width()) * declared.height() > kMaxPicturePixels))
        return {};
    QImage image;
    if (!reader.read(&image))
        return {};
    if (image.width() > kMaxPictureSide || image.height() > kMaxPictureSide)
        return {};
    return image;
}

} // namespace

QImage readPicture(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return readPicture(&file);
}

QImage readPicture(QIODevice *device)
{
    QImageReader reader(device);
    // The content decides the format: a JPEG named .bmp still loads, a text file does not.
    reader.setDecideFormatFromContent(true);
    return readWithin(reader);
}

void writeBmp(const QImage &image, const QString &path)
{
    QSaveFile file(path);
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    if (!file.open(QIODevice::WriteOnly) || !rgb.save(&file, "BMP") || !file.commit())
        throw AppError(QStringLiteral("Cannot create file \"%1\". %2")
                           .arg(QDir::toNativeSeparators(path), file.errorString()));
}

} // namespace tevuna
