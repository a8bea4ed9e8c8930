#pragma once

// The drawing objects a device context selects: pens, brushes, fonts, bitmaps, palettes and
// regions. Each object owns what it holds and releases it in its destructor; selecting an
// object into a device context does not transfer ownership (the caller keeps the object alive
// while it is selected, as on the platform the suite was written for).

#include "platform/gdi/logfont.h"
#include "platform/types/rect.h"
#include "platform/types/wintypes.h"

#include <QtGui/QFont>
#include <QtGui/QImage>
#include <QtGui/QRegion>

#include <vector>

class CDC;

// Pen styles.
constexpr int PS_SOLID = 0;
constexpr int PS_DASH = 1;
constexpr int PS_DOT = 2;
constexpr int PS_DASHDOT = 3;
constexpr int PS_DASHDOTDOT = 4;
constexpr int PS_NULL = 5;
constexpr int PS_INSIDEFRAME = 6;

// Brush styles.
constexpr UINT BS_SOLID = 0;
constexpr UINT BS_NULL = 1;
constexpr UINT BS_HOLLOW = BS_NULL;

// Stock objects.
constexpr int WHITE_BRUSH = 0;
constexpr int LTGRAY_BRUSH = 1;
constexpr int GRAY_BRUSH = 2;
constexpr int DKGRAY_BRUSH = 3;
constexpr int BLACK_BRUSH = 4;
constexpr int NULL_BRUSH = 5;
constexpr int HOLLOW_BRUSH = NULL_BRUSH;
constexpr int WHITE_PEN = 6;
constexpr int BLACK_PEN = 7;
constexpr int NULL_PEN = 8;
constexpr int SYSTEM_FONT = 13;
constexpr int DEFAULT_GUI_FONT = 17;

// Font weights and character sets used by the suite.
constexpr int FW_DONTCARE = 0;
constexpr int FW_NORMAL = 400;
constexpr int FW_BOLD = 700;
constexpr BYTE ANSI_CHARSET = 0;
constexpr BYTE DEFAULT_CHARSET = 1;

// Region combination modes and results.
constexpr int RGN_AND = 1;
constexpr int RGN_OR = 2;
constexpr int RGN_XOR = 3;
constexpr int RGN_DIFF = 4;
constexpr int RGN_COPY = 5;
constexpr int RGN_ERROR = 0;
constexpr int NULLREGION = 1;
constexpr int SIMPLEREGION = 2;
constexpr int COMPLEXREGION = 3;
constexpr int ERROR = 0;

// Polygon fill modes.
constexpr int ALTERNATE = 1;
constexpr int WINDING = 2;

class CGdiObject
{
public:
    virtual ~CGdiObject() = default;
    // True once the object holds something (a created pen, a loaded bitmap, ...).
    virtual bool isCreated() const = 0;
    // Releases what the object holds; it may be created again afterwards.
    virtual void DeleteObject() = 0;
};

class CPen : public CGdiObject
{
public:
    CPen() = default;
    CPen(int nPenStyle, int nWidth, COLORREF crColor) { CreatePen(nPenStyle, nWidth, crColor); }

    BOOL CreatePen(int nPenStyle, int nWidth, COLORREF crColor);
    bool isCreated() const override { return m_created; }
    void DeleteObject() override { m_created = false; }

    int style() const { return m_style; }
    // Width in logical units; 0 and 1 both draw one device pixel wide.
    int width() const { return m_width; }
    COLORREF color() const { return m_color; }

private:
    bool m_created {false};
    int m_style {PS_SOLID};
    int m_width {0};
    COLORREF m_color {0};
};

class CBrush : public CGdiObject
{
public:
    CBrush() = default;
    explicit CBrush(COLORREF crColor) { CreateSolidBrush(crColor); }

    BOOL CreateSolidBrush(COLORREF crColor);
    // A brush that paints nothing (the hollow brush).
    BOOL CreateNullBrush();
    bool isCreated() const override { return m_created; }
    void DeleteObject() override { m_created = false; }

    UINT style() const { return m_style; }
    COLORREF color() const { return m_color; }

private:
    bool m_created {false};
    UINT m_style {BS_SOLID};
    COLORREF m_color {0};
};

class CFont : public CGdiObject
{
public:
    CFont() = default;

