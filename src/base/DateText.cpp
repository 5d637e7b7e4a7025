#include "base/DateText.h"

namespace tevuna {

QString weekdayChar(const QDate &date)
{
    static const char16_t names[] = u"一二三四五六日";
    const int dow = date.dayOfWeek(); // 1 = Monday .. 7 = Sunday
    if (dow < 1 || dow > 7)
        return {};
    return QString(QChar(names[dow - 1]));
}

QString dateKey(const QDate &date)
{
    return QStringLiteral("%1%2%3")
        .arg(date.year(), 4, 10, QLatin1Char('0'))
        .arg(date.month(), 2, 10, QLatin1Char('0'))
        .arg(date.day(), 2, 10, QLatin1Char('0'));
}

} // namespace tevuna
