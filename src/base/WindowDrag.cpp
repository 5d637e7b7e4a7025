#include "base/WindowDrag.h"

#include <QGuiApplication>
#include <QWidget>
#include <QWindow>

namespace tevuna {

void WindowDrag::press(QWidget *window, Qt::MouseButton button, QPoint global)
{
    m_button = Qt::NoButton;
    QWindow *handle = window->windowHandle();
    if (!handle)
        return;
    // A Wayland client cannot place its window: there the desktop moves it, by any button.
    if (button == Qt::LeftButton ||
        QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) {
        handle->startSystemMove();
        return;
    }
    m_window = window;
    m_button = button;
    m_pressGlobal = global;
    m_windowPos = window->pos();
}

bool WindowDrag::move(Qt::MouseButtons buttons, QPoint global)
{
    if (m_button == Qt::NoButton || !m_window)
        return false;
    if (!(buttons & m_button)) {
        m_button = Qt::NoButton; // its release went elsewhere
        return false;
    }
    m_window->move(m_windowPos + global - m_pressGlobal);
    return true;
}

void WindowDrag::release(Qt::MouseButton button)
{
    if (button == m_button)
        m_button = Qt::NoButton;
}

} // namespace tevuna
