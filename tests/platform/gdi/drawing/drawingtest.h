#pragma once

// Small helpers of the drawing tests: a white image to draw into and its pixels as colours.

#include "platform/gdi/dc.h"

#include <QtGui/QImage>

#include <set>
#include <utility>

constexpr COLORREF c_white = RGB(255, 255, 255);
constexpr COLORREF c_black = RGB(0, 0, 0);
constexpr COLORREF c_red = RGB(255, 0, 0);
constexpr COLORREF c_green = RGB(0, 255, 0);
constexpr COLORREF c_blue = RGB(0, 0, 255);

inline QImage whiteImage(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

// The colour of a pixel read straight from the image, as 0x00BBGGRR.
inline COLORREF pixelAt(const QImage& image, int x, int y)
{
    const QRgb p = image.pixel(x, y);
    return RGB(qRed(p), qGreen(p), qBlue(p));
}

using PixelSet = std::set<std::pair<int, int>>;

// Every pixel that is not white.
inline PixelSet drawnPixels(const QImage& image)
{
    PixelSet drawn;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (pixelAt(image, x, y) != c_white)
                drawn.insert({x, y});
    return drawn;
}
