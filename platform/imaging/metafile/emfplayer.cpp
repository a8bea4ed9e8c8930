#include "platform/imaging/metafile/emfplayer.h"

#include <uemf.h>
#include <uemf_safe.h>

#include <array>
#include <cmath>
#include <cstring>
#include <vector>

// Field offsets below are from the start of a record, as the enhanced metafile lays them out:
// every record starts with its type and its size in bytes, 4 bytes each.

namespace {

constexpr std::uint32_t c_emfSignature = U_ENHMETA_SIGNATURE;
constexpr std::uint32_t c_stockObject = 0x80000000u;
constexpr int c_bezierSteps = 16;

// The records the player plays; the record-level checks run on these, all others are skipped
// unread.
constexpr std::array<bool, U_EMR_MAX + 1> playedRecords()
{
    std::array<bool, U_EMR_MAX + 1> played {};
    for (int type : {U_EMR_HEADER, U_EMR_POLYBEZIER, U_EMR_POLYGON, U_EMR_POLYLINE,
             U_EMR_POLYBEZIERTO, U_EMR_POLYLINETO, U_EMR_POLYPOLYLINE, U_EMR_POLYPOLYGON,
             U_EMR_SETWINDOWEXTEX, U_EMR_SETWINDOWORGEX, U_EMR_SETVIEWPORTEXTEX,
             U_EMR_SETVIEWPORTORGEX, U_EMR_EOF, U_EMR_SETPIXELV, U_EMR_SETMAPMODE, U_EMR_SETBKMODE,
             U_EMR_SETPOLYFILLMODE, U_EMR_SETROP2, U_EMR_SETSTRETCHBLTMODE, U_EMR_SETTEXTALIGN,
             U_EMR_SETTEXTCOLOR, U_EMR_SETBKCOLOR, U_EMR_MOVETOEX, U_EMR_EXCLUDECLIPRECT,
             U_EMR_INTERSECTCLIPRECT, U_EMR_SAVEDC, U_EMR_RESTOREDC, U_EMR_SELECTOBJECT,
             U_EMR_CREATEPEN, U_EMR_CREATEBRUSHINDIRECT, U_EMR_DELETEOBJECT, U_EMR_ELLIPSE,
             U_EMR_RECTANGLE, U_EMR_ROUNDRECT, U_EMR_ARC, U_EMR_CHORD, U_EMR_PIE, U_EMR_LINETO,
             U_EMR_EXTSELECTCLIPRGN, U_EMR_BITBLT, U_EMR_STRETCHDIBITS,
             U_EMR_EXTCREATEFONTINDIRECTW, U_EMR_EXTTEXTOUTA, U_EMR_EXTTEXTOUTW, U_EMR_POLYBEZIER16,
             U_EMR_POLYGON16, U_EMR_POLYLINE16, U_EMR_POLYBEZIERTO16, U_EMR_POLYLINETO16,
             U_EMR_POLYPOLYLINE16, U_EMR_POLYPOLYGON16, U_EMR_CREATEMONOBRUSH,
             U_EMR_CREATEDIBPATTERNBRUSHPT, U_EMR_EXTCREATEPEN})
        played[std::size_t(type)] = true;
    return played;
}

constexpr std::array<bool, U_EMR_MAX + 1> c_played = playedRecords();

bool isShortForm(std::uint32_t type)
{
    return type >= U_EMR_POLYBEZIER16 && type <= U_EMR_POLYDRAW16;
}

// The corners of cubic Bezier curves from `start`: each three points after it end one curve.
std::vector<POINT> flattenBeziers(POINT start, const std::vector<POINT>& controls)
{
    std::vector<POINT> points {start};
    for (std::size_t i = 0; i + 2 < controls.size(); i += 3) {
        const POINT p0 = points.back();
        const POINT& p1 = controls[i];
        const POINT& p2 = controls[i + 1];
        const POINT& p3 = controls[i + 2];
        for (int s = 1; s <= c_bezierSteps; ++s) {
            const double t = double(s) / c_bezierSteps;
            const double u = 1 - t;
            auto at = [&](double a, double b, double c, double d) {
                return LONG(std::lround(
                    u * u * u * a + 3 * u * u * t * b + 3 * u * t * t * c + t * t * t * d));
            };
            points.push_back(POINT {at(p0.x, p1.x, p2.x, p3.x), at(p0.y, p1.y, p2.y, p3.y)});
        }
    }
    return points;
}

RECT readRect(const CRecordReader& record, std::uint64_t offset)
{
    return RECT {record.at<std::int32_t>(offset), record.at<std::int32_t>(offset + 4),
        record.at<std::int32_t>(offset + 8), record.at<std::int32_t>(offset + 12)};
}

// Reads `count` points at `offset`, 16- or 32-bit; false when they do not fit the record.
bool readPoints(const CRecordReader& record, std::uint64_t offset, std::uint64_t count,
    bool shortForm, std::vector<POINT>& points)
{
    const std::uint64_t size = shortForm ? 4 : 8;
    if (count > record.size() / size || !record.has(offset, count * size))
        return false;
    points.resize(std::size_t(count));
    for (std::uint64_t i = 0; i < count; ++i) {
        const std::uint64_t at = offset + i * size;
        if (shortForm)
            points[i] = POINT {record.at<std::int16_t>(at), record.at<std::int16_t>(at + 2)};
        else
            points[i] = POINT {record.at<std::int32_t>(at), record.at<std::int32_t>(at + 4)};
    }
    return true;
}

} // namespace

