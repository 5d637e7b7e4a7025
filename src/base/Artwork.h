#pragma once

#include <QPixmap>
#include <QSize>
#include <QString>

namespace tevuna {

// One of our pictures, drawn from its vector source (a resource path such as
// ":/artwork/logo.svg") at the screen's pixel density, so it stays crisp at any scaling.
QPixmap artwork(const QString &resource, QSize size);

} // namespace tevuna
