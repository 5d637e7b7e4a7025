#pragma once

#include <QImage>

namespace tevuna {

// The weights of the blend for mixing number a: content (2 - a/5)/2, background (a/5)/2,
// each rounded to single precision as they always were. For a = 4: 60 % content, 40 %
// background, rounded down: floor((6C + 4B) / 10).
int blendChannel(int content, int background, int a);

// Mixes the content picture with the pixels of the background it covers and draws the result
// onto the target at (x, y). The target is the background's copy, of the background's size;
// it is held as 32-bit RGB afterwards.
// Whatever part of the content lies outside the background is left out, so nothing is
// ever read or written outside either picture.
// The mixed block alone (32-bit RGB), clipped to the background, and where its top-left corner
// goes on it; a null image when the card misses the background entirely.
QImage blendBlock(const QImage &content, const QImage &background, int y, int x, int a, QPoint *at);

void Blend(const QImage &content, const QImage &background, QImage &target, int y, int x, int a);

} // namespace tevuna
