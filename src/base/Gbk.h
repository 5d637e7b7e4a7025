#pragma once

#include <QByteArray>
#include <QString>

namespace tevuna::gbk {

// Code page 936 text. Characters outside GBK are written as GB18030 four-byte sequences,
// which leave every GBK character as it is, so no name is ever corrupted.
QByteArray encode(const QString &text);
// Undecodable bytes become U+FFFD.
QString decode(const QByteArray &bytes);

} // namespace tevuna::gbk
