#include "platform/imaging/metafile/wmfplayer.h"

#include <uwmf.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

// Field offsets below are from the start of a record: every record starts with its size in
// 16-bit words (4 bytes) and its function (2 bytes), whose low byte names the record. Most
// records store their coordinates last to first (y before x, bottom before top).

namespace {

constexpr std::uint32_t c_placeableKey = 0x9AC6CDD7;
constexpr std::size_t c_placeableSize = 22;
constexpr std::size_t c_headerSize = 18;
constexpr std::size_t c_recordHead = 6;

// Reads `count` 16-bit points at `offset`; false when they do not fit the record.
bool readPoints(const CRecordReader& record, std::uint64_t offset, std::uint64_t count,
    std::vector<POINT>& points)
{
    if (!record.has(offset, count * 4))
        return false;
    points.resize(std::size_t(count));
    for (std::uint64_t i = 0; i < count; ++i)
        points[i] = POINT {
            record.at<std::int16_t>(offset + i * 4), record.at<std::int16_t>(offset + i * 4 + 2)};
    return true;
}

// The size of the record at `position` as the record-level check gives it, or the error.
UINT recordSize(std::span<const BYTE> data, std::size_t position, std::size_t& size)
{
    const std::size_t left = data.size() - position;
    if (left < c_recordHead)
        return eIS_ERR_TRUNCATED;
    std::uint32_t words = 0;
    std::memcpy(&words, data.data() + position, 4);
    if (std::uint64_t(words) * 2 > left)
        return eIS_ERR_TRUNCATED;
    const char* start = reinterpret_cast<const char*>(data.data() + position);
    // 0 for a record shorter than its own head (a size of 0 included), which would never
    // move on.
    size = U_WMRRECSAFE_get(start, start + left);
    return size == 0 ? eIS_ERR_FORMAT : eIS_OK;
}

} // namespace

CWmfPlayer::CWmfPlayer(std::span<const BYTE> data, const ZorMetafileOptions& options)
    : CMetafilePlayer(data, options)
{ }

bool CWmfPlayer::recognises(std::span<const BYTE> data)
{
    const CRecordReader head(data.data(), data.size());
    std::uint32_t key = 0;
    if (head.read(0, key) && key == c_placeableKey)
        return true;
    std::uint16_t type = 0;
    std::uint16_t headerWords = 0;
    return head.read(0, type) && head.read(2, headerWords) && (type == 1 || type == 2)
        && headerWords == c_headerSize / 2;
}

UINT CWmfPlayer::play()
{
    const CRecordReader file(m_data.data(), m_data.size());
    std::size_t position = 0;
    bool placeable = false;
    std::int16_t box[4] {};
    std::uint16_t inch = 0;
    std::uint32_t key = 0;
    if (file.read(0, key) && key == c_placeableKey) {
        if (!file.read(6, box) || !file.read(14, inch))
            return eIS_ERR_TRUNCATED;
        if (inch == 0)
            return eIS_ERR_FORMAT;
        placeable = true;
        position = c_placeableSize;
    }
    std::uint16_t type = 0;
    std::uint16_t headerWords = 0;
    std::uint16_t objects = 0;
    if (!file.has(position, c_headerSize))
        return eIS_ERR_TRUNCATED;
    file.read(position, type);
    file.read(position + 2, headerWords);
    file.read(position + 10, objects);
    if ((type != 1 && type != 2) || headerWords != c_headerSize / 2)
        return eIS_ERR_FORMAT;
    position += c_headerSize;
    setObjectCount(objects);

    std::int64_t width = 0;
    std::int64_t height = 0;
    m_mapping.mapMode = MM_ANISOTROPIC;
    if (placeable) {
        // The box, `inch` logical units to the inch, at the asked resolution.
        const double boxWidth = double(box[2]) - box[0];
        const double boxHeight = double(box[3]) - box[1];
        width = std::llround(std::fabs(boxWidth) * m_options.xDpi / inch);
        height = std::llround(std::fabs(boxHeight) * m_options.yDpi / inch);
        m_mapping.windowOrgX = box[0];
        m_mapping.windowOrgY = box[1];
        m_mapping.windowExtX = boxWidth != 0 ? boxWidth : 1;
        m_mapping.windowExtY = boxHeight != 0 ? boxHeight : 1;
    } else {
        const UINT error = plainSize(position, width, height);
        if (error != eIS_OK)
            return error;
    }
    m_mapping.viewportExtX = double(width);
    m_mapping.viewportExtY = double(height);
    if (const UINT error = createPicture(width, height); error != eIS_OK)
        return error;

    for (;;) {
        std::size_t size = 0;
        if (const UINT error = recordSize(m_data, position, size); error != eIS_OK)
            return error;
        const CRecordReader record(m_data.data() + position, size);
        const unsigned function = record.at<std::uint16_t>(4) & U_WMR_MASK;
        if (function == U_WMR_EOF)
            return eIS_OK;
        if (const UINT error = playRecord(function, record); error != eIS_OK)
            return error;
        position += size;
    }
}

