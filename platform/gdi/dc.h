#pragma once

// The device context: GDI's drawing rules on a QImage.
//
// Every control and window of the suite draws through this class, and the suite states many of
// its results pixel by pixel, so it gives GDI's pixels, not Qt's: a line includes its start and
// excludes its end point (Bresenham with GDI's tie rules), Rectangle frames with the pen on the
// outermost pixels and fills the inside, FillRect covers [left, right) x [top, bottom), a pen of
// width 0 or 1 is one pixel wide, polygons are scan-converted with the top-left rule.
// Coordinates are logical: the mapping mode turns them into device pixels with integer
// arithmetic rounding as GDI does, and drawing happens with the identity transform.
//
// A context draws into an image it does not own (a window's paint buffer, a memory bitmap).
// A memory context (CreateCompatibleDC) starts with a 1 x 1 monochrome bitmap selected, as the
// platform's does; selecting a bitmap makes it the target.

#include "platform/gdi/gdiobjects.h"
#include "platform/types/rect.h"
#include "platform/types/wintypes.h"

#include <QtGui/QImage>
#include <QtGui/QRegion>

#include <memory>
#include <string>
#include <vector>

// Background modes.
constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;

// Mix modes of the pen (SetROP2).
constexpr int R2_BLACK = 1;
constexpr int R2_NOTMERGEPEN = 2;
constexpr int R2_MASKNOTPEN = 3;
constexpr int R2_NOTCOPYPEN = 4;
constexpr int R2_MASKPENNOT = 5;
constexpr int R2_NOT = 6;
constexpr int R2_XORPEN = 7;
constexpr int R2_NOTMASKPEN = 8;
constexpr int R2_MASKPEN = 9;
constexpr int R2_NOTXORPEN = 10;
constexpr int R2_NOP = 11;
constexpr int R2_MERGENOTPEN = 12;
constexpr int R2_COPYPEN = 13;
constexpr int R2_MERGEPENNOT = 14;
constexpr int R2_MERGEPEN = 15;
constexpr int R2_WHITE = 16;

// Raster operations of the bit blits.
constexpr DWORD SRCCOPY = 0x00CC0020;
constexpr DWORD SRCPAINT = 0x00EE0086;
constexpr DWORD SRCAND = 0x008800C6;
constexpr DWORD SRCINVERT = 0x00660046;
constexpr DWORD SRCERASE = 0x00440328;
constexpr DWORD NOTSRCCOPY = 0x00330008;
constexpr DWORD NOTSRCERASE = 0x001100A6;
constexpr DWORD MERGEPAINT = 0x00BB0226;
constexpr DWORD PATCOPY = 0x00F00021;
constexpr DWORD PATINVERT = 0x005A0049;
constexpr DWORD DSTINVERT = 0x00550009;
constexpr DWORD BLACKNESS = 0x00000042;
constexpr DWORD WHITENESS = 0x00FF0062;

// Stretch modes.
constexpr int BLACKONWHITE = 1;
constexpr int WHITEONBLACK = 2;
constexpr int COLORONCOLOR = 3;
constexpr int HALFTONE = 4;

// Mapping modes.
constexpr int MM_TEXT = 1;
constexpr int MM_ISOTROPIC = 7;
constexpr int MM_ANISOTROPIC = 8;

// Device capabilities.
constexpr int HORZSIZE = 4;
constexpr int VERTSIZE = 6;
constexpr int HORZRES = 8;
constexpr int VERTRES = 10;
constexpr int BITSPIXEL = 12;
constexpr int PLANES = 14;
constexpr int NUMCOLORS = 24;
constexpr int RASTERCAPS = 38;
constexpr int LOGPIXELSX = 88;
constexpr int LOGPIXELSY = 90;
constexpr int SIZEPALETTE = 104;
constexpr int RC_BITBLT = 0x0001;
constexpr int RC_BITMAP64 = 0x0008;
constexpr int RC_DI_BITMAP = 0x0080;
constexpr int RC_PALETTE = 0x0100;
constexpr int RC_DIBTODEV = 0x0200;
constexpr int RC_STRETCHBLT = 0x0800;

// Text alignment of TextOut.
constexpr UINT TA_NOUPDATECP = 0;
constexpr UINT TA_UPDATECP = 1;
constexpr UINT TA_LEFT = 0;
constexpr UINT TA_RIGHT = 2;
constexpr UINT TA_CENTER = 6;
constexpr UINT TA_TOP = 0;
constexpr UINT TA_BOTTOM = 8;
constexpr UINT TA_BASELINE = 24;

