#include "calendarview/ChnCalendarPicker.h"

#include <QPainter>

namespace tevuna {

TChnCalendar::TChnCalendar(QWidget *parent) : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
}

void TChnCalendar::setDateTime(const QDateTime &value)
{
    if (value == m_dateTime)
        return;
    m_dateTime = value;
    update();
    emit OnChange();
}

void TChnCalendar::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    p.setPen(QColor(0, 0, 128));
    p.setFont(QFont(QStringLiteral("宋体"), 12));
    const QDate d = m_dateTime.date();
    p.drawText(rect(), Qt::AlignCenter,
               QStringLiteral("%1年%2月%3日").arg(d.year()).arg(d.month()).arg(d.day()));
}

} // namespace tevuna