UINT CWmfPlayer::plainSize(std::size_t position, std::int64_t& width, std::int64_t& height) const
{
    for (;;) {
        std::size_t size = 0;
        if (const UINT error = recordSize(m_data, position, size); error != eIS_OK)
            return error;
        const CRecordReader record(m_data.data() + position, size);
        const unsigned function = record.at<std::uint16_t>(4) & U_WMR_MASK;
        if (function == U_WMR_EOF)
            return eIS_ERR_FORMAT; // nothing gives the picture a size
        if (function == U_WMR_SETWINDOWEXT && record.has(0, 10)) {
            const double y = std::abs(record.at<std::int16_t>(6));
            const double x = std::abs(record.at<std::int16_t>(8));
            if (x == 0 || y == 0)
                return eIS_ERR_TOO_BIG;
            const double shrink = std::min(1.0, double(c_nMetafilePlainMaxSide) / std::max(x, y));
            width = std::max<std::int64_t>(1, std::llround(x * shrink));
            height = std::max<std::int64_t>(1, std::llround(y * shrink));
            return eIS_OK;
        }
        position += size;
    }
}

UINT CWmfPlayer::playRecord(unsigned type, const CRecordReader& record)
{
    // The size each record needs for the fields it is played with.
    auto needs = [&](std::uint64_t size) { return record.has(0, size); };
    auto i16 = [&](std::uint64_t offset) { return int(record.at<std::int16_t>(offset)); };
    auto u16 = [&](std::uint64_t offset) { return unsigned(record.at<std::uint16_t>(offset)); };
    auto u32 = [&](std::uint64_t offset) { return record.at<std::uint32_t>(offset); };

    switch (type) {
    case U_WMR_SETBKCOLOR:
    case U_WMR_SETTEXTCOLOR:
        if (!needs(10))
            return eIS_ERR_FORMAT;
        if (type == U_WMR_SETBKCOLOR)
            m_dc.SetBkColor(u32(6) & 0xFFFFFF);
        else
            m_dc.SetTextColor(u32(6) & 0xFFFFFF);
        return eIS_OK;
    case U_WMR_SETBKMODE:
    case U_WMR_SETROP2:
    case U_WMR_SETPOLYFILLMODE:
    case U_WMR_SETSTRETCHBLTMODE:
    case U_WMR_SETTEXTALIGN:
    case U_WMR_RESTOREDC:
        if (!needs(8))
            return eIS_ERR_FORMAT;
        if (type == U_WMR_SETBKMODE)
            m_dc.SetBkMode(int(u16(6)));
        else if (type == U_WMR_SETROP2)
            m_dc.SetROP2(int(u16(6)));
        else if (type == U_WMR_SETPOLYFILLMODE)
            m_dc.SetPolyFillMode(int(u16(6)));
        else if (type == U_WMR_SETSTRETCHBLTMODE)
            m_dc.SetStretchBltMode(int(u16(6)));
        else if (type == U_WMR_SETTEXTALIGN)
            m_dc.SetTextAlign(u16(6));
        else
            restoreState(i16(6));
        return eIS_OK;
    case U_WMR_SAVEDC:
        saveState();
        return eIS_OK;
    case U_WMR_SETWINDOWORG:
    case U_WMR_SETWINDOWEXT:
    case U_WMR_OFFSETWINDOWORG:
    case U_WMR_MOVETO:
    case U_WMR_LINETO:
        if (!needs(10))
            return eIS_ERR_FORMAT;
        if (type == U_WMR_SETWINDOWORG) {
            m_mapping.windowOrgX = i16(8);
            m_mapping.windowOrgY = i16(6);
            applyMapping();
        } else if (type == U_WMR_OFFSETWINDOWORG) {
            m_mapping.windowOrgX += i16(8);
            m_mapping.windowOrgY += i16(6);
            applyMapping();
        } else if (type == U_WMR_SETWINDOWEXT) {
            if (i16(6) != 0 && i16(8) != 0) {
                m_mapping.windowExtX = i16(8);
                m_mapping.windowExtY = i16(6);
                applyMapping();
            }
        } else if (type == U_WMR_MOVETO) {
            m_dc.MoveTo(i16(8), i16(6));
        } else {
            m_dc.LineTo(i16(8), i16(6));
        }
        return eIS_OK;
    case U_WMR_EXCLUDECLIPRECT:
    case U_WMR_INTERSECTCLIPRECT:
    case U_WMR_ELLIPSE:
    case U_WMR_RECTANGLE:
        if (!needs(14))
            return eIS_ERR_FORMAT;
        if (type == U_WMR_EXCLUDECLIPRECT)
            m_dc.ExcludeClipRect(i16(12), i16(10), i16(8), i16(6));
        else if (type == U_WMR_INTERSECTCLIPRECT)
            m_dc.IntersectClipRect(i16(12), i16(10), i16(8), i16(6));
        else if (type == U_WMR_ELLIPSE)
            m_dc.Ellipse(i16(12), i16(10), i16(8), i16(6));
        else
            m_dc.Rectangle(i16(12), i16(10), i16(8), i16(6));
        return eIS_OK;
    case U_WMR_ROUNDRECT:
        if (!needs(18))
            return eIS_ERR_FORMAT;
        m_dc.RoundRect(i16(16), i16(14), i16(12), i16(10), i16(8), i16(6));
        return eIS_OK;
    case U_WMR_SETPIXEL:
        if (!needs(14))
            return eIS_ERR_FORMAT;
        m_dc.SetPixel(i16(12), i16(10), u32(6) & 0xFFFFFF);
        return eIS_OK;
    case U_WMR_ARC:
    case U_WMR_CHORD:
    case U_WMR_PIE: {
        if (!needs(22))
            return eIS_ERR_FORMAT;
        // End point, start point, box: each last coordinate first.
        const int box[4] = {i16(20), i16(18), i16(16), i16(14)};
        if (type == U_WMR_ARC)
            m_dc.Arc(box[0], box[1], box[2], box[3], i16(12), i16(10), i16(8), i16(6));
        else if (type == U_WMR_CHORD)
            m_dc.Chord(box[0], box[1], box[2], box[3], i16(12), i16(10), i16(8), i16(6));
        else
            m_dc.Pie(box[0], box[1], box[2], box[3], i16(12), i16(10), i16(8), i16(6));
        return eIS_OK;
    }
    case U_WMR_PATBLT:
        if (!needs(18))
            return eIS_ERR_FORMAT;
        m_dc.PatBlt(i16(16), i16(14), i16(12), i16(10), u32(6));
        return eIS_OK;
    case U_WMR_POLYGON:
    case U_WMR_POLYLINE:
    case U_WMR_POLYPOLYGON:
        return playPoints(type, record);
    case U_WMR_TEXTOUT:
    case U_WMR_EXTTEXTOUT:
        return playText(type, record);
    case U_WMR_STRETCHDIB:
    case U_WMR_DIBSTRETCHBLT:
    case U_WMR_DIBBITBLT:
        return playBitmap(type, record);
    case U_WMR_SELECTOBJECT:
    case U_WMR_DELETEOBJECT:
    case U_WMR_CREATEPENINDIRECT:
    case U_WMR_CREATEBRUSHINDIRECT:
    case U_WMR_CREATEFONTINDIRECT:
    case U_WMR_CREATEPALETTE:
    case U_WMR_CREATEPATTERNBRUSH:
    case U_WMR_DIBCREATEPATTERNBRUSH:
    case U_WMR_CREATEREGION:
    case U_WMR_CREATEBITMAPINDIRECT:
    case U_WMR_CREATEBITMAP:
        return playObject(type, record);
    default:
        // The file's own viewport and mapping mode are skipped: the metafile plays into the
        // picture's viewport. Other records are not played.
        return eIS_OK;
    }
}

