#include "wallpaper/CBmp.h"

#include <algorithm>
#include <array>

namespace tevuna {

int blendChannel(int content, int background, int a)
{
    const double f = double(float(a / 5.0));
    const double g = double(float(2.0 - f));
    const int v = int((content * g + background * f) / 2);
    return std::clamp(v, 0, 255);
}

void Blend(const QImage &content, const QImage &background, QImage &target, int y, int x, int a)
{
    if (content.isNull() || background.isNull() || target.isNull())
        return;
    const QImage c = content.convertToFormat(QImage::Format_RGB888);
    const QImage b = background.convertToFormat(QImage::Format_RGB888);
    if (target.format() != QImage::Format_RGB888)
        target = target.convertToFormat(QImage::Format_RGB888);

    // One table for every pair of byte values: the same result as the per-pixel formula.
    static thread_local int tableFor = -1;
    static thread_local std::array<quint8, 256 * 256> table;
    if (tableFor != a) {
        for (int ci = 0; ci < 256; ++ci)
            for (int bi = 0; bi < 256; ++bi)
                table[size_t(ci * 256 + bi)] = quint8(blendChannel(ci, bi, a));
        tableFor = a;
    }

    // The part of the card that lies on both the background and the target.
    const int x0 = std::max(0, -x);
    const int y0 = std::max(0, -y);
    const int x1 = std::min({c.width(), b.width() - x, target.width() - x});
    const int y1 = std::min({c.height(), b.height() - y, target.height() - y});
    for (int row = y0; row < y1; ++row) {
        const uchar *cs = c.constScanLine(row) + 3 * x0;
        const uchar *bs = b.constScanLine(row + y) + 3 * (x + x0);
        uchar *ts = target.scanLine(row + y) + 3 * (x + x0);
        for (int i = 0; i < 3 * (x1 - x0); ++i)
            ts[i] = table[size_t(cs[i] * 256 + bs[i])];
    }
}

} // namespace tevuna
