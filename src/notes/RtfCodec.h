#pragma once

#include <QByteArray>

class QTextDocument;

// Memo documents as ANSI RTF in code page 936, as rich-text editors write and read them.
namespace tevuna::rtf {

// True when the bytes start as an RTF document does.
bool looksLikeRtf(const QByteArray &bytes);

// Text, line breaks, tabs, fonts, sizes, bold, italic, underline, strike-out, text and
// highlight colours, pictures as PNG; characters of code page 936 as \'hh bytes, all others
// as \uN?.
QByteArray write(const QTextDocument &document);

// Reads what editors write: text in the code page of its font's charset, formats, table
// cells (a tab between cells, a paragraph per row), PNG and JPEG pictures; skips hidden text,
// binary data and what a memo cannot show (metafiles, objects, unknown \* destinations).
// Bounded in nesting and picture size and linear in time for any input; false when the
// bytes are not RTF at all.
bool read(const QByteArray &bytes, QTextDocument *document);

} // namespace tevuna::rtf
