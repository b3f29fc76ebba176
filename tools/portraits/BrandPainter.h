#pragma once

#include <QImage>

// The program's banner (420 x 160, 24-bit colour), its 32 x 32 icon, and the same icon at
// any size for the desktop's icon theme.
class BrandPainter {
public:
    static QImage Banner(int scale = 1); // scale 2: twice the pixels, for high-DPI screens
    static QImage Icon();
    static QImage AppIcon(int size);
};
