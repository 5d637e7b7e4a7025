#include "app/ImageLabel.h"

#include <QMouseEvent>

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
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
    event->accept();
}

} // namespace tevuna
