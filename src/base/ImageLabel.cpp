#include "base/ImageLabel.h"

#include <QMouseEvent>
#include <QPainter>

namespace tevuna {

ImageLabel::ImageLabel(QWidget *parent) : QLabel(parent)
{
    setMouseTracking(true);
}

void ImageLabel::mouseMoveEvent(QMouseEvent *event)
{
    emit mouseMoved();
    event->accept();
}

void ImageLabel::mousePressEvent(QMouseEvent *event)
{
    emit mousePressed(event->button());
    event->accept();
}

void ImageLabel::mouseReleaseEvent(QMouseEvent *event)
{
    if (mouseGrabber() == this)
        releaseMouse();
    emit released();
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
    event->accept();
}

QPixmap drawClosePicture(const QColor &square, const QColor &cross, QSize size)
{
    QPixmap pm(size);
    pm.fill(square);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(cross, 1.6));
    const QPointF c(size.width() / 2.0, size.height() / 2.0);
    p.drawLine(c + QPointF(-4, -4), c + QPointF(4, 4));
    p.drawLine(c + QPointF(4, -4), c + QPointF(-4, 4));
    return pm;
}

} // namespace tevuna
