#pragma once

// Drawing arithmetic of the calendar control that needs no widget: the picture placement and
// blend of the background layer, the selection gradient, and single-line text in a cell.
#include <QColor>
#include <QImage>
#include <QRect>
#include <QString>

#include <optional>
#include <vector>

class QPainter;

namespace tevuna {

// The largest rectangle of the picture's proportions that fits W x H, at the top-left
// corner or centred. Empty for a picture without area.
QRect proportionalFit(int pw, int ph, int W, int H, bool centred);
// Where a BackGround picture of this size lands in the control's W x H rectangle.
QRect picturePlacement(QSize picture, QSize control, bool center, bool stretch);

// Mixes src into dst at pos: percentage % 100 of the source, the rest of the destination,
// per channel. Source pixels of the key colour are skipped; without a key, the colour of
// the source's top-left pixel is the key. Both images are 32-bit RGB.
void layerBlend(QImage &dst, const QImage &src, QPoint pos, int percentage,
                std::optional<QRgb> key = std::nullopt);

// The selection gradient: 256 bands from start at the top to end at the bottom of a
// rectangle of this height; bands of no height are left out.
struct GradientBand {
    int top = 0;    // from the rectangle's top
    int bottom = 0; // exclusive
    QColor color;
};
std::vector<GradientBand> gradientBands(const QColor &start, const QColor &end, int height);
void gradientFill(QPainter &p, const QRect &r, const QColor &start, const QColor &end);

// What text is placed by vertically: the ink of the digits or of a full Han glyph. The CJK
// faces carry line boxes much taller than their glyphs, so placing by the line box would
// push text in a half cell past its edge and cut the glyphs.
enum class Ink { Digits, Han };
// Draws one line of text in r with the painter's font and pen, cut with an ellipsis where it
// is too wide. Alignment: left, right or horizontal centre; top, bottom or vertical centre.
void drawCellText(QPainter &p, const QRect &r, Qt::Alignment alignment, const QString &text,
                  Ink ink);

} // namespace tevuna
