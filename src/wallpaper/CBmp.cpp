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

QImage blendBlock(const QImage &content, const QImage &background, int y, int x, int a, QPoint *at)
{
    if (content.isNull() || background.isNull())
        return {};
    // The part of the card that lies on the background.
    const int x0 = std::max(0, -x);
    const int y0 = std::max(0, -y);
    const int x1 = std::min(content.width(), background.width() - x);
    const int y1 = std::min(content.height(), background.height() - y);
    if (x1 <= x0 || y1 <= y0)
        return {};
    const QRect card(x0, y0, x1 - x0, y1 - y0);
    const QImage c = content.copy(card).convertToFormat(QImage::Format_RGB888);
    const QImage b = background.copy(card.translated(x, y)).convertToFormat(QImage::Format_RGB888);

    // One table for every pair of byte values: the same result as the per-pixel formula.
    static thread_local int tableFor = -1;
    static thread_local std::array<quint8, 256 * 256> table;
    if (tableFor != a) {
        for (int ci = 0; ci < 256; ++ci)
            for (int bi = 0; bi < 256; ++bi)
                table[size_t(ci * 256 + bi)] = quint8(blendChannel(ci, bi, a));
        tableFor = a;
    }
    const auto mix = [&](const uchar *cs, const uchar *bs, int k) {
        return table[size_t(cs[k] * 256 + bs[k])];
    };
    QImage block(card.size(), QImage::Format_RGB32);
    for (int row = 0; row < card.height(); ++row) {
        const uchar *cs = c.constScanLine(row);
        const uchar *bs = b.constScanLine(row);
        auto *out = reinterpret_cast<QRgb *>(block.scanLine(row));
        for (int i = 0; i < card.width(); ++i, cs += 3, bs += 3)
            out[i] = qRgb(mix(cs, bs, 0), mix(cs, bs, 1), mix(cs, bs, 2));
    }
    if (at)
        *at = card.topLeft() + QPoint(x, y);
    return block;
}

void Blend(const QImage &content, const QImage &background, QImage &target, int y, int x, int a)
{
    QPoint at;
    const QImage block = blendBlock(content, background, y, x, a, &at);
    if (block.isNull() || target.isNull())
        return;
    if (target.format() != QImage::Format_RGB32 && target.format() != QImage::Format_ARGB32)
        target = target.convertToFormat(QImage::Format_RGB32);
    const QRect onTarget = QRect(at, block.size()) & target.rect();
    for (int ty = onTarget.top(); ty <= onTarget.bottom(); ++ty) {
        const auto *src = reinterpret_cast<const QRgb *>(block.constScanLine(ty - at.y()));
        auto *dst = reinterpret_cast<QRgb *>(target.scanLine(ty));
        std::copy(src + (onTarget.left() - at.x()), src + (onTarget.right() + 1 - at.x()),
                  dst + onTarget.left());
    }
}

} // namespace tevuna
