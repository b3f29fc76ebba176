#include "tools/demo/IconPainter.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>

namespace {

constexpr int kShades = 17;
constexpr int kRamps = 15;

// The lightest shade of each ramp.
// clang-format off
constexpr std::array<std::array<int, 3>, kRamps> kRampColors = {{
    {220, 224, 232}, // steel
    {150, 96, 52},   // wood, leather
    {236, 196, 64},  // gold
    {200, 60, 48},   // red
    {64, 120, 220},  // blue
    {72, 176, 88},   // green
    {160, 96, 200},  // violet
    {232, 220, 180}, // parchment
    {96, 200, 208},  // cyan
    {240, 140, 56},  // orange
    {120, 120, 128}, // iron
    {248, 248, 248}, // white
    {180, 40, 120},  // magenta
    {96, 64, 40},    // dark wood
    {200, 180, 120}, // bone
}};
// clang-format on

enum Ramp : int {
    Steel,
    Wood,
    Gold,
    Red,
    Blue,
    Green,
    Violet,
    Parchment,
    Cyan,
    Orange,
    Iron,
    White,
    Magenta,
    DarkWood,
    Bone
};

} // namespace

IconPainter::IconPainter(int width, int height)
    : width_(width), height_(height), indices_(static_cast<std::size_t>(width * height), 0)
{}

std::vector<std::uint8_t> IconPainter::Palette()
{
    std::vector<std::uint8_t> palette(768, 0);
    palette[1] = 252; // index 0: the game's teal, drawn transparent
    palette[2] = 252;
    for (int ramp = 0; ramp < kRamps; ++ramp) {
        for (int shade = 0; shade < kShades; ++shade) {
            const std::size_t i = static_cast<std::size_t>(1 + ramp * kShades + shade);
            for (std::size_t c = 0; c < 3; ++c) {
                const int light = kRampColors[static_cast<std::size_t>(ramp)][c];
                palette[3 * i + c] = static_cast<std::uint8_t>(light * (6 + shade) / (6 + kShades - 1));
            }
        }
    }
    return palette;
}

void IconPainter::Put(int x, int y, int ramp)
{
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return;
    // Light from the top left; a dark rim comes from the shapes drawn over each other.
    const double light = 1.0 - 0.5 * (static_cast<double>(x) / width_ + static_cast<double>(y) / height_);
    const int shade = std::clamp(static_cast<int>(light * (kShades - 1) + 0.5), 0, kShades - 1);
    indices_[static_cast<std::size_t>(y * width_ + x)] = static_cast<std::uint8_t>(1 + ramp * kShades + shade);
}

void IconPainter::Ellipse(double cx, double cy, double rx, double ry, int ramp)
{
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) {
            const double dx = (x + 0.5 - cx) / rx;
            const double dy = (y + 0.5 - cy) / ry;
            if (dx * dx + dy * dy <= 1.0)
                Put(x, y, ramp);
        }
}

void IconPainter::Ring(double cx, double cy, double rx, double ry, double thickness, int ramp)
{
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) {
            const double dx = (x + 0.5 - cx) / rx;
            const double dy = (y + 0.5 - cy) / ry;
            const double inner = (x + 0.5 - cx) / (rx - thickness);
            const double innerY = (y + 0.5 - cy) / (ry - thickness);
            if (dx * dx + dy * dy <= 1.0 && inner * inner + innerY * innerY > 1.0)
                Put(x, y, ramp);
        }
}

void IconPainter::Polygon(const std::vector<Point>& points, int ramp)
{
    // Even-odd rule, sampled at pixel centres.
    for (int y = 0; y < height_; ++y) {
        const double py = y + 0.5;
        for (int x = 0; x < width_; ++x) {
            const double px = x + 0.5;
            bool inside = false;
            for (std::size_t i = 0, j = points.size() - 1; i < points.size(); j = i++) {
                const Point& a = points[i];
                const Point& b = points[j];
                if ((a.y > py) != (b.y > py) && px < (b.x - a.x) * (py - a.y) / (b.y - a.y) + a.x)
                    inside = !inside;
            }
            if (inside)
                Put(x, y, ramp);
        }
    }
}

void IconPainter::Box(double left, double top, double right, double bottom, int ramp)
{
    Polygon({{left, top}, {right, top}, {right, bottom}, {left, bottom}}, ramp);
}