CEmfPlayer::CEmfPlayer(std::span<const BYTE> data, const ZorMetafileOptions& options)
    : CMetafilePlayer(data, options)
{ }

bool CEmfPlayer::recognises(std::span<const BYTE> data)
{
    const CRecordReader header(data.data(), data.size());
    std::uint32_t type = 0;
    std::uint32_t signature = 0;
    return header.read(0, type) && type == U_EMR_HEADER && header.read(40, signature)
        && signature == c_emfSignature;
}

UINT CEmfPlayer::play()
{
    std::size_t position = 0;
    bool first = true;
    for (;;) {
        const std::size_t left = m_data.size() - position;
        if (left < 8)
            return eIS_ERR_TRUNCATED;
        const CRecordReader head(m_data.data() + position, left);
        const auto type = head.at<std::uint32_t>(0);
        const auto size = head.at<std::uint32_t>(4);
        // A size under the record's own header (0 included) would never move on.
        if (size < 8 || size % 4 != 0)
            return eIS_ERR_FORMAT;
        if (size > left)
            return eIS_ERR_TRUNCATED;
        const CRecordReader record(m_data.data() + position, size);
        if (first != (type == U_EMR_HEADER))
            return eIS_ERR_FORMAT;
        const UINT error = playRecord(type, record);
        if (error != eIS_OK)
            return error;
        if (type == U_EMR_EOF)
            return eIS_OK;
        first = false;
        position += size;
    }
}

UINT CEmfPlayer::readHeader(const CRecordReader& record)
{
    std::uint32_t signature = 0;
    std::uint16_t handles = 0;
    std::int32_t device[2] {};
    std::int32_t millimetres[2] {};
    if (!record.read(40, signature) || signature != c_emfSignature || !record.read(56, handles)
        || !record.read(72, device) || !record.read(80, millimetres))
        return eIS_ERR_FORMAT;
    if (device[0] <= 0 || device[1] <= 0 || millimetres[0] <= 0 || millimetres[1] <= 0)
        return eIS_ERR_FORMAT;
    m_deviceX = device[0];
    m_deviceY = device[1];
    m_hundredthMmX = 100.0 * millimetres[0];
    m_hundredthMmY = 100.0 * millimetres[1];

    // The frame, in 0.01 mm, is the picture.
    const RECT frame = readRect(record, 24);
    const double frameWidth = double(frame.right) - frame.left;
    const double frameHeight = double(frame.bottom) - frame.top;
    const double width = std::round(frameWidth * m_options.xDpi / 2540);
    const double height = std::round(frameHeight * m_options.yDpi / 2540);
    if (!(width >= 1 && height >= 1) || width * height > double(m_options.maxPixels))
        return eIS_ERR_TOO_BIG;

    // Device units to picture pixels: the frame in device units fills the picture.
    const double deviceLeft = frame.left * m_deviceX / m_hundredthMmX;
    const double deviceTop = frame.top * m_deviceY / m_hundredthMmY;
    m_scaleX = width / (frameWidth * m_deviceX / m_hundredthMmX);
    m_scaleY = height / (frameHeight * m_deviceY / m_hundredthMmY);
    m_offsetX = -deviceLeft * m_scaleX;
    m_offsetY = -deviceTop * m_scaleY;
    setObjectCount(handles);
    return createPicture(std::int64_t(width), std::int64_t(height));
}

