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
    // The two bytes code page 936 itself has for one character (a UTF-16 unit or a surrogate
    // pair), or nothing: GB18030 also gives two bytes for private-use characters and for a
    // few characters where code page 936 has a private-use one, and other programs show
    // those as garbage.
    QByteArray cp936(QStringView one);

private:
    QStringEncoder m_encoder;
};

} // namespace tevuna::gbk
