#pragma once

class QFont;
class QString;

namespace tevuna {

// Maps the Windows face names the windows are designed with onto the nearest installed faces,
// and gives the application a Simplified Chinese default face, so Chinese text uses
// Simplified Chinese glyph shapes everywhere: in widgets that keep the default font, menus,
// tooltips and Qt's own dialogs too. Call once the application object exists.
void installFontSubstitutions();

// A face at a character height in pixels, as the windows are designed.
QFont pixelFont(const QString &family, int pixels, bool bold = false);

} // namespace tevuna