void CEmfPlayer::setFixedMapping(int mapMode)
{
    // Logical units per 0.01 mm of each fixed mode; y grows upward in all of them.
    double unitsPerHundredthMm = 0;
    switch (mapMode) {
    case U_MM_LOMETRIC:
        unitsPerHundredthMm = 0.1;
        break;
    case U_MM_HIMETRIC:
        unitsPerHundredthMm = 1;
        break;
    case U_MM_LOENGLISH:
        unitsPerHundredthMm = 100 / 2540.0;
        break;
    case U_MM_HIENGLISH:
        unitsPerHundredthMm = 1000 / 2540.0;
        break;
    case U_MM_TWIPS:
        unitsPerHundredthMm = 1440 / 2540.0;
        break;
    default:
        m_mapping.windowExtX = m_mapping.windowExtY = 1;
        m_mapping.viewportExtX = m_mapping.viewportExtY = 1;
        return;
    }
    m_mapping.windowExtX = m_hundredthMmX * unitsPerHundredthMm;
    m_mapping.windowExtY = m_hundredthMmY * unitsPerHundredthMm;
    m_mapping.viewportExtX = m_deviceX;
    m_mapping.viewportExtY = -m_deviceY;
}

UINT CEmfPlayer::playRecord(std::uint32_t type, const CRecordReader& record)
{
    if (type > U_EMR_MAX || !c_played[type])
        return eIS_OK;
    // The text records' own check reads the string's fields before testing that they are
    // there; the record must hold them all first.
    if (type == U_EMR_EXTTEXTOUTA || type == U_EMR_EXTTEXTOUTW) {
        std::uint32_t options = 0;
        if (!record.read(52, options) || !record.has(0, (options & U_ETO_NO_RECT) ? 60 : 76))
            return eIS_ERR_FORMAT;
    }
    if (!U_emf_record_safe(reinterpret_cast<const char*>(record.data())))
        return eIS_ERR_FORMAT;

    auto i32 = [&](std::uint64_t offset) { return record.at<std::int32_t>(offset); };
    auto u32 = [&](std::uint64_t offset) { return record.at<std::uint32_t>(offset); };
    const bool extents = m_mapping.mapMode == MM_ISOTROPIC || m_mapping.mapMode == MM_ANISOTROPIC;
    switch (type) {
    case U_EMR_HEADER:
        return readHeader(record);
    case U_EMR_EOF:
        return eIS_OK;
    case U_EMR_SETWINDOWEXTEX:
        if (extents && i32(8) != 0 && i32(12) != 0) {
            m_mapping.windowExtX = i32(8);
            m_mapping.windowExtY = i32(12);
            applyMapping();
        }
        return eIS_OK;
    case U_EMR_SETVIEWPORTEXTEX:
        if (extents && i32(8) != 0 && i32(12) != 0) {
            m_mapping.viewportExtX = i32(8);
            m_mapping.viewportExtY = i32(12);
            applyMapping();
        }
        return eIS_OK;
    case U_EMR_SETWINDOWORGEX:
        m_mapping.windowOrgX = i32(8);
        m_mapping.windowOrgY = i32(12);
        applyMapping();
        return eIS_OK;
    case U_EMR_SETVIEWPORTORGEX:
        m_mapping.viewportOrgX = i32(8);
        m_mapping.viewportOrgY = i32(12);
        applyMapping();
        return eIS_OK;
    case U_EMR_SETMAPMODE: {
        const int mode = i32(8);
        if (mode < MM_TEXT || mode > MM_ANISOTROPIC)
            return eIS_OK;
        m_mapping.mapMode = mode;
        if (mode != MM_ISOTROPIC && mode != MM_ANISOTROPIC)
            setFixedMapping(mode);
        applyMapping();
        return eIS_OK;
    }
    case U_EMR_SETPIXELV:
        m_dc.SetPixel(i32(8), i32(12), u32(16) & 0xFFFFFF);
        return eIS_OK;
    case U_EMR_SETBKMODE:
        m_dc.SetBkMode(i32(8));
        return eIS_OK;
    case U_EMR_SETPOLYFILLMODE:
        m_dc.SetPolyFillMode(i32(8));
        return eIS_OK;
    case U_EMR_SETROP2:
        m_dc.SetROP2(i32(8));
        return eIS_OK;
    case U_EMR_SETSTRETCHBLTMODE:
        m_dc.SetStretchBltMode(i32(8));
        return eIS_OK;
    case U_EMR_SETTEXTALIGN:
        m_dc.SetTextAlign(u32(8));
        return eIS_OK;
    case U_EMR_SETTEXTCOLOR:
        m_dc.SetTextColor(u32(8) & 0xFFFFFF);
        return eIS_OK;
    case U_EMR_SETBKCOLOR:
        m_dc.SetBkColor(u32(8) & 0xFFFFFF);
        return eIS_OK;
    case U_EMR_MOVETOEX:
        m_dc.MoveTo(i32(8), i32(12));
        return eIS_OK;
    case U_EMR_LINETO:
        m_dc.LineTo(i32(8), i32(12));
        return eIS_OK;
    case U_EMR_EXCLUDECLIPRECT:
        m_dc.ExcludeClipRect(i32(8), i32(12), i32(16), i32(20));
        return eIS_OK;
    case U_EMR_INTERSECTCLIPRECT:
        m_dc.IntersectClipRect(i32(8), i32(12), i32(16), i32(20));
        return eIS_OK;
    case U_EMR_EXTSELECTCLIPRGN:
        // Only the reset to no clip (a copy of no region); FIXME: region clips are skipped.
        if (u32(8) == 0 && u32(12) == U_RGN_COPY)
            m_dc.SelectClipRgn(nullptr);
        return eIS_OK;
    case U_EMR_SAVEDC:
        saveState();
        return eIS_OK;
    case U_EMR_RESTOREDC:
        restoreState(i32(8));
        return eIS_OK;
    case U_EMR_ELLIPSE:
        m_dc.Ellipse(i32(8), i32(12), i32(16), i32(20));
        return eIS_OK;
    case U_EMR_RECTANGLE:
        m_dc.Rectangle(i32(8), i32(12), i32(16), i32(20));
        return eIS_OK;
    case U_EMR_ROUNDRECT:
        m_dc.RoundRect(i32(8), i32(12), i32(16), i32(20), i32(24), i32(28));
        return eIS_OK;
    case U_EMR_ARC:
        m_dc.Arc(i32(8), i32(12), i32(16), i32(20), i32(24), i32(28), i32(32), i32(36));
        return eIS_OK;
    case U_EMR_CHORD:
        m_dc.Chord(i32(8), i32(12), i32(16), i32(20), i32(24), i32(28), i32(32), i32(36));
        return eIS_OK;
    case U_EMR_PIE:
        m_dc.Pie(i32(8), i32(12), i32(16), i32(20), i32(24), i32(28), i32(32), i32(36));
        return eIS_OK;
    case U_EMR_BITBLT:
        // A blit without a bitmap paints with the brush alone.
        if (u32(88) == 0) {
            m_dc.PatBlt(i32(24), i32(28), i32(32), i32(36), u32(40));
            return eIS_OK;
        }
        drawDib(record, u32(84), u32(88), u32(92), u32(96), i32(44), i32(48), i32(32), i32(36),
            i32(24), i32(28), i32(32), i32(36), u32(40));
        return eIS_OK;
    case U_EMR_STRETCHDIBITS:
        drawDib(record, u32(48), u32(52), u32(56), u32(60), i32(32), i32(36), i32(40), i32(44),
            i32(24), i32(28), i32(72), i32(76), u32(68));
        return eIS_OK;
    case U_EMR_EXTTEXTOUTA:
    case U_EMR_EXTTEXTOUTW:
        return playText(type, record);
    case U_EMR_POLYPOLYLINE:
    case U_EMR_POLYPOLYGON:
    case U_EMR_POLYPOLYLINE16:
    case U_EMR_POLYPOLYGON16:
        return playPolyPoints(type, record);
    case U_EMR_SELECTOBJECT:
    case U_EMR_DELETEOBJECT:
    case U_EMR_CREATEPEN:
    case U_EMR_EXTCREATEPEN:
    case U_EMR_CREATEBRUSHINDIRECT:
    case U_EMR_CREATEMONOBRUSH:
    case U_EMR_CREATEDIBPATTERNBRUSHPT:
    case U_EMR_EXTCREATEFONTINDIRECTW:
        return playObject(type, record);
    default:
        return playPoints(type, record);
    }
}