void IconPainter::Draw(ItemKind kind, int itemNumber, std::string_view name)
{
    const double w = width_;
    const double h = height_;
    const double cx = w / 2;
    const int accent = (itemNumber * 7) % kRamps;
    switch (kind) {
    case ItemKind::Weapon:
    case ItemKind::Artifact: {
        // A blade, a cross-guard and a hilt; artifacts shine in their own colour.
        const double guard = h * 0.72;
        const int blade = kind == ItemKind::Artifact ? accent : (itemNumber % 3 == 0 ? Iron : Steel);
        Polygon({{cx, 1},
                 {cx + w * 0.22, h * 0.12},
                 {cx + w * 0.2, guard},
                 {cx - w * 0.2, guard},
                 {cx - w * 0.22, h * 0.12}},
                blade);
        Box(1, guard, w - 1, guard + h * 0.05, Gold);
        Box(cx - w * 0.12, guard + h * 0.05, cx + w * 0.12, h - h * 0.06, itemNumber % 2 == 0 ? Wood : DarkWood);
        Ellipse(cx, h - h * 0.04, w * 0.18, h * 0.04, Gold);
        break;
    }
    case ItemKind::Armor:
        if (name.find("Helm") != std::string_view::npos || name.find("Hat") != std::string_view::npos) {
            Ellipse(cx, h * 0.55, w / 2 - 1, h * 0.45, itemNumber % 2 == 0 ? Iron : Steel);
            Box(1, h * 0.6, w - 1, h * 0.75, accent);
        } else if (name.find("Shield") != std::string_view::npos || name.find("Buckler") != std::string_view::npos) {
            Ellipse(cx, h / 2, w / 2 - 1, h / 2 - 1, itemNumber % 2 == 0 ? Wood : Iron);
            Ellipse(cx, h / 2, w / 3, h / 3, accent);
            Ellipse(cx, h / 2, w / 10, h / 10, Gold);
        } else { // a coat with sleeves
            Polygon({{w * 0.3, 1},
                     {w * 0.7, 1},
                     {w - 1, h * 0.25},
                     {w * 0.85, h * 0.45},
                     {w * 0.78, h * 0.35},
                     {w * 0.78, h - 1},
                     {w * 0.22, h - 1},
                     {w * 0.22, h * 0.35},
                     {w * 0.15, h * 0.45},
                     {1, h * 0.25}},
                    itemNumber % 3 == 0 ? Steel : Wood);
            Box(w * 0.45, h * 0.05, w * 0.55, h * 0.9, accent);
        }
        break;
    case ItemKind::Jewelry:
        Ring(cx, h * 0.58, w / 2 - 1, h * 0.4, std::max(2.0, w / 7), Gold);
        Ellipse(cx, h * 0.2, w * 0.2, h * 0.18, accent);
        break;
    case ItemKind::Wand:
        Polygon({{cx - 2, h * 0.15}, {cx + 2, h * 0.15}, {cx + 3, h - 1}, {cx - 3, h - 1}}, DarkWood);
        Ellipse(cx, h * 0.1, w * 0.35, h * 0.09, accent);
        break;
    case ItemKind::Gem:
        Polygon({{cx, 1}, {w - 1, h * 0.4}, {cx, h - 1}, {1, h * 0.4}}, accent);
        Polygon({{cx, h * 0.15}, {w * 0.75, h * 0.4}, {cx, h * 0.55}, {w * 0.25, h * 0.4}}, White);
        break;
    case ItemKind::Gold:
        for (int i = 0; i < 4; ++i)
            Ellipse(w * (0.3 + 0.13 * (i % 3)), h * (0.75 - 0.15 * i), w * 0.28, h * 0.13, Gold);
        break;
    case ItemKind::Reagent:
        Ellipse(cx, h / 2, w * 0.45, h * 0.3, Green);
        Box(cx - 1, h * 0.5, cx + 1, h - 1, DarkWood);
        break;
    case ItemKind::Potion:
        Box(cx - w * 0.15, 1, cx + w * 0.15, h * 0.3, White);
        Box(cx - w * 0.2, 1, cx + w * 0.2, h * 0.08, Wood);
        Ellipse(cx, h * 0.65, w / 2 - 1, h * 0.34, (itemNumber * 5) % kRamps);
        break;
    case ItemKind::ScrollOrBook:
        if (itemNumber >= 400) { // a book
            Box(1, 1, w - 1, h - 1, accent);
            Box(w * 0.12, h * 0.1, w * 0.9, h * 0.9, Parchment);
            Box(1, 1, w * 0.12, h - 1, DarkWood);
        } else { // a rolled scroll
            Box(w * 0.1, h * 0.15, w * 0.9, h * 0.85, Parchment);
            Ellipse(cx, h * 0.15, w * 0.45, h * 0.1, Bone);
            Ellipse(cx, h * 0.85, w * 0.45, h * 0.1, Bone);
        }
        break;
    case ItemKind::Quest:
    case ItemKind::Unknown:
        Box(1, h * 0.25, w - 1, h - 1, DarkWood);
        Polygon({{1, h * 0.25}, {cx, 1}, {w - 1, h * 0.25}}, Wood);
        Ellipse(cx, h * 0.55, w * 0.15, h * 0.12, accent);
        break;
    }
}
