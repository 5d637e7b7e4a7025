#include "wallpaper/CBmp.h"

#include <gtest/gtest.h>

using namespace tevuna;

namespace {

TEST(Blend, ChannelArithmeticIsSixtyFortyRoundedDown)
{
    EXPECT_EQ(blendChannel(255, 0, 4), 153);
    EXPECT_EQ(blendChannel(255, 255, 4), 255);
    EXPECT_EQ(blendChannel(0, 200, 4), 80);
    EXPECT_EQ(blendChannel(218, 0, 4), 130);
    EXPECT_EQ(blendChannel(6, 1, 4), 4); // where a plain 0.6 C + 0.4 B would give 3
    for (int c = 0; c < 256; ++c)
        for (int b = 0; b < 256; ++b)
            ASSERT_EQ(blendChannel(c, b, 4), (6 * c + 4 * b) / 10) << c << " " << b;
}

QImage filled(QSize size, QColor color)
{
    QImage image(size, QImage::Format_RGB888);
    image.fill(color);
    return image;
}

TEST(Blend, MixesTheCardWithThePixelsItCovers)
{
    // A bright left half and a dark right half: the card sits on the dark half.
    QImage background = filled(QSize(1024, 768), Qt::black);
    for (int y = 0; y < 768; ++y)
        for (int x = 0; x < 512; ++x)
            background.setPixel(x, y, qRgb(255, 255, 255));
    const QImage card = filled(QSize(230, 420), Qt::white);
    QImage target = background.copy();
    Blend(card, background, target, 30, 1024 - 230 - 52, 4);
    EXPECT_EQ(QColor(target.pixel(742, 30)), QColor(153, 153, 153));
    EXPECT_EQ(QColor(target.pixel(971, 449)), QColor(153, 153, 153));
    // Every other pixel is the background's.
    for (const QPoint p :
         {QPoint(741, 30), QPoint(972, 100), QPoint(800, 29), QPoint(800, 450), QPoint(100, 100)})
        EXPECT_EQ(target.pixel(p), background.pixel(p)) << p.x() << "," << p.y();
}

TEST(Blend, ACardLargerThanThePictureIsClippedToIt)
{
    // Narrower than 282 and lower than 420 pixels: the card reaches past both edges.
    QImage background = filled(QSize(200, 300), QColor(0, 0, 200));
    QImage card = filled(QSize(230, 420), Qt::white);
    card.setPixel(82, 0, qRgb(0, 0, 0));
    QImage target = background.copy();
    Blend(card, background, target, 30, 200 - 230 - 52, 4);
    // Card column 82 lands on picture column 0.
    EXPECT_EQ(QColor(target.pixel(0, 30)), QColor(0, 0, 80));
    EXPECT_EQ(QColor(target.pixel(1, 299)), QColor(153, 153, 233));
    EXPECT_EQ(target.pixel(148, 100), background.pixel(148, 100)) << "right of the card";
    EXPECT_EQ(target.pixel(10, 29), background.pixel(10, 29)) << "above the card";

    // Entirely outside: nothing changes, nothing is read out of bounds.
    QImage tiny = filled(QSize(10, 10), Qt::red);
    QImage out = tiny.copy();
    Blend(card, tiny, out, 30, 10 - 230 - 52, 4);
    EXPECT_EQ(out, tiny);
}

} // namespace
