#pragma once

#include <QImage>
#include <QSize>

namespace tevuna {

// The background picture a new user starts with: a quiet dawn landscape, drawn so that
// the notes card reads well over its upper right corner.
QImage drawDefaultBackground(QSize size = QSize(1920, 1080));

// Writes it as a 24-bit BMP unless the file exists already. False when it cannot be written.
bool writeDefaultBackground(const QString &path);

} // namespace tevuna
