#include "platform/gdi/gdiobjects.h"

#include "platform/gdi/dc.h"
#include "platform/gdi/dc_p.h"

#include <QtGui/QPolygon>

#include <cstring>

BOOL CPen::CreatePen(int nPenStyle, int nWidth, COLORREF crColor)
{
    if (nPenStyle < PS_SOLID || nPenStyle > PS_INSIDEFRAME || nWidth < 0)
        return FALSE;
    m_style = nPenStyle;
    m_width = nWidth;
    m_color = crColor;
    m_created = true;
    return TRUE;
}

BOOL CBrush::CreateSolidBrush(COLORREF crColor)
{
    m_style = BS_SOLID;
    m_color = crColor;
    m_created = true;
    return TRUE;
}

BOOL CBrush::CreateNullBrush()
{
    m_style = BS_NULL;
    m_color = 0;
    m_created = true;
    return TRUE;
}

namespace {

// A bitmap of no size is the platform's 1 x 1 monochrome one.
bool makeImage(QImage& image, int width, int height)
{
    image = QImage(width, height, QImage::Format_RGB32);
    if (image.isNull())
        return false;
    image.fill(zorgdi::c_black);
    return true;
}

} // namespace

BOOL CBitmap::CreateBitmap(
    int nWidth, int nHeight, UINT nPlanes, UINT nBitcount, const void* lpBits)
{
    if (nWidth < 0 || nHeight < 0)
        return FALSE;
    bool monochrome = nPlanes == 1 && nBitcount == 1;
    if (nWidth == 0 || nHeight == 0) {
        nWidth = nHeight = 1;
        monochrome = true;
        lpBits = nullptr;
    }
    QImage image;
    if (!makeImage(image, nWidth, nHeight))
        return FALSE;

    // The rows of the platform's device-dependent bits are padded to 16 bits.
    if (lpBits) {
        const auto* bytes = static_cast<const unsigned char*>(lpBits);
        const UINT bits = monochrome ? 1 : nPlanes * nBitcount;
        const qsizetype rowBytes = ((qsizetype(nWidth) * bits + 15) / 16) * 2;
        for (int y = 0; y < nHeight; ++y) {
            const unsigned char* src = bytes + y * rowBytes;
            auto* dst = reinterpret_cast<std::uint32_t*>(image.scanLine(y));
            for (int x = 0; x < nWidth; ++x) {
                if (bits == 1) {
                    dst[x] = (src[x / 8] & (0x80 >> (x % 8))) ? zorgdi::c_white : zorgdi::c_black;
                } else if (bits == 24) {
                    const unsigned char* p = src + 3 * x;
                    dst[x] = zorgdi::c_opaque | (std::uint32_t(p[2]) << 16)
                        | (std::uint32_t(p[1]) << 8) | p[0];
                } else if (bits == 32) {
                    std::uint32_t v;
                    std::memcpy(&v, src + 4 * x, 4);
                    dst[x] = zorgdi::c_opaque | (v & 0xFFFFFF);
                }
                // FIXME: bits in the palette formats (4, 8, 16 bits) are not read; no caller of
                // the suite creates such bitmaps from bits.
            }
        }
    }
    m_image = image;
    m_monochrome = monochrome;
    return TRUE;
}

BOOL CBitmap::CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight)
{
    const bool monochrome
        = pDC && pDC->GetCurrentBitmap() && pDC->GetCurrentBitmap()->isMonochrome();
    return CreateBitmap(nWidth, nHeight, 1, monochrome ? 1 : 32, nullptr);
}

BOOL CBitmap::attachImage(const QImage& image)
{
    if (image.isNull())
        return FALSE;
    const bool monochrome
        = image.format() == QImage::Format_Mono || image.format() == QImage::Format_MonoLSB;
    QImage converted = image.convertToFormat(QImage::Format_RGB32);
    if (converted.isNull())
        return FALSE;
    if (monochrome) {
        for (int y = 0; y < converted.height(); ++y) {
            auto* row = reinterpret_cast<std::uint32_t*>(converted.scanLine(y));
            for (int x = 0; x < converted.width(); ++x)
                row[x] = zorgdi::toMonochrome(row[x]);
        }
    }
    m_image = converted;
    m_monochrome = monochrome;
    return TRUE;
}

BOOL CPalette::CreatePalette(const LOGPALETTE* lpLogPalette)
{
    if (!lpLogPalette || lpLogPalette->palNumEntries == 0)
        return FALSE;
    // The entries run on past the declared array, as the caller allocated them.
    const PALETTEENTRY* entries = lpLogPalette->palPalEntry;
    m_entries.assign(entries, entries + lpLogPalette->palNumEntries);
    m_created = true;
    return TRUE;
}

BOOL CPalette::CreateHalftonePalette(CDC*)
{
    // The platform's halftone palette: the twenty static colours around a 6 x 6 x 6 colour cube
    // and a ramp of greys.
    static constexpr BYTE statics[20][3] = {{0, 0, 0}, {128, 0, 0}, {0, 128, 0}, {128, 128, 0},
        {0, 0, 128}, {128, 0, 128}, {0, 128, 128}, {192, 192, 192}, {192, 220, 192},
        {166, 202, 240}, {255, 251, 240}, {160, 160, 164}, {128, 128, 128}, {255, 0, 0},
        {0, 255, 0}, {255, 255, 0}, {0, 0, 255}, {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};
    m_entries.clear();
    m_entries.reserve(256);
    for (int i = 0; i < 10; ++i)
        m_entries.push_back({statics[i][0], statics[i][1], statics[i][2], 0});
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b)
                m_entries.push_back({BYTE(r * 51), BYTE(g * 51), BYTE(b * 51), 0});
    for (int i = 1; i <= 20; ++i) {
        const BYTE v = BYTE(i * 255 / 21);
        m_entries.push_back({v, v, v, 0});
    }
    for (int i = 10; i < 20; ++i)
        m_entries.push_back({statics[i][0], statics[i][1], statics[i][2], 0});
    m_created = true;
    return TRUE;
}

