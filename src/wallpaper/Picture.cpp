#include "wallpaper/Picture.h"

#include "base/AppError.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QSaveFile>
#include <QtEndian>

#include <algorithm>

namespace tevuna {

namespace {

bool beyondBounds(QSize size)
{
    return size.width() > kMaxPictureSide || size.height() > kMaxPictureSide ||
           qint64(size.width()) * size.height() > kMaxPicturePixels;
}

bool isRestartOrData(uchar marker)
{
    return marker == 0x00 || (marker >= 0xD0 && marker <= 0xD7);
}

// A JPEG ends with its end-of-image marker. libjpeg decodes a cut-off file all the same, the
// missing rows grey, and only warns: walk the segments and the scan data to find the end.
bool jpegComplete(const QByteArray &d)
{
    const qsizetype n = d.size();
    if (n < 4 || uchar(d[0]) != 0xFF || uchar(d[1]) != 0xD8)
        return false;
    qsizetype i = 2;
    while (i + 1 < n) {
        if (uchar(d[i]) != 0xFF)
            return false;
        const uchar marker = uchar(d[i + 1]);
        if (marker == 0xFF) { // fill byte
            ++i;
            continue;
        }
        i += 2;
        if (marker == 0xD9)
            return true;
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7))
            continue;
        if (i + 1 >= n)
            return false;
        const int length = (uchar(d[i]) << 8) | uchar(d[i + 1]);
        if (length < 2)
            return false;
        i += length;
        if (marker == 0xDA) // scan data runs to the next marker
            while (i + 1 < n && !(uchar(d[i]) == 0xFF && !isRestartOrData(uchar(d[i + 1]))))
                ++i;
    }
    return false;
}

QImage readWithin(QImageReader &reader)
{
    // Qt refuses to allocate more than this for one image, whatever the header says.
    QImageReader::setAllocationLimit(int(kMaxPicturePixels * 4 / (1024 * 1024)) + 1);
    reader.setAutoTransform(true);
    const QSize declared = reader.size();
    if (declared.isValid() && beyondBounds(declared))
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
    // The content decides the format: a JPEG named .bmp still loads, a text file does not.
    if (QImageReader::imageFormat(device) == "jpeg" && !device->isSequential()) {
        const qint64 start = device->pos();
        const bool complete = jpegComplete(device->readAll());
        device->seek(start);
        if (!complete)
            return {};
    }
    QImageReader reader(device);
    reader.setDecideFormatFromContent(true);
    return readWithin(reader);
}

bool pictureTooLarge(const QString &path)
{
    // Qt's BMP reader gives no size for a header whose pixels would not fit its limit: read
    // the size from the header itself.
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = file.read(26);
    if (head.size() == 26 && head.startsWith("BM")) {
        const auto *p = reinterpret_cast<const uchar *>(head.constData());
        const qint64 width = qFromLittleEndian<qint32>(p + 18);
        const qint64 height = qAbs(qint64(qFromLittleEndian<qint32>(p + 22)));
        return width > kMaxPictureSide || height > kMaxPictureSide ||
               width * height > kMaxPicturePixels;
    }
    file.close();
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    const QSize declared = reader.size();
    return declared.isValid() && beyondBounds(declared);
}

QString pictureBoundsText()
{
    return QStringLiteral("宽和高各不超过 %1 像素，合计不超过 %2 万像素")
        .arg(kMaxPictureSide)
        .arg(kMaxPicturePixels / 10000);
}

void writeBmp(const QImage &image, const QString &path, const QImage &overlay, QPoint at)
{
    const QImage over = overlay.isNull() || overlay.format() == QImage::Format_RGB32
                            ? overlay
                            : overlay.convertToFormat(QImage::Format_RGB32);
    const QRect overRect = QRect(at, over.size()) & image.rect();
    const QImage rgb =
        image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32
            ? image
            : image.convertToFormat(QImage::Format_RGB32);
    const int w = rgb.width();
    const int h = rgb.height();
    const int rowBytes = 3 * w;
    const int stride = (rowBytes + 3) & ~3;
    const quint32 pixelBytes = quint32(stride) * quint32(h);

    QByteArray header;
    const auto put16 = [&](quint16 v) {
        header.append(char(v & 0xff));
        header.append(char(v >> 8));
    };
    const auto put32 = [&](quint32 v) {
        put16(quint16(v & 0xffff));
        put16(quint16(v >> 16));
    };
    header.append("BM");
    put32(54 + pixelBytes);
    put32(0);
    put32(54);
    put32(40);
    put32(quint32(w));
    put32(quint32(h)); // rows from the bottom up
    put16(1);
    put16(24);
    put32(0); // uncompressed
    put32(pixelBytes);
    put32(2835); // 72 dpi
    put32(2835);
    put32(0);
    put32(0);

    QSaveFile file(path);
    bool ok = file.open(QIODevice::WriteOnly) && file.write(header) == header.size();
    // Blue, green, red bytes, each row padded to four bytes, written a band of rows at a time
    // so a 4K wallpaper needs no second full-size buffer.
    const int bandRows = std::max(1, (1 << 20) / stride);
    QByteArray band;
    for (int top = h - 1; ok && top >= 0; top -= bandRows) {
        const int rows = std::min(bandRows, top + 1);
        band.resize(qsizetype(rows) * stride);
        auto *dst = reinterpret_cast<uchar *>(band.data());
        for (int y = top; y > top - rows; --y, dst += stride) {
            const auto *src = reinterpret_cast<const QRgb *>(rgb.constScanLine(y));
            const auto put = [dst](int x, QRgb px) {
                dst[3 * x] = uchar(qBlue(px));
                dst[3 * x + 1] = uchar(qGreen(px));
                dst[3 * x + 2] = uchar(qRed(px));
            };
            for (int x = 0; x < w; ++x)
                put(x, src[x]);
            if (y >= overRect.top() && y <= overRect.bottom()) {
                const auto *o = reinterpret_cast<const QRgb *>(over.constScanLine(y - at.y()));
                for (int x = overRect.left(); x <= overRect.right(); ++x)
                    put(x, o[x - at.x()]);
            }
            std::fill(dst + rowBytes, dst + stride, uchar(0));
        }
        ok = file.write(band) == band.size();
    }
    if (!ok || !file.commit())
        throw AppError(QStringLiteral("Cannot create file \"%1\". %2")
                           .arg(QDir::toNativeSeparators(path), file.errorString()));
}

} // namespace tevuna
