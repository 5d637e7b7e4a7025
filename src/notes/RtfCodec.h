#pragma once

#include <QByteArray>

class QTextDocument;

// Memo documents as ANSI RTF in code page 936, as rich-text editors write and read them.
namespace tevuna::rtf {

// True when the bytes start as an RTF document does.
bool looksLikeRtf(const QByteArray &bytes);

// Text, line breaks, tabs, fonts, sizes, bold, italic, underline, strike-out, text and
// highlight colours; Chinese as \'hh GBK bytes, other characters as \uN?.
QByteArray write(const QTextDocument &document);

// Reads what editors write for text and skips the rest (pictures, objects, unknown \*
// destinations). Bounded in nesting and linear in time for any input; false when the
// bytes are not RTF at all.
bool read(const QByteArray &bytes, QTextDocument *document);

} // namespace tevuna::rtf
