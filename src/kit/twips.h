#pragma once
// Positions in the design are twips: 1440 to the inch, 15 to a pixel at 96 dpi.
#include <QPoint>
#include <QRect>
#include <QSize>
#include <cmath>

constexpr int kTwipsPerPixel = 15;

constexpr int twips(int t)
{
    return (t >= 0 ? t + kTwipsPerPixel / 2 : t - kTwipsPerPixel / 2) / kTwipsPerPixel;
}

inline QPoint twipsPoint(int x, int y)
{
    return {twips(x), twips(y)};
}

inline QRect twipsRect(int left, int top, int width, int height)
{
    return {twips(left), twips(top), twips(width), twips(height)};
}

inline QSize twipsSize(int width, int height)
{
    return {twips(width), twips(height)};
}

// Where most windows of the program open, in twips.
inline QPoint StandardWindowPosition()
{
    return twipsPoint(2340, 765);
}