UINT CWmfPlayer::playPoints(unsigned type, const CRecordReader& record)
{
    std::uint16_t count = 0;
    if (!record.read(6, count))
        return eIS_ERR_FORMAT;
    std::vector<POINT> points;
    if (type != U_WMR_POLYPOLYGON) {
        if (!readPoints(record, 8, count, points))
            return eIS_ERR_FORMAT;
        if (type == U_WMR_POLYGON)
            m_dc.Polygon(points.data(), int(points.size()));
        else
            m_dc.Polyline(points.data(), int(points.size()));
        return eIS_OK;
    }
    // Number of polygons, their counts, then all points.
    if (!record.has(8, std::uint64_t(count) * 2))
        return eIS_ERR_FORMAT;
    std::vector<int> counts(count);
    std::uint64_t total = 0;
    for (std::uint16_t i = 0; i < count; ++i) {
        counts[i] = record.at<std::uint16_t>(8 + std::uint64_t(i) * 2);
        total += std::uint64_t(counts[i]);
    }
    if (!readPoints(record, 8 + std::uint64_t(count) * 2, total, points))
        return eIS_ERR_FORMAT;
    if (count > 0)
        m_dc.PolyPolygon(points.data(), counts.data(), int(count));
    return eIS_OK;
}

UINT CWmfPlayer::playText(unsigned type, const CRecordReader& record)
{
    if (type == U_WMR_TEXTOUT) {
        // Length, the string padded to whole words, then y and x.
        std::int16_t length = 0;
        if (!record.read(6, length) || length < 0)
            return eIS_ERR_FORMAT;
        const std::uint64_t after = 8 + ((std::uint64_t(length) + 1) & ~std::uint64_t(1));
        if (!record.has(after, 4))
            return eIS_ERR_FORMAT;
        m_dc.TextOut(record.at<std::int16_t>(after + 2), record.at<std::int16_t>(after),
            zorMetafileText(record, 8, std::uint64_t(length), false));
        return eIS_OK;
    }
    // y, x, length, options, the rectangle when the options use one, the string.
    if (!record.has(0, 14))
        return eIS_ERR_FORMAT;
    const int y = record.at<std::int16_t>(6);
    const int x = record.at<std::int16_t>(8);
    const std::int16_t length = record.at<std::int16_t>(10);
    const UINT options = record.at<std::uint16_t>(12) & (ETO_OPAQUE | ETO_CLIPPED);
    if (length < 0)
        return eIS_ERR_FORMAT;
    std::uint64_t text = 14;
    RECT rect {};
    if (options) {
        if (!record.has(14, 8))
            return eIS_ERR_FORMAT;
        rect = RECT {record.at<std::int16_t>(14), record.at<std::int16_t>(16),
            record.at<std::int16_t>(18), record.at<std::int16_t>(20)};
        text += 8;
    }
    if (!record.has(text, std::uint64_t(length)))
        return eIS_ERR_FORMAT;
    // FIXME: the advances of the file are not used; the font's own advances place each glyph.
    m_dc.ExtTextOut(x, y, options, options ? &rect : nullptr,
        zorMetafileText(record, text, std::uint64_t(length), false));
    return eIS_OK;
}