BOOL CRgn::CreateRectRgn(int x1, int y1, int x2, int y2)
{
    setRegion(QRegion(zorgdi::spanRect(x1, y1, x2, y2)));
    return TRUE;
}

BOOL CRgn::CreateRectRgnIndirect(LPCRECT lpRect)
{
    if (!lpRect)
        return FALSE;
    return CreateRectRgn(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
}

BOOL CRgn::CreatePolygonRgn(const POINT* lpPoints, int nCount, int nMode)
{
    if (!lpPoints || nCount < 2 || (nMode != ALTERNATE && nMode != WINDING))
        return FALSE;
    QPolygon polygon(nCount);
    for (int i = 0; i < nCount; ++i)
        polygon.setPoint(i, lpPoints[i].x, lpPoints[i].y);
    setRegion(QRegion(polygon, nMode == WINDING ? Qt::WindingFill : Qt::OddEvenFill));
    return TRUE;
}

BOOL CRgn::CreateEllipticRgn(int x1, int y1, int x2, int y2)
{
    setRegion(QRegion(zorgdi::spanRect(x1, y1, x2, y2), QRegion::Ellipse));
    return TRUE;
}

int CRgn::CombineRgn(const CRgn* pRgn1, const CRgn* pRgn2, int nCombineMode)
{
    if (!pRgn1 || !pRgn1->isCreated())
        return ERROR;
    if (nCombineMode == RGN_COPY) {
        setRegion(pRgn1->region());
        return zorgdi::regionKind(m_region);
    }
    if (!pRgn2 || !pRgn2->isCreated())
        return ERROR;
    const QRegion& a = pRgn1->region();
    const QRegion& b = pRgn2->region();
    switch (nCombineMode) {
    case RGN_AND:
        setRegion(a.intersected(b));
        break;
    case RGN_OR:
        setRegion(a.united(b));
        break;
    case RGN_XOR:
        setRegion(a.xored(b));
        break;
    case RGN_DIFF:
        setRegion(a.subtracted(b));
        break;
    default:
        return ERROR;
    }
    return zorgdi::regionKind(m_region);
}

BOOL CRgn::PtInRegion(int x, int y) const
{
    return m_created && m_region.contains(QPoint(x, y)) ? TRUE : FALSE;
}

int CRgn::GetRgnBox(LPRECT lpRect) const
{
    if (!m_created || !lpRect)
        return ERROR;
    const QRect box = m_region.boundingRect();
    if (m_region.isEmpty())
        *lpRect = RECT {};
    else
        *lpRect = RECT {box.left(), box.top(), box.right() + 1, box.bottom() + 1};
    return zorgdi::regionKind(m_region);
}

void CRgn::OffsetRgn(int x, int y)
{
    m_region.translate(x, y);
}

CGdiObject* GetStockObject(int fnObject)
{
    // Created on first use and shared by every context; never deleted.
    static CBrush whiteBrush(RGB(255, 255, 255));
    static CBrush lightGrayBrush(RGB(192, 192, 192));
    static CBrush grayBrush(RGB(128, 128, 128));
    static CBrush darkGrayBrush(RGB(64, 64, 64));
    static CBrush blackBrush(RGB(0, 0, 0));
    static CBrush nullBrush = [] {
        CBrush b;
        b.CreateNullBrush();
        return b;
    }();
    static CPen whitePen(PS_SOLID, 0, RGB(255, 255, 255));
    static CPen blackPen(PS_SOLID, 0, RGB(0, 0, 0));
    static CPen nullPen(PS_NULL, 0, 0);

    switch (fnObject) {
    case WHITE_BRUSH:
        return &whiteBrush;
    case LTGRAY_BRUSH:
        return &lightGrayBrush;
    case GRAY_BRUSH:
        return &grayBrush;
    case DKGRAY_BRUSH:
        return &darkGrayBrush;
    case BLACK_BRUSH:
        return &blackBrush;
    case NULL_BRUSH:
        return &nullBrush;
    case WHITE_PEN:
        return &whitePen;
    case BLACK_PEN:
        return &blackPen;
    case NULL_PEN:
        return &nullPen;
    case SYSTEM_FONT: {
        // The platform's system font: the bold 16-pixel face of its window captions.
        static CFont systemFont = [] {
            CFont f;
            LOGFONT lf;
            lf.lfHeight = 16;
            lf.lfWeight = FW_BOLD;
            lf.lfCharSet = ANSI_CHARSET;
            std::strcpy(lf.lfFaceName, "System");
            f.CreateFontIndirect(&lf);
            return f;
        }();
        return &systemFont;
    }
    case DEFAULT_GUI_FONT: {
        // The dialog font: 8 points at 96 dots per inch.
        static CFont guiFont = [] {
            CFont f;
            LOGFONT lf;
            lf.lfHeight = -11;
            lf.lfWeight = FW_NORMAL;
            lf.lfCharSet = DEFAULT_CHARSET;
            std::strcpy(lf.lfFaceName, "MS Sans Serif");
            f.CreateFontIndirect(&lf);
            return f;
        }();
        return &guiFont;
    }
    default:
        return nullptr;
    }
}
