#include "platform/imaging/metafile/metafileplayer.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace {

// Extents given to the context are scaled up by up to this much, so a fractional scale of the
// metafile's device onto the picture keeps its precision in the context's integer extents.
constexpr double c_extentPrecision = 4096;
constexpr double c_maxExtent = 1 << 30;

int clampToInt(double value)
{
    if (!(value > -c_maxExtent))
        return -int(c_maxExtent);
    if (value > c_maxExtent)
        return int(c_maxExtent);
    return int(std::lround(value));
}

// An extent that is never 0 (the context refuses 0), keeping its sign.
int nonZeroExtent(double value)
{
    const int v = clampToInt(value);
    if (v != 0)
        return v;
    return value < 0 ? -1 : 1;
}

// The bitmap info header fields the player uses.
struct DibHeader
{
    std::uint32_t size {0};
    std::int32_t width {0};
    std::int32_t height {0};
    std::uint16_t bitCount {0};
    std::uint32_t compression {0};
    std::uint32_t colorsUsed {0};
};

constexpr std::uint32_t c_dibUncompressed = 0; // BI_RGB
constexpr std::uint32_t c_dibInfoHeaderSize = 40;

} // namespace

CMetafilePlayer::CMetafilePlayer(std::span<const BYTE> data, const ZorMetafileOptions& options)
    : m_data(data), m_options(options)
{ }

CMetafilePlayer::~CMetafilePlayer()
{
    // The context must let go of the table's objects before they are destroyed.
    m_dc.DeleteDC();
}

UINT CMetafilePlayer::createPicture(std::int64_t width, std::int64_t height)
{
    if (width <= 0 || height <= 0 || width > std::numeric_limits<int>::max() / 4
        || height > std::numeric_limits<int>::max() / 4
        || std::uint64_t(width) * std::uint64_t(height) > m_options.maxPixels)
        return eIS_ERR_TOO_BIG;
    m_picture = QImage(int(width), int(height), QImage::Format_RGB32);
    if (m_picture.isNull())
        return eIS_ERR_MEMORY;
    m_picture.fill(QColor(GetRValue(m_options.background), GetGValue(m_options.background),
        GetBValue(m_options.background)));
    m_dc.attachImage(&m_picture);
    m_dc.setDeviceResolution(
        int(std::min<UINT>(m_options.xDpi, 100000)), int(std::min<UINT>(m_options.yDpi, 100000)));
    // The player works out the whole mapping itself; the context only carries it out.
    m_dc.SetMapMode(MM_ANISOTROPIC);
    applyMapping();
    return eIS_OK;
}

UINT CMetafilePlayer::takePicture(ZorRgbPicture& picture) const
{
    UINT error = eIS_OK;
    if (!zorAllocatePicture(
            picture, std::uint64_t(m_picture.width()), std::uint64_t(m_picture.height()), error))
        return error;
    for (int y = 0; y < m_picture.height(); ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(m_picture.constScanLine(y));
        BYTE* out = picture.pixel(0, UINT(y));
        for (int x = 0; x < m_picture.width(); ++x) {
            *out++ = BYTE(row[x] >> 16);
            *out++ = BYTE(row[x] >> 8);
            *out++ = BYTE(row[x]);
        }
    }
    return eIS_OK;
}

// --- mapping -----------------------------------------------------------------------------

void CMetafilePlayer::applyMapping()
{
    Mapping m = m_mapping;
    if (m.mapMode == MM_ISOTROPIC && m.windowExtX != 0 && m.windowExtY != 0) {
        // One logical unit is equally long both ways: the larger scale gives way.
        const double sx = std::fabs(m.viewportExtX / m.windowExtX);
        const double sy = std::fabs(m.viewportExtY / m.windowExtY);
        if (sx > sy)
            m.viewportExtX = std::copysign(std::fabs(m.windowExtX) * sy, m.viewportExtX);
        else if (sy > sx)
            m.viewportExtY = std::copysign(std::fabs(m.windowExtY) * sx, m.viewportExtY);
    }
    // picture = ((logical - windowOrg) x viewportExt / windowExt + viewportOrg) x scale + offset
    const double vx = m.viewportExtX * m_scaleX;
    const double vy = m.viewportExtY * m_scaleY;
    auto precision = [](double window, double viewport) {
        const double largest = std::max({std::fabs(window), std::fabs(viewport), 1.0});
        return std::clamp(std::floor(c_maxExtent / largest), 1.0, c_extentPrecision);
    };
    const double kx = precision(m.windowExtX, vx);
    const double ky = precision(m.windowExtY, vy);
    m_dc.SetWindowOrg(clampToInt(m.windowOrgX), clampToInt(m.windowOrgY));
    m_dc.SetWindowExt(nonZeroExtent(m.windowExtX * kx), nonZeroExtent(m.windowExtY * ky));
    m_dc.SetViewportExt(nonZeroExtent(vx * kx), nonZeroExtent(vy * ky));
    m_dc.SetViewportOrg(clampToInt(m.viewportOrgX * m_scaleX + m_offsetX),
        clampToInt(m.viewportOrgY * m_scaleY + m_offsetY));
}