UINT CEmfPlayer::playPoints(std::uint32_t type, const CRecordReader& record)
{
    // Bounds, count and the points.
    std::vector<POINT> points;
    if (!readPoints(record, 28, record.at<std::uint32_t>(24), isShortForm(type), points))
        return eIS_ERR_FORMAT;
    const int count = int(points.size());
    switch (type) {
    case U_EMR_POLYGON:
    case U_EMR_POLYGON16:
        m_dc.Polygon(points.data(), count);
        break;
    case U_EMR_POLYLINE:
    case U_EMR_POLYLINE16:
        m_dc.Polyline(points.data(), count);
        break;
    case U_EMR_POLYLINETO:
    case U_EMR_POLYLINETO16:
        for (const POINT& p : points)
            m_dc.LineTo(p.x, p.y);
        break;
    case U_EMR_POLYBEZIER:
    case U_EMR_POLYBEZIER16:
        if (!points.empty()) {
            const std::vector<POINT> curve
                = flattenBeziers(points[0], std::vector<POINT>(points.begin() + 1, points.end()));
            m_dc.Polyline(curve.data(), int(curve.size()));
        }
        break;
    case U_EMR_POLYBEZIERTO:
    case U_EMR_POLYBEZIERTO16: {
        const CPoint start = m_dc.GetCurrentPosition();
        const std::vector<POINT> curve = flattenBeziers(POINT {start.x, start.y}, points);
        m_dc.Polyline(curve.data(), int(curve.size()));
        m_dc.MoveTo(curve.back().x, curve.back().y);
        break;
    }
    default:
        break;
    }
    return eIS_OK;
}

