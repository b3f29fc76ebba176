#pragma once

#include <QImage>

// The program's banner (420 x 160, 24-bit colour) and its 32 x 32 icon.
class BrandPainter {
public:
    static QImage Banner();
    static QImage Icon();
};
