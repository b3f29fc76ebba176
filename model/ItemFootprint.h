#pragma once

// How the game places an item picture in the 32-pixel cells of a backpack, per axis: the
// picture's size in pixels decides how many cells the item covers, and the picture is drawn
// centred on them (a negative offset overhangs the cells).
namespace ItemFootprint {

inline constexpr int CellPixels = 32;
inline constexpr int SmallestPixels = 14; // smaller pictures count as this size
inline constexpr int MaxOverhang = 9;     // pixels a picture may reach past its cells on each side

constexpr int Clamped(int pixels)
{
    return pixels < SmallestPixels ? SmallestPixels : pixels;
}

constexpr int Cells(int pixels)
{
    return ((Clamped(pixels) - SmallestPixels) >> 5) + 1;
}

constexpr int Offset(int pixels)
{
    const int over = Clamped(pixels) - SmallestPixels;
    return (over / CellPixels * CellPixels + CellPixels - Clamped(pixels)) / 2; // C division, towards zero
}

static_assert(Cells(1) == 1 && Cells(13) == 1 && Cells(14) == 1 && Cells(45) == 1);
static_assert(Cells(46) == 2 && Cells(77) == 2 && Cells(78) == 3 && Cells(109) == 3 && Cells(110) == 4);
static_assert(Offset(13) == 9 && Offset(14) == 9 && Offset(45) == -6 && Offset(46) == 9);
static_assert(Offset(77) == -6 && Offset(78) == 9 && Offset(32) == 0 && Offset(64) == 0);

} // namespace ItemFootprint
