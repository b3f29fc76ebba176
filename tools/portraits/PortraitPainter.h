#pragma once

#include <QImage>

// Draws the program's own portraits: stylised figures whose background, skin, hair,
// eyes, mouth and headgear all follow from the portrait number, so no two look alike.
class PortraitPainter {
public:
    static constexpr int Count = 28;
    static constexpr int Width = 60;
    static constexpr int Height = 80;

    // scale 2 draws the same picture at twice the pixels, for high-DPI screens.
    static QImage Portrait(int number, int scale = 1);
    // Shown for a stored portrait number that has no image.
    static QImage Placeholder(int scale = 1);
};
