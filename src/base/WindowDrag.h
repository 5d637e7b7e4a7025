#pragma once

#include <QPoint>
#include <QPointer>

class QWidget;

namespace tevuna {

// Moves a window without a title bar by a drag of its background. The left button hands the
// move to the desktop; window managers take the left button to drive such a move, so a drag
// by another button is followed here instead, or the window would stay on the pointer.
class WindowDrag
{
public:
    // A press of the button at the pointer's screen position on the window's background.
    void press(QWidget *window, Qt::MouseButton button, QPoint global);
    // The pointer moved with these buttons held: true while a drag is followed.
    bool move(Qt::MouseButtons buttons, QPoint global);
    // A button was released: the drag by that button ends.
    void release(Qt::MouseButton button);
    bool active() const { return m_button != Qt::NoButton; }

private:
    QPointer<QWidget> m_window;
    Qt::MouseButton m_button = Qt::NoButton;
    QPoint m_pressGlobal;
    QPoint m_windowPos;
};

} // namespace tevuna
