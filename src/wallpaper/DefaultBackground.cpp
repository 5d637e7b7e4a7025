#include "wallpaper/DefaultBackground.h"

#include <QFileInfo>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QSaveFile>

#include <cmath>

namespace tevuna {

namespace {

// A hill line across the picture: a sum of two slow waves above the base height.
QPainterPath hill(QSizeF size, double base, double amp1, double freq1, double amp2, double freq2,
                  double phase)
{
    QPainterPath path;
    path.moveTo(0, size.height());
    const int steps = 96;
    for (int i = 0; i <= steps; ++i) {
        const double x = size.width() * i / steps;
        const double t = double(i) / steps;
        const double y = size.height() * (base - amp1 * std::sin(t * freq1 + phase) -
                                          amp2 * std::sin(t * freq2 + phase * 1.7));
        path.lineTo(x, y);
    }
    path.lineTo(size.width(), size.height());
    path.closeSubpath();
    return path;
}

} // namespace

QImage drawDefaultBackground(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QSizeF s = size;

    QLinearGradient sky(0, 0, 0, s.height());
    sky.setColorAt(0.0, QColor(120, 160, 210));
    sky.setColorAt(0.55, QColor(214, 226, 240));
    sky.setColorAt(0.75, QColor(250, 228, 206));
    p.fillRect(image.rect(), sky);

    // A low sun on the left, away from the card in the upper right corner.
    const QPointF sun(s.width() * 0.22, s.height() * 0.62);
    QRadialGradient glow(sun, s.height() * 0.45);
    glow.setColorAt(0.0, QColor(255, 244, 214, 230));
    glow.setColorAt(0.12, QColor(255, 232, 190, 150));
    glow.setColorAt(1.0, QColor(255, 232, 190, 0));
    p.fillRect(image.rect(), glow);

    const struct {
        double base, a1, f1, a2, f2, phase;
        QColor color;
    } hills[] = {
        {0.70, 0.06, 5.0, 0.02, 13.0, 0.3, QColor(150, 170, 196)},
        {0.78, 0.05, 4.0, 0.02, 11.0, 1.9, QColor(108, 138, 160)},
        {0.86, 0.04, 3.0, 0.015, 9.0, 3.1, QColor(70, 106, 122)},
        {0.94, 0.03, 2.5, 0.01, 7.0, 4.4, QColor(44, 76, 88)},
    };
    p.setPen(Qt::NoPen);
    for (const auto &h : hills) {
        p.setBrush(h.color);
        p.drawPath(hill(s, h.base, h.a1, h.f1, h.a2, h.f2, h.phase));
    }
    p.end();
    return image;
}

bool writeDefaultBackground(const QString &path)
{
    if (QFileInfo::exists(path))
        return true;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QImage image = drawDefaultBackground().convertToFormat(QImage::Format_RGB888);
    return image.save(&file, "BMP") && file.commit();
}

} // namespace tevuna
