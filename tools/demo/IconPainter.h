#pragma once

#include "model/ItemKinds.h"

#include <cstdint>
#include <string_view>
#include <vector>

// Draws the demo game's item pictures in the game's own form: 8-bit palette indices, top row
// first, index 0 the game's transparent teal around the shape. Each kind has a shape of its
// own (a blade, a shield, a bottle, a ring...), coloured and shaded from the item's number.
class IconPainter {
public:
    IconPainter(int width, int height);

    // The picture of an item of this kind, filling the painter's size; some names choose
    // among a kind's shapes (a shield, a helm).
    void Draw(ItemKind kind, int itemNumber, std::string_view name);

    const std::vector<std::uint8_t>& Indices() const { return indices_; }
    // 256 x R,G,B: index 0 teal, then 15 colour ramps of 17 shades, dark to light.
    static std::vector<std::uint8_t> Palette();

private:
    struct Point {
        double x, y;
    };

    // Fills the shapes with a colour ramp, lighter towards the top left.
    void Ellipse(double cx, double cy, double rx, double ry, int ramp);
    void Ring(double cx, double cy, double rx, double ry, double thickness, int ramp);
    void Polygon(const std::vector<Point>& points, int ramp);
    void Box(double left, double top, double right, double bottom, int ramp);
    void Put(int x, int y, int ramp);

    int width_;
    int height_;
    std::vector<std::uint8_t> indices_;
};
