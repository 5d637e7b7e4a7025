#include "calendarview/ChnCalendarPickerPaint.h"

#include <QFontMetricsF>
#include <QHash>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace tevuna {

QRect proportionalFit(int pw, int ph, int W, int H, bool centred)
{
    if (pw <= 0 || ph <= 0 || W <= 0 || H <= 0)
        return {};
    const double x = static_cast<double>(pw) / ph;
    int width = 0, height = 0;
    if (ph < pw) {
        width = W;
        height = static_cast<int>(W / x);
        if (height > H) {
            height = H;
            width = static_cast<int>(H * x);
        }
    } else {
        height = H;
        width = static_cast<int>(H * x);
        if (width > W) {
            width = W;
            height = static_cast<int>(W / x);
        }
    }
    QRect r(0, 0, width, height);
    if (centred)
        r.translate((W - width) / 2, (H - height) / 2);
    return r;
}

QRect picturePlacement(QSize picture, QSize control, bool center, bool stretch)
{
    const int W = control.width(), H = control.height();
    const int pw = picture.width(), ph = picture.height();
    if (stretch)
        return proportionalFit(pw, ph, W, H, center);
    if (center)
        return QRect((W - pw) / 2, (H - ph) / 2, pw, ph);
    return QRect(0, 0, pw, ph);
}

void layerBlend(QImage &dst, const QImage &src, QPoint pos, int percentage, std::optional<QRgb> key)
{
    if (src.isNull() || dst.isNull())
        return;
    const int p = percentage % 100;
    if (p == 0)
        return;
    const QImage source =
        src.format() == QImage::Format_RGB32 ? src : src.convertToFormat(QImage::Format_RGB32);
    if (dst.format() != QImage::Format_RGB32)
        dst = dst.convertToFormat(QImage::Format_RGB32);
    const QRgb keyColor = (key ? *key : source.pixel(0, 0)) & RGB_MASK;
    const auto mix = [p](int d, int s) {
        return std::clamp(((100 - p) * d + p * s) / 100, 0, 255);
    };

    const int x0 = std::max(0, -pos.x());
    const int x1 = std::min(source.width(), dst.width() - pos.x());
    const int y0 = std::max(0, -pos.y());
    const int y1 = std::min(source.height(), dst.height() - pos.y());
    for (int y = y0; y < y1; ++y) {
        const auto *s = reinterpret_cast<const QRgb *>(source.constScanLine(y));
        auto *d = reinterpret_cast<QRgb *>(dst.scanLine(y + pos.y())) + pos.x();
        for (int x = x0; x < x1; ++x) {
            const QRgb sp = s[x] & RGB_MASK;
            if (sp == keyColor)
                continue;
            const QRgb dp = d[x];
            d[x] = qRgb(mix(qRed(dp), qRed(sp)), mix(qGreen(dp), qGreen(sp)),
                        mix(qBlue(dp), qBlue(sp)));
        }
    }
}

std::vector<GradientBand> gradientBands(const QColor &start, const QColor &end, int height)
{
    constexpr int kBands = 256;
    std::vector<GradientBand> bands;
    if (height <= 0)
        return bands;
    const QColor a = start.toRgb(), b = end.toRgb();
    const double dr = (b.red() - a.red()) / double(kBands);
    const double dg = (b.green() - a.green()) / double(kBands);
    const double db = (b.blue() - a.blue()) / double(kBands);
    // std::rint rounds a tie to the even integer.
    const auto step = [](int base, double delta, int k) {
        return std::clamp(base + static_cast<int>(std::rint(k * delta)), 0, 255);
    };
    for (int k = 1; k <= kBands; ++k) {
        const int top = static_cast<int>(std::rint((k - 1) * double(height) / kBands));
        const int bottom = static_cast<int>(std::rint(k * double(height) / kBands));
        if (bottom <= top)
            continue;
        bands.push_back(
            {top, bottom,
             QColor(step(a.red(), dr, k), step(a.green(), dg, k), step(a.blue(), db, k))});
    }
    return bands;
}

void gradientFill(QPainter &p, const QRect &r, const QColor &start, const QColor &end)
{
    for (const GradientBand &band : gradientBands(start, end, r.height()))
        p.fillRect(QRect(r.left(), r.top() + band.top, r.width(), band.bottom - band.top),
                   band.color);
}

namespace {

// The ink box of the reference glyphs relative to the baseline, per font; measuring it on
// every cell would cost more than drawing the cell.
QRectF inkBox(const QFont &font, QPaintDevice *device, Ink ink)
{
    static QHash<QString, QRectF> cache;
    const QString key = font.key() + QLatin1Char('|') +
                        QString::number(device ? device->logicalDpiY() : 0) +
                        (ink == Ink::Digits ? QLatin1String("|d") : QLatin1String("|h"));
    const auto found = cache.constFind(key);
    if (found != cache.constEnd())
        return *found;
    const QFontMetricsF fm(font, device);
    // Han glyphs with strokes that reach far up and down, beside the full box of 国.
    QRectF box = fm.tightBoundingRect(ink == Ink::Digits ? QStringLiteral("0123456789")
                                                         : QStringLiteral("国十廿节"));
    if (box.isEmpty()) // no glyphs at all: fall back on the line box
        box = QRectF(0, -fm.ascent(), 1, fm.height());
    cache.insert(key, box);
    return box;
}

} // namespace

void drawCellText(QPainter &p, const QRect &r, Qt::Alignment alignment, const QString &text,
                  Ink ink)
{
    if (text.isEmpty() || r.width() <= 0 || r.height() <= 0)
        return;
    const QFontMetricsF fm(p.font(), p.device());
    const QString shown = fm.elidedText(text, Qt::ElideRight, r.width());
    if (shown.isEmpty())
        return;
    const double advance = fm.horizontalAdvance(shown);
    double x = r.left();
    if (alignment & Qt::AlignRight)
        x = r.left() + r.width() - advance;
    else if (alignment & Qt::AlignHCenter)
        x = r.left() + (r.width() - advance) / 2;

    const QRectF box = inkBox(p.font(), p.device(), ink);
    // One pixel off the edge the text is aligned to, where the rectangle leaves room for that
    // and for a pixel at the other edge.
    const double pad = r.height() >= box.height() + 3 ? 1 : 0;
    double baseline = 0;
    if (alignment & Qt::AlignTop)
        baseline = r.top() + pad - box.top();
    else if (alignment & Qt::AlignBottom)
        baseline = r.top() + r.height() - pad - box.bottom();
    else
        baseline = r.top() + (r.height() - box.height()) / 2 - box.top();
    p.drawText(QPointF(std::round(x), std::round(baseline)), shown);
}

} // namespace tevuna