void CMetafilePlayer::saveState()
{
    m_savedMappings.push_back(m_mapping);
    m_dc.SaveDC();
}

void CMetafilePlayer::restoreState(int saved)
{
    // A level (1, 2, ...) or, when negative, counted back from the latest; anything else is
    // ignored, as the platform does.
    const int count = int(m_savedMappings.size());
    const int level = saved < 0 ? count + 1 + saved : saved;
    if (level < 1 || level > count)
        return;
    m_mapping = m_savedMappings[std::size_t(level - 1)];
    m_savedMappings.resize(std::size_t(level - 1));
    m_dc.RestoreDC(level);
    applyMapping();
}

// --- objects -----------------------------------------------------------------------------

void CMetafilePlayer::setObjectCount(std::size_t count)
{
    m_objects.resize(count);
}

void CMetafilePlayer::putObject(std::size_t index, std::unique_ptr<CGdiObject> object)
{
    Q_ASSERT(inTable(index));
    if (m_objects[index])
        m_retired.push_back(std::move(m_objects[index]));
    m_objects[index] = std::move(object);
}

void CMetafilePlayer::deleteObject(std::size_t index)
{
    Q_ASSERT(inTable(index));
    if (m_objects[index])
        m_retired.push_back(std::move(m_objects[index]));
}

void CMetafilePlayer::selectObject(std::size_t index)
{
    Q_ASSERT(inTable(index));
    CGdiObject* object = m_objects[index].get();
    if (auto* pen = dynamic_cast<CPen*>(object))
        m_dc.SelectObject(pen);
    else if (auto* brush = dynamic_cast<CBrush*>(object))
        m_dc.SelectObject(brush);
    else if (auto* font = dynamic_cast<CFont*>(object))
        m_dc.SelectObject(font);
}

std::int64_t CMetafilePlayer::freeObjectIndex() const
{
    for (std::size_t i = 0; i < m_objects.size(); ++i) {
        if (!m_objects[i])
            return std::int64_t(i);
    }
    return -1;
}

std::unique_ptr<CGdiObject> CMetafilePlayer::makePen(UINT style, int width, COLORREF color)
{
    // The style's low bits; the end cap, join and geometric flags are not drawn differently.
    int penStyle = int(style & 0x0F);
    if (penStyle > PS_INSIDEFRAME)
        penStyle = PS_SOLID;
    auto pen = std::make_unique<CPen>();
    pen->CreatePen(penStyle, std::clamp(width, 0, 1 << 20), color & 0xFFFFFF);
    return pen;
}

std::unique_ptr<CGdiObject> CMetafilePlayer::makeBrush(UINT style, COLORREF color)
{
    auto brush = std::make_unique<CBrush>();
    if (style == BS_NULL)
        brush->CreateNullBrush();
    else
        // FIXME: hatched and pattern brushes paint in their colour without the pattern.
        brush->CreateSolidBrush(color & 0xFFFFFF);
    return brush;
}

std::unique_ptr<CGdiObject> CMetafilePlayer::makeFont(const LOGFONT& logFont)
{
    // Text taller than any picture shows nothing more, and the font service would take long
    // to make faces of millions of pixels.
    constexpr LONG c_maxFontUnits = 16384;
    LOGFONT bounded = logFont;
    bounded.lfHeight = std::clamp(bounded.lfHeight, -c_maxFontUnits, c_maxFontUnits);
    bounded.lfWidth = std::clamp(bounded.lfWidth, -c_maxFontUnits, c_maxFontUnits);
    auto font = std::make_unique<CFont>();
    font->CreateFontIndirect(&bounded);
    return font;
}

// --- bitmaps -----------------------------------------------------------------------------