    // lfHeight as the font system takes it: negative = character height (the em), positive =
    // cell height (ascent + descent), 0 = the default size; in logical units of the context
    // the font is drawn in (pixels in the text mapping mode).
    BOOL CreateFontIndirect(const LOGFONT* lpLogFont);
    BOOL CreateFont(int nHeight, int nWidth, int nEscapement, int nOrientation, int nWeight,
        BYTE bItalic, BYTE bUnderline, BYTE cStrikeOut, BYTE nCharSet, BYTE nOutPrecision,
        BYTE nClipPrecision, BYTE nQuality, BYTE nPitchAndFamily, const char* lpszFacename);
    // Size in tenths of a point, converted with the context's vertical resolution (96 dots per
    // inch when no context is given).
    BOOL CreatePointFont(int nPointSize, const char* lpszFaceName, CDC* pDC = nullptr);
    int GetLogFont(LOGFONT* pLogFont) const;

    bool isCreated() const override { return m_created; }
    void DeleteObject() override { m_created = false; }

    const LOGFONT& logFont() const { return m_logFont; }
    // The Qt font that draws this logical font at the given height in device pixels (the
    // context converts the height from logical units first).
    QFont qtFont(int deviceHeight) const;

private:
    bool m_created {false};
    LOGFONT m_logFont {};
};

class CBitmap : public CGdiObject
{
public:
    CBitmap() = default;

    // A bitmap of the given size; 1 plane and 1 bit per pixel make a monochrome bitmap
    // (initially black), anything else a true-colour one. lpBits may be null.
    BOOL CreateBitmap(int nWidth, int nHeight, UINT nPlanes, UINT nBitcount, const void* lpBits);
    // A true-colour bitmap, or a monochrome one when the context's selected bitmap is
    // monochrome (as for a fresh memory context), as the platform does.
    BOOL CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight);
    // Takes an image (converted to the 32-bit RGB format the contexts draw into).
    BOOL attachImage(const QImage& image);

    bool isCreated() const override { return !m_image.isNull(); }
    void DeleteObject() override
    {
        m_image = QImage();
        m_monochrome = false;
    }

    bool isMonochrome() const { return m_monochrome; }
    CSize GetBitmapDimension() const { return CSize(m_image.width(), m_image.height()); }
    // The pixels, always QImage::Format_RGB32; a monochrome bitmap holds only black and white.
    QImage& image() { return m_image; }
    const QImage& image() const { return m_image; }

private:
    QImage m_image;
    bool m_monochrome {false};
};

struct PALETTEENTRY
{
    BYTE peRed {0};
    BYTE peGreen {0};
    BYTE peBlue {0};
    BYTE peFlags {0};
};

struct LOGPALETTE
{
    WORD palVersion {0x300};
    WORD palNumEntries {0};
    PALETTEENTRY palPalEntry[1];
};

class CPalette : public CGdiObject
{
public:
    CPalette() = default;

    BOOL CreatePalette(const LOGPALETTE* lpLogPalette);
    BOOL CreateHalftonePalette(CDC* pDC);
    UINT GetEntryCount() const { return static_cast<UINT>(m_entries.size()); }
    const std::vector<PALETTEENTRY>& entries() const { return m_entries; }

    bool isCreated() const override { return m_created; }
    void DeleteObject() override
    {
        m_created = false;
        m_entries.clear();
    }

private:
    bool m_created {false};
    std::vector<PALETTEENTRY> m_entries;
};

// A region in device coordinates.
class CRgn : public CGdiObject
{
public:
    CRgn() = default;

    BOOL CreateRectRgn(int x1, int y1, int x2, int y2);
    BOOL CreateRectRgnIndirect(LPCRECT lpRect);
    // Filled by the rule of the fill mode (ALTERNATE: even-odd; WINDING: non-zero), with the
    // platform's scan conversion (a pixel is inside when its centre is, top-left rule).
    BOOL CreatePolygonRgn(const POINT* lpPoints, int nCount, int nMode);
    BOOL CreateEllipticRgn(int x1, int y1, int x2, int y2);
    // this = a op b; returns the region kind or ERROR.
    int CombineRgn(const CRgn* pRgn1, const CRgn* pRgn2, int nCombineMode);
    BOOL PtInRegion(int x, int y) const;
    int GetRgnBox(LPRECT lpRect) const;
    void OffsetRgn(int x, int y);

    bool isCreated() const override { return m_created; }
    void DeleteObject() override
    {
        m_created = false;
        m_region = QRegion();
    }

    const QRegion& region() const { return m_region; }
    void setRegion(const QRegion& region)
    {
        m_region = region;
        m_created = true;
    }

private:
    bool m_created {false};
    QRegion m_region;
};

// The platform's shared stock objects (never deleted).
CGdiObject* GetStockObject(int fnObject);
