#pragma once

#include <QDate>
#include <QString>

namespace tevuna {

// One character for the day of the week: 一 .. 六 for Monday to Saturday, 日 for Sunday.
QString weekdayChar(const QDate &date);

// The key of a dated memo: "YYYYMMDD".
QString dateKey(const QDate &date);

} // namespace tevuna