UINT CEmfPlayer::playPolyPoints(std::uint32_t type, const CRecordReader& record)
{
    // Bounds, number of polygons, number of points, the polygons' counts, the points.
    const auto polygons = record.at<std::uint32_t>(24);
    const auto total = record.at<std::uint32_t>(28);
    if (!record.has(32, std::uint64_t(polygons) * 4))
        return eIS_ERR_FORMAT;
    std::vector<int> counts(polygons);
    std::uint64_t sum = 0;
    for (std::uint32_t i = 0; i < polygons; ++i) {
        const auto n = record.at<std::uint32_t>(32 + std::uint64_t(i) * 4);
        sum += n;
        if (sum > total)
            return eIS_ERR_FORMAT;
        counts[i] = int(n);
    }
    std::vector<POINT> points;
    if (sum != total
        || !readPoints(record, 32 + std::uint64_t(polygons) * 4, total, isShortForm(type), points))
        return eIS_ERR_FORMAT;
    if (polygons == 0)
        return eIS_OK;
    if (type == U_EMR_POLYPOLYGON || type == U_EMR_POLYPOLYGON16) {
        m_dc.PolyPolygon(points.data(), counts.data(), int(polygons));
        return eIS_OK;
    }
    std::size_t first = 0;
    for (int n : counts) {
        m_dc.Polyline(points.data() + first, n);
        first += std::size_t(n);
    }
    return eIS_OK;
}

