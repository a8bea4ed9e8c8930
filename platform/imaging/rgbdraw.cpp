// Resampling and drawing of RGB pixels (rows without padding, top row first).

#include "platform/gdi/dc.h"
#include "platform/imaging/imaging_p.h"

#include <QtGui/QImage>

#include <algorithm>
#include <climits>
#include <cstring>
#include <vector>

namespace {

bool sizeFits(UINT width, UINT height)
{
    return width > 0 && height > 0 && width <= INT_MAX / 3 && height <= INT_MAX
        && std::uint64_t(width) * height <= c_nISMaxPixels;
}

// The pixels as a QImage that shares them (rows without padding are a valid stride for Qt).
QImage wrap(const BYTE* pixels, UINT width, UINT height)
{
    return QImage(pixels, int(width), int(height), qsizetype(width) * 3, QImage::Format_RGB888);
}

} // namespace

BOOL _ISResizeRGB(
    const BYTE* source, UINT width, UINT height, BYTE* destination, UINT newWidth, UINT newHeight)
{
    if (!zorImagingStarted())
        return FALSE;
    if (!source || !destination)
        return zorImagingResult(eIS_ERR_ARGUMENT);
    if (!sizeFits(width, height) || !sizeFits(newWidth, newHeight))
        return zorImagingResult(eIS_ERR_TOO_BIG);
    if (newWidth <= width && newHeight <= height) {
        zorShrinkRgb(source, width, height, destination, newWidth, newHeight);
        return zorImagingResult(eIS_OK);
    }
    // Qt's smooth scaling of 32-bit pixels is several times faster than of 24-bit rows, which
    // more than pays for widening the rows first.
    const QImage scaled = wrap(source, width, height)
                              .convertToFormat(QImage::Format_RGB32)
                              .scaled(int(newWidth), int(newHeight), Qt::IgnoreAspectRatio,
                                  Qt::SmoothTransformation);
    if (scaled.isNull() || scaled.width() != int(newWidth) || scaled.height() != int(newHeight))
        return zorImagingResult(eIS_ERR_MEMORY);
    zorPackRgb32(scaled.format() == QImage::Format_RGB32 || scaled.format() == QImage::Format_ARGB32
            ? scaled
            : scaled.convertToFormat(QImage::Format_RGB32),
        destination);
    return zorImagingResult(eIS_OK);
}

void zorShrinkRgb(
    const BYTE* source, UINT width, UINT height, BYTE* destination, UINT newWidth, UINT newHeight)
{
    // Each new pixel is the average of the source pixels its area covers, the area's edges
    // rounded down to whole source pixels: one pass over the source rows, summing them per
    // column and then the columns per new pixel.
    std::vector<std::uint32_t> columns(std::size_t(width) * 3);
    std::vector<UINT> left(newWidth + 1);
    for (UINT x = 0; x <= newWidth; ++x)
        left[x] = UINT(std::uint64_t(x) * width / newWidth);
    const std::size_t sourceRow = std::size_t(width) * 3;
    for (UINT y = 0; y < newHeight; ++y) {
        const UINT top = UINT(std::uint64_t(y) * height / newHeight);
        const UINT bottom = UINT(std::uint64_t(y + 1) * height / newHeight);
        std::fill(columns.begin(), columns.end(), 0);
        for (UINT row = top; row < bottom; ++row) {
            const BYTE* in = source + sourceRow * row;
            for (std::size_t i = 0; i < sourceRow; ++i)
                columns[i] += in[i];
        }
        BYTE* out = destination + std::size_t(newWidth) * 3 * y;
        for (UINT x = 0; x < newWidth; ++x) {
            const std::uint64_t count = std::uint64_t(left[x + 1] - left[x]) * (bottom - top);
            for (int channel = 0; channel < 3; ++channel) {
                std::uint64_t sum = 0;
                for (UINT column = left[x]; column < left[x + 1]; ++column)
                    sum += columns[std::size_t(column) * 3 + channel];
                *out++ = BYTE((sum + count / 2) / count);
            }
        }
    }
}

void zorPackRgb32(const QImage& picture, BYTE* destination)
{
    const std::size_t rowBytes = std::size_t(picture.width()) * 3;
    for (int y = 0; y < picture.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
        BYTE* out = destination + rowBytes * std::size_t(y);
        for (int x = 0; x < picture.width(); ++x) {
            const QRgb pixel = in[x];
            *out++ = BYTE(qRed(pixel));
            *out++ = BYTE(qGreen(pixel));
            *out++ = BYTE(qBlue(pixel));
        }
    }
}

BOOL _ISDrawRGB(CDC* pDC, const BYTE* pixels, UINT width, UINT height, int x, int y, UINT drawWidth,
    UINT drawHeight, CPalette*)
{
    if (!zorImagingStarted())
        return FALSE;
    if (!pDC || !pixels)
        return zorImagingResult(eIS_ERR_ARGUMENT);
    if (!sizeFits(width, height) || drawWidth == 0 || drawHeight == 0 || drawWidth > INT_MAX
        || drawHeight > INT_MAX)
        return zorImagingResult(eIS_ERR_TOO_BIG);
    // The pixels become the source of a blit, so the target context's mapping and clip apply.
    QImage picture = wrap(pixels, width, height).convertToFormat(QImage::Format_RGB32);
    if (picture.isNull())
        return zorImagingResult(eIS_ERR_MEMORY);
    CDC source(&picture);
    const BOOL drawn = pDC->StretchBlt(
        x, y, int(drawWidth), int(drawHeight), &source, 0, 0, int(width), int(height), SRCCOPY);
    return zorImagingResult(drawn ? eIS_OK : eIS_ERR_ARGUMENT);
}
