#pragma once

#include <QImage>

// Draws the program's own portraits: stylised figures whose background, skin, hair,
// eyes, mouth and headgear all follow from the portrait number, so no two look alike.
class PortraitPainter {
public:
    static constexpr int Count = 28;
    static constexpr int Width = 60;
    static constexpr int Height = 80;

    static QImage Portrait(int number);
    // Shown for a stored portrait number that has no image.
    static QImage Placeholder();
};