UINT CWmfPlayer::playBitmap(unsigned type, const CRecordReader& record)
{
    // Raster operation, the source and destination rectangles (last coordinate first), then
    // the bitmap to the record's end. A blit without a bitmap is skipped.
    std::uint64_t dib = 0;
    int src[4] {}; // x, y, width, height
    int dest[4] {};
    // The records list their rectangles last field first: height, width, y, x.
    const auto readRect = [&record](int* rect, std::uint64_t at) {
        for (int i = 3; i >= 0; --i, at += 2)
            rect[i] = record.at<std::int16_t>(at);
    };
    if (type == U_WMR_STRETCHDIB || type == U_WMR_DIBSTRETCHBLT) {
        // A stretching DIB record: 2 more bytes of usage before the rectangles in StretchDIB.
        const std::uint64_t first = type == U_WMR_STRETCHDIB ? 12 : 10;
        dib = first + 16;
        if (!record.has(0, dib))
            return eIS_ERR_FORMAT;
        readRect(src, first);
        readRect(dest, first + 8);
    } else {
        dib = 22;
        if (!record.has(0, dib))
            return eIS_ERR_FORMAT;
        src[1] = record.at<std::int16_t>(10);
        src[0] = record.at<std::int16_t>(12);
        dest[3] = src[3] = record.at<std::int16_t>(14);
        dest[2] = src[2] = record.at<std::int16_t>(16);
        dest[1] = record.at<std::int16_t>(18);
        dest[0] = record.at<std::int16_t>(20);
    }
    // The pixels follow the header and the colour table.
    std::uint32_t headerSize = 0;
    std::uint16_t bitCount = 0;
    std::uint32_t colorsUsed = 0;
    if (!record.read(dib, headerSize) || !record.read(dib + 14, bitCount)
        || !record.read(dib + 32, colorsUsed))
        return eIS_OK;
    const std::uint64_t colors
        = bitCount <= 8 ? (colorsUsed ? std::uint64_t(colorsUsed) : 1u << bitCount) : 0;
    const std::uint64_t bits = dib + headerSize + colors * 4;
    if (bits > record.size())
        return eIS_OK;
    drawDib(record, dib, bits - dib, bits, record.size() - bits, src[0], src[1], src[2], src[3],
        dest[0], dest[1], dest[2], dest[3], record.at<std::uint32_t>(6));
    return eIS_OK;
}

