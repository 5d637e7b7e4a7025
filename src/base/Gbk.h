#pragma once

#include <QByteArray>
#include <QString>
#include <QStringEncoder>

namespace tevuna::gbk {

// Code page 936 text. Characters outside GBK are written as GB18030 four-byte sequences,
// which leave every GBK character as it is, so no name is ever corrupted.
QByteArray encode(const QString &text);
// Undecodable bytes become U+FFFD.
QString decode(const QByteArray &bytes);

// Encodes many short texts with one converter, for writers that go character by character.
class Encoder
{
public:
    Encoder();
    QByteArray operator()(const QString &text);

private:
    QStringEncoder m_encoder;
};

} // namespace tevuna::gbk
