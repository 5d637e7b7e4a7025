#pragma once

namespace tevuna {

// Maps the Windows face names the windows are designed with onto the nearest installed faces,
// so Chinese text uses Simplified Chinese glyph shapes everywhere.
void installFontSubstitutions();

} // namespace tevuna