UINT CWmfPlayer::playObject(unsigned type, const CRecordReader& record)
{
    if (type == U_WMR_SELECTOBJECT || type == U_WMR_DELETEOBJECT) {
        std::uint16_t index = 0;
        if (!record.read(6, index) || !inTable(index))
            return eIS_ERR_FORMAT;
        if (type == U_WMR_SELECTOBJECT)
            selectObject(index);
        else
            deleteObject(index);
        return eIS_OK;
    }
    // A new object takes the lowest free place of the table, whatever its kind, so the
    // indexes of later records count the kinds that are not drawn too.
    const std::int64_t index = freeObjectIndex();
    if (index < 0)
        return eIS_ERR_FORMAT;
    std::unique_ptr<CGdiObject> object;
    switch (type) {
    case U_WMR_CREATEPENINDIRECT:
        // Style, width (a point whose x is the width), colour.
        if (!record.has(0, 16))
            return eIS_ERR_FORMAT;
        object = makePen(
            record.at<std::uint16_t>(6), record.at<std::int16_t>(8), record.at<std::uint32_t>(12));
        break;
    case U_WMR_CREATEBRUSHINDIRECT:
        // Style, colour, hatch.
        if (!record.has(0, 12))
            return eIS_ERR_FORMAT;
        object = makeBrush(record.at<std::uint16_t>(6), record.at<std::uint32_t>(8));
        break;
    case U_WMR_CREATEFONTINDIRECT: {
        // Height, width, escapement, orientation, weight, then one byte each for italic,
        // underline, strike-out, character set, three precisions and the pitch, then the face
        // name to the record's end (at most 32 bytes).
        if (!record.has(0, 24))
            return eIS_ERR_FORMAT;
        LOGFONT logFont;
        logFont.lfHeight = record.at<std::int16_t>(6);
        logFont.lfWidth = record.at<std::int16_t>(8);
        logFont.lfEscapement = record.at<std::int16_t>(10);
        logFont.lfOrientation = record.at<std::int16_t>(12);
        logFont.lfWeight = record.at<std::int16_t>(14);
        logFont.lfItalic = record.at<std::uint8_t>(16);
        logFont.lfUnderline = record.at<std::uint8_t>(17);
        logFont.lfStrikeOut = record.at<std::uint8_t>(18);
        logFont.lfCharSet = record.at<std::uint8_t>(19);
        logFont.lfPitchAndFamily = record.at<std::uint8_t>(23);
        const std::string face = zorMetafileText(
            record, 24, std::min<std::uint64_t>(LF_FACESIZE, record.size() - 24), false);
        std::strncpy(logFont.lfFaceName, face.c_str(), LF_FACESIZE - 1);
        object = makeFont(logFont);
        break;
    }
    case U_WMR_CREATEPATTERNBRUSH:
    case U_WMR_DIBCREATEPATTERNBRUSH:
        // FIXME: pattern brushes paint nothing.
        object = makeBrush(BS_NULL, 0);
        break;
    default:
        // Palettes, regions and bitmaps only hold their place in the table.
        object = std::make_unique<CPalette>();
        break;
    }
    putObject(std::size_t(index), std::move(object));
    return eIS_OK;
}