// DrawText formats.
constexpr UINT DT_TOP = 0x00000000;
constexpr UINT DT_LEFT = 0x00000000;
constexpr UINT DT_CENTER = 0x00000001;
constexpr UINT DT_RIGHT = 0x00000002;
constexpr UINT DT_VCENTER = 0x00000004;
constexpr UINT DT_BOTTOM = 0x00000008;
constexpr UINT DT_WORDBREAK = 0x00000010;
constexpr UINT DT_SINGLELINE = 0x00000020;
constexpr UINT DT_EXPANDTABS = 0x00000040;
constexpr UINT DT_TABSTOP = 0x00000080;
constexpr UINT DT_NOCLIP = 0x00000100;
constexpr UINT DT_EXTERNALLEADING = 0x00000200;
constexpr UINT DT_CALCRECT = 0x00000400;
constexpr UINT DT_NOPREFIX = 0x00000800;
constexpr UINT DT_END_ELLIPSIS = 0x00008000;
constexpr UINT DT_PATH_ELLIPSIS = 0x00004000;
constexpr UINT DT_WORD_ELLIPSIS = 0x00040000;

// ExtTextOut options.
constexpr UINT ETO_OPAQUE = 0x0002;
constexpr UINT ETO_CLIPPED = 0x0004;

// Gradient fill.
constexpr ULONG GRADIENT_FILL_RECT_H = 0x00;
constexpr ULONG GRADIENT_FILL_RECT_V = 0x01;

using COLOR16 = USHORT;

struct TRIVERTEX
{
    LONG x {0};
    LONG y {0};
    COLOR16 Red {0}; // 0x0000 - 0xff00: the colour in the high byte
    COLOR16 Green {0};
    COLOR16 Blue {0};
    COLOR16 Alpha {0};
};

struct GRADIENT_RECT
{
    ULONG UpperLeft {0};
    ULONG LowerRight {0};
};

struct TEXTMETRIC
{
    LONG tmHeight {0};
    LONG tmAscent {0};
    LONG tmDescent {0};
    LONG tmInternalLeading {0};
    LONG tmExternalLeading {0};
    LONG tmAveCharWidth {0};
    LONG tmMaxCharWidth {0};
    LONG tmWeight {0};
    LONG tmOverhang {0};
    LONG tmDigitizedAspectX {0};
    LONG tmDigitizedAspectY {0};
    char tmFirstChar {0};
    char tmLastChar {0};
    char tmDefaultChar {0};
    char tmBreakChar {0};
    BYTE tmItalic {0};
    BYTE tmUnderlined {0};
    BYTE tmStruckOut {0};
    BYTE tmPitchAndFamily {0};
    BYTE tmCharSet {0};
};

class CDC
{
public:
    // A context with no target (drawing does nothing) until attached or given a bitmap.
    CDC();
    // A context that draws into the image (converted once to Format_RGB32 if it is in another
    // format). The image must outlive the context.
    explicit CDC(QImage* target);
    virtual ~CDC();
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    void attachImage(QImage* target);
    QImage* targetImage() const { return m_target; }

    // A memory context with the same device properties as pDC (or the screen when null),
    // holding a 1 x 1 monochrome bitmap until another bitmap is selected.
    BOOL CreateCompatibleDC(CDC* pDC);
    BOOL DeleteDC();

    // Device properties, for contexts over a window or the screen: resolution in dots per inch
    // and the physical size used by HORZSIZE/VERTSIZE. Defaults: 96 dpi, the target's size.
    void setDeviceResolution(int dpiX, int dpiY);

    // --- state ---------------------------------------------------------------------------
    int SaveDC(); // returns the saved level (1, 2, ...), 0 on failure
    BOOL RestoreDC(int nSavedDC); // a level, or -1 for the most recent

    CPen* SelectObject(CPen* pPen);
    CBrush* SelectObject(CBrush* pBrush);
    CFont* SelectObject(CFont* pFont);
    CBitmap* SelectObject(CBitmap* pBitmap);
    int SelectObject(CRgn* pRgn); // same as SelectClipRgn
    CGdiObject* SelectStockObject(int nIndex);
    CPen* GetCurrentPen() const { return m_state.pen; }
    CBrush* GetCurrentBrush() const { return m_state.brush; }
    CFont* GetCurrentFont() const { return m_state.font; }
    CBitmap* GetCurrentBitmap() const { return m_bitmap; }

