#pragma once

#include <QLabel>

namespace tevuna {

// A picture of the window's own chrome that reports the mouse like a control:
// moves over it, presses on it and clicks (press and release on it).
class ImageLabel : public QLabel
{
    Q_OBJECT

public:
    explicit ImageLabel(QWidget *parent = nullptr);

signals:
    void mouseMoved();
    void mousePressed(Qt::MouseButton button);
    void released();
    void clicked();

protected:
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
};

// The close button's picture until the artwork arrives: a cross on a square.
QPixmap drawClosePicture(const QColor &square, const QColor &cross, QSize size = QSize(39, 20));

} // namespace tevuna