UINT CEmfPlayer::playText(std::uint32_t type, const CRecordReader& record)
{
    // Bounds, graphics mode, scales, then the text: reference point, characters, offset of the
    // string, options, the options' rectangle unless left out, offset of the advances.
    const int x = record.at<std::int32_t>(36);
    const int y = record.at<std::int32_t>(40);
    const auto count = record.at<std::uint32_t>(44);
    const auto offset = record.at<std::uint32_t>(48);
    const auto options = record.at<std::uint32_t>(52);
    const bool wide = type == U_EMR_EXTTEXTOUTW;
    if (!record.has(offset, std::uint64_t(count) * (wide ? 2 : 1)))
        return eIS_ERR_FORMAT;
    const std::string text = zorMetafileText(record, offset, count, wide);
    const bool hasRect = !(options & U_ETO_NO_RECT);
    const RECT rect = hasRect ? readRect(record, 56) : RECT {};
    // FIXME: the advances of the file are not used; the font's own advances place each glyph.
    m_dc.ExtTextOut(x, y, options & (ETO_OPAQUE | ETO_CLIPPED), hasRect ? &rect : nullptr, text);
    return eIS_OK;
}

UINT CEmfPlayer::playObject(std::uint32_t type, const CRecordReader& record)
{
    const auto index = record.at<std::uint32_t>(8);
    if (type == U_EMR_SELECTOBJECT || type == U_EMR_DELETEOBJECT) {
        if (index & c_stockObject) {
            if (type == U_EMR_SELECTOBJECT)
                m_dc.SelectStockObject(int(index & ~c_stockObject));
            return eIS_OK;
        }
        if (!inTable(index))
            return eIS_ERR_FORMAT;
        if (type == U_EMR_SELECTOBJECT)
            selectObject(index);
        else
            deleteObject(index);
        return eIS_OK;
    }
    // Index 0 stands for the metafile itself and never holds an object.
    if (index == 0 || !inTable(index))
        return eIS_ERR_FORMAT;
    switch (type) {
    case U_EMR_CREATEPEN:
        // Style, width (a point whose x is the width), colour.
        putObject(index,
            makePen(record.at<std::uint32_t>(12), record.at<std::int32_t>(16),
                record.at<std::uint32_t>(24)));
        break;
    case U_EMR_EXTCREATEPEN: {
        // After the pattern bitmap's offsets and sizes: style, width, brush style, colour. A
        // cosmetic pen is one pixel wide whatever its width says.
        const auto style = record.at<std::uint32_t>(28);
        const bool geometric = (style & U_PS_GEOMETRIC) != 0;
        putObject(index,
            makePen(style, geometric ? int(record.at<std::uint32_t>(32)) : 0,
                record.at<std::uint32_t>(40)));
        break;
    }
    case U_EMR_CREATEBRUSHINDIRECT:
        putObject(index, makeBrush(record.at<std::uint32_t>(12), record.at<std::uint32_t>(16)));
        break;
    case U_EMR_CREATEMONOBRUSH:
    case U_EMR_CREATEDIBPATTERNBRUSHPT:
        // FIXME: pattern brushes paint nothing.
        putObject(index, makeBrush(BS_NULL, 0));
        break;
    case U_EMR_EXTCREATEFONTINDIRECTW: {
        LOGFONT logFont;
        if (!record.has(12, 28 + 64))
            return eIS_ERR_FORMAT;
        logFont.lfHeight = record.at<std::int32_t>(12);
        logFont.lfWidth = record.at<std::int32_t>(16);
        logFont.lfEscapement = record.at<std::int32_t>(20);
        logFont.lfOrientation = record.at<std::int32_t>(24);
        logFont.lfWeight = record.at<std::int32_t>(28);
        logFont.lfItalic = record.at<std::uint8_t>(32);
        logFont.lfUnderline = record.at<std::uint8_t>(33);
        logFont.lfStrikeOut = record.at<std::uint8_t>(34);
        logFont.lfCharSet = record.at<std::uint8_t>(35);
        logFont.lfPitchAndFamily = record.at<std::uint8_t>(39);
        const std::string face = zorMetafileText(record, 40, LF_FACESIZE, true);
        std::strncpy(logFont.lfFaceName, face.c_str(), LF_FACESIZE - 1);
        putObject(index, makeFont(logFont));
        break;
    }
    default:
        break;
    }
    return eIS_OK;
}
