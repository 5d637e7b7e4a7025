#pragma once

class QFont;
class QString;

namespace tevuna {

// Maps the Windows face names the windows are designed with onto the nearest installed faces,
// so Chinese text uses Simplified Chinese glyph shapes everywhere.
void installFontSubstitutions();

// A face at a character height in pixels, as the windows are designed.
QFont pixelFont(const QString &family, int pixels, bool bold = false);

} // namespace tevuna