    COLORREF SetTextColor(COLORREF crColor);
    COLORREF GetTextColor() const { return m_state.textColor; }
    COLORREF SetBkColor(COLORREF crColor);
    COLORREF GetBkColor() const { return m_state.bkColor; }
    int SetBkMode(int nBkMode);
    int GetBkMode() const { return m_state.bkMode; }
    int SetROP2(int nDrawMode);
    int GetROP2() const { return m_state.rop2; }
    int SetPolyFillMode(int nPolyFillMode);
    int GetPolyFillMode() const { return m_state.polyFillMode; }
    int SetStretchBltMode(int nStretchMode);
    UINT SetTextAlign(UINT nFlags);
    UINT GetTextAlign() const { return m_state.textAlign; }

    // --- mapping -------------------------------------------------------------------------
    int SetMapMode(int nMapMode);
    int GetMapMode() const { return m_state.mapMode; }
    CPoint SetWindowOrg(int x, int y);
    CPoint SetWindowOrg(POINT point) { return SetWindowOrg(point.x, point.y); }
    CPoint GetWindowOrg() const;
    CSize SetWindowExt(int cx, int cy); // ignored unless the mode is anisotropic/isotropic
    CSize SetWindowExt(SIZE size) { return SetWindowExt(size.cx, size.cy); }
    CSize GetWindowExt() const;
    CPoint SetViewportOrg(int x, int y);
    CPoint SetViewportOrg(POINT point) { return SetViewportOrg(point.x, point.y); }
    CPoint GetViewportOrg() const;
    CPoint OffsetViewportOrg(int nWidth, int nHeight);
    CPoint OffsetWindowOrg(int nWidth, int nHeight);
    CSize SetViewportExt(int cx, int cy);
    CSize SetViewportExt(SIZE size) { return SetViewportExt(size.cx, size.cy); }
    CSize GetViewportExt() const;
    // Logical <-> device with GDI's rounding (MulDiv: to nearest, halves away from zero).
    void LPtoDP(LPPOINT lpPoints, int nCount = 1) const;
    void LPtoDP(LPRECT lpRect) const;
    void LPtoDP(LPSIZE lpSize) const;
    void DPtoLP(LPPOINT lpPoints, int nCount = 1) const;
    void DPtoLP(LPRECT lpRect) const;
    void DPtoLP(LPSIZE lpSize) const;

    // --- clipping (regions are kept in device coordinates) --------------------------------
    int SelectClipRgn(CRgn* pRgn); // null removes the clip region
    int IntersectClipRect(int x1, int y1, int x2, int y2); // logical
    int IntersectClipRect(LPCRECT lpRect);
    int ExcludeClipRect(int x1, int y1, int x2, int y2);
    int ExcludeClipRect(LPCRECT lpRect);
    int GetClipBox(LPRECT lpRect) const; // logical
    BOOL PtVisible(int x, int y) const;

