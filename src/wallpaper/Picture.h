#pragma once

#include <QImage>
#include <QString>

class QIODevice;

namespace tevuna {

// Pictures come from the user and may be damaged, mislabelled or declare absurd sizes:
// they are decoded only within these bounds, so a hostile file is refused, never a crash.
inline constexpr int kMaxPictureSide = 16384;
inline constexpr qint64 kMaxPicturePixels = qint64(8192) * 8192;

// Decodes a picture by its content (not its name) within the bounds; a null image on failure,
// a cut-off JPEG included.
QImage readPicture(const QString &path);
QImage readPicture(QIODevice *device);
// From the header alone: the picture declares a size beyond the bounds.
bool pictureTooLarge(const QString &path);
// The words for the bounds, for a message that says why a picture was refused.
QString pictureBoundsText();

// Writes a 24-bit uncompressed BMP through a temporary file and a rename, so a reader never
// sees half a file. Raises AppError "Cannot create file ..." on failure.
// With an overlay, its pixels replace the image's from the point at: a composite is written
// without first copying the whole picture.
void writeBmp(const QImage &image, const QString &path, const QImage &overlay = {}, QPoint at = {});

} // namespace tevuna
