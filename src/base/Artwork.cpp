#include "base/Artwork.h"

#include <QGuiApplication>
#include <QPainter>
#include <QSvgRenderer>

namespace tevuna {

QPixmap artwork(const QString &resource, QSize size)
{
    QSvgRenderer renderer(resource);
    const qreal dpr = qMax<qreal>(1.0, qGuiApp->devicePixelRatio());
    QPixmap pm((QSizeF(size) * dpr).toSize());
    pm.setDevicePixelRatio(dpr);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    renderer.render(&p, QRectF(QPointF(0, 0), QSizeF(size)));
    return pm;
}

} // namespace tevuna