void CMetafilePlayer::drawDib(const CRecordReader& record, std::uint64_t info,
    std::uint64_t infoSize, std::uint64_t bits, std::uint64_t bitsSize, int srcX, int srcY,
    int srcWidth, int srcHeight, int x, int y, int width, int height, DWORD rop)
{
    if (!record.has(info, infoSize) || !record.has(bits, bitsSize)
        || infoSize < c_dibInfoHeaderSize)
        return;
    DibHeader h;
    record.read(info, h.size);
    record.read(info + 4, h.width);
    record.read(info + 8, h.height);
    record.read(info + 14, h.bitCount);
    record.read(info + 16, h.compression);
    record.read(info + 32, h.colorsUsed);
    // FIXME: compressed and bit-field bitmaps, and the old core header, are skipped.
    if (h.size < c_dibInfoHeaderSize || h.size > infoSize || h.compression != c_dibUncompressed
        || h.width <= 0 || h.height == 0 || h.height == std::numeric_limits<std::int32_t>::min())
        return;
    const std::uint16_t bpp = h.bitCount;
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32)
        return;
    const std::uint64_t w = std::uint64_t(h.width);
    const std::uint64_t rows = std::uint64_t(std::abs(std::int64_t(h.height)));
    if (w * rows > m_options.maxPixels)
        return;
    const std::uint64_t stride = (w * bpp + 31) / 32 * 4;
    if (stride * rows > bitsSize)
        return;
    std::uint32_t palette[256] {};
    if (bpp <= 8) {
        const std::uint64_t colors = h.colorsUsed ? h.colorsUsed : (1u << bpp);
        if (colors > (1u << bpp) || !record.has(info + h.size, colors * 4)
            || h.size + colors * 4 > infoSize)
            return;
        for (std::uint64_t i = 0; i < colors; ++i) {
            const std::uint32_t bgrx = record.at<std::uint32_t>(info + h.size + i * 4);
            palette[i] = 0xFF000000u | (bgrx & 0xFFFFFF);
        }
    }

    QImage image(int(w), int(rows), QImage::Format_RGB32);
    if (image.isNull())
        return;
    const BYTE* base = record.data() + bits;
    for (std::uint64_t row = 0; row < rows; ++row) {
        // Rows are stored bottom-up unless the height is negative.
        const BYTE* in = base + stride * (h.height > 0 ? rows - 1 - row : row);
        auto* out = reinterpret_cast<std::uint32_t*>(image.scanLine(int(row)));
        for (std::uint64_t col = 0; col < w; ++col) {
            std::uint32_t pixel = 0;
            switch (bpp) {
            case 1:
                pixel = palette[(in[col / 8] >> (7 - col % 8)) & 1];
                break;
            case 4:
                pixel = palette[(in[col / 2] >> (col % 2 ? 0 : 4)) & 0x0F];
                break;
            case 8:
                pixel = palette[in[col]];
                break;
            case 16: {
                const unsigned v = in[col * 2] | (in[col * 2 + 1] << 8);
                const unsigned r = (v >> 10) & 0x1F, g = (v >> 5) & 0x1F, b = v & 0x1F;
                pixel = 0xFF000000u | ((r << 3 | r >> 2) << 16) | ((g << 3 | g >> 2) << 8)
                    | (b << 3 | b >> 2);
                break;
            }
            default: {
                const BYTE* p = in + col * (bpp / 8);
                pixel
                    = 0xFF000000u | (std::uint32_t(p[2]) << 16) | (std::uint32_t(p[1]) << 8) | p[0];
                break;
            }
            }
            out[col] = pixel;
        }
    }
    // The source rectangle of a bottom-up bitmap is measured from its bottom row.
    const int top = h.height > 0 ? int(rows) - srcY - srcHeight : srcY;
    CDC source(&image);
    m_dc.StretchBlt(x, y, width, height, &source, srcX, top, srcWidth, srcHeight, rop);
}

std::string zorMetafileText(
    const CRecordReader& record, std::uint64_t offset, std::uint64_t count, bool wide)
{
    std::string text;
    if (!record.has(offset, count * (wide ? 2 : 1)))
        return text;
    text.reserve(std::size_t(count));
    for (std::uint64_t i = 0; i < count; ++i) {
        const unsigned unit
            = wide ? record.at<std::uint16_t>(offset + i * 2) : record.at<std::uint8_t>(offset + i);
        text += unit <= 0xFF ? char(unit) : '?';
    }
    return text;
}
