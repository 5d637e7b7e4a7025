#pragma once

#include <QByteArray>

class QTextDocument;

// The bytes a memo is stored as, and back.
namespace tevuna::memodoc {

QByteArray encode(const QTextDocument &document);
// Empty bytes give an empty document. False when the bytes cannot be read at all.
bool decode(const QByteArray &bytes, QTextDocument *document);

} // namespace tevuna::memodoc
