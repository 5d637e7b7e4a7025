#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Line files: GBK text, every line ended by CR LF, read and written whole.
namespace tevuna::linefile {

// Splits text at CR LF, LF or CR; a final line break adds no empty line.
QStringList split(const QByteArray &bytes);
// Every line followed by CR LF, in GBK.
QByteArray join(const QStringList &lines);

// Raises AppError when the file cannot be read.
QStringList read(const QString &path);
// Replaces the file whole through a temporary file and a rename, so a crash never
// leaves half a file. Raises AppError "Cannot create file ..." on failure.
void write(const QString &path, const QStringList &lines);

} // namespace tevuna::linefile