    // --- lines and shapes ----------------------------------------------------------------
    CPoint MoveTo(int x, int y);
    CPoint MoveTo(POINT point) { return MoveTo(point.x, point.y); }
    BOOL LineTo(int x, int y);
    BOOL LineTo(POINT point) { return LineTo(point.x, point.y); }
    CPoint GetCurrentPosition() const { return m_state.position; }
    BOOL Polyline(const POINT* lpPoints, int nCount);
    BOOL Rectangle(int x1, int y1, int x2, int y2);
    BOOL Rectangle(LPCRECT lpRect);
    BOOL Ellipse(int x1, int y1, int x2, int y2);
    BOOL Ellipse(LPCRECT lpRect);
    BOOL Polygon(const POINT* lpPoints, int nCount);
    // Several polygons filled as one by the fill mode (a hole where they overlap in
    // ALTERNATE), each outlined with the pen.
    BOOL PolyPolygon(const POINT* lpPoints, const int* lpPolyCounts, int nCount);
    // A rectangle with corners rounded by ellipses of nWidth x nHeight.
    BOOL RoundRect(int x1, int y1, int x2, int y2, int nWidth, int nHeight);
    // The part of the ellipse in the box running counter-clockwise from where the ray from its
    // centre through the first point leaves it to where the ray through the second does;
    // the same two points give the whole ellipse. Arc draws the curve, Chord closes it with a
    // straight line and fills it, Pie closes it through the centre and fills it.
    BOOL Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
    BOOL Chord(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
    BOOL Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
    void FillRect(LPCRECT lpRect, CBrush* pBrush);
    void FillSolidRect(LPCRECT lpRect, COLORREF clr); // uses and keeps the background colour
    void FillSolidRect(int x, int y, int cx, int cy, COLORREF clr);
    void FrameRect(LPCRECT lpRect, CBrush* pBrush);
    void InvertRect(LPCRECT lpRect);
    void Draw3dRect(LPCRECT lpRect, COLORREF clrTopLeft, COLORREF clrBottomRight);
    BOOL FillRgn(CRgn* pRgn, CBrush* pBrush);
    COLORREF SetPixel(int x, int y, COLORREF crColor);
    BOOL SetPixelV(int x, int y, COLORREF crColor);
    COLORREF GetPixel(int x, int y) const; // CLR_INVALID (0xFFFFFFFF) outside the target
    BOOL GradientFill(const TRIVERTEX* pVertices, ULONG nVertices, const void* pMesh,
        ULONG nMeshElements, DWORD dwMode);

    // --- bit blits -----------------------------------------------------------------------
    // Between true-colour and monochrome bitmaps the platform's rules hold: colour to
    // monochrome gives white where the source equals the source context's background colour,
    // black elsewhere; monochrome to colour gives the destination's text colour for black and
    // its background colour for white.
    BOOL BitBlt(
        int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, DWORD dwRop);
    BOOL StretchBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc,
        int nSrcWidth, int nSrcHeight, DWORD dwRop);
    BOOL PatBlt(int x, int y, int nWidth, int nHeight, DWORD dwRop);

    // --- text ----------------------------------------------------------------------------
    // Draws (or with DT_CALCRECT measures, setting the rectangle's right and bottom) the text
    // in the selected font and text colour; returns the height of the text in logical units.
    int DrawText(const std::string& str, LPRECT lpRect, UINT nFormat);
    int DrawText(const char* lpszString, int nCount, LPRECT lpRect, UINT nFormat);
    BOOL TextOut(int x, int y, const std::string& str);
    BOOL ExtTextOut(int x, int y, UINT nOptions, LPCRECT lpRect, const std::string& str);
    CSize GetTextExtent(const std::string& str) const;
    CSize GetTextExtent(const char* lpszString, int nCount) const;
    CSize GetTabbedTextExtent(
        const std::string& str, int nTabPositions, const int* lpnTabStopPositions) const;
    BOOL GetTextMetrics(TEXTMETRIC* lpMetrics) const;
    int GetTextFace(int nCount, char* lpszFacename) const;

    // --- device --------------------------------------------------------------------------
    int GetDeviceCaps(int nIndex) const;

    // The saved part of the state (what SaveDC keeps).
    struct State
    {
        CPen* pen {nullptr};
        CBrush* brush {nullptr};
        CFont* font {nullptr};
        COLORREF textColor {0x000000};
        COLORREF bkColor {0xFFFFFF};
        int bkMode {OPAQUE};
        int rop2 {R2_COPYPEN};
        int polyFillMode {ALTERNATE};
        int stretchMode {BLACKONWHITE};
        UINT textAlign {TA_LEFT | TA_TOP};
        int mapMode {MM_TEXT};
        CPoint windowOrg {0, 0};
        CSize windowExt {1, 1};
        CPoint viewportOrg {0, 0};
        CSize viewportExt {1, 1};
        CPoint position {0, 0};
        bool hasClip {false};
        QRegion clip; // device coordinates
    };

protected:
    // The clip in effect in device pixels: the clip region, or the whole target.
    QRegion effectiveClip() const;

    QImage* m_target {nullptr};
    CBitmap* m_bitmap {nullptr}; // the selected bitmap of a memory context
    std::unique_ptr<CBitmap> m_defaultBitmap; // the 1 x 1 monochrome bitmap of a memory context
    bool m_memory {false};
    int m_dpiX {96};
    int m_dpiY {96};
    State m_state;
    std::vector<State> m_saved;
};

constexpr COLORREF CLR_INVALID = 0xFFFFFFFF;
