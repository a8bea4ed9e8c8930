// The logical font object. It only holds the LOGFONT; the font service realises it at the
// height the drawing context asks for.

#include "platform/gdi/dc.h"
#include "platform/gdi/fonts.h"
#include "platform/gdi/gdiobjects.h"
#include "platform/types/muldiv.h"

#include <cstdlib>
#include <cstring>

BOOL CFont::CreateFontIndirect(const LOGFONT* lpLogFont)
{
    if (lpLogFont == nullptr)
        return FALSE;
    m_logFont = *lpLogFont;
    // The face name is always terminated within its field.
    m_logFont.lfFaceName[LF_FACESIZE - 1] = '\0';
    m_created = true;
    return TRUE;
}

BOOL CFont::CreateFont(int nHeight, int nWidth, int nEscapement, int nOrientation, int nWeight,
    BYTE bItalic, BYTE bUnderline, BYTE cStrikeOut, BYTE nCharSet, BYTE nOutPrecision,
    BYTE nClipPrecision, BYTE nQuality, BYTE nPitchAndFamily, const char* lpszFacename)
{
    LOGFONT logFont;
    logFont.lfHeight = nHeight;
    logFont.lfWidth = nWidth;
    logFont.lfEscapement = nEscapement;
    logFont.lfOrientation = nOrientation;
    logFont.lfWeight = nWeight;
    logFont.lfItalic = bItalic;
    logFont.lfUnderline = bUnderline;
    logFont.lfStrikeOut = cStrikeOut;
    logFont.lfCharSet = nCharSet;
    logFont.lfOutPrecision = nOutPrecision;
    logFont.lfClipPrecision = nClipPrecision;
    logFont.lfQuality = nQuality;
    logFont.lfPitchAndFamily = nPitchAndFamily;
    if (lpszFacename != nullptr)
        std::strncpy(logFont.lfFaceName, lpszFacename, LF_FACESIZE - 1);
    return CreateFontIndirect(&logFont);
}

BOOL CFont::CreatePointFont(int nPointSize, const char* lpszFaceName, CDC* pDC)
{
    // Tenths of a point to a character height in the context's logical units, rounded as the
    // platform's MulDiv does.
    const int dpiY = pDC != nullptr ? pDC->GetDeviceCaps(LOGPIXELSY) : 96;
    int height = std::abs(MulDiv(nPointSize, dpiY, 720));
    if (pDC != nullptr) {
        POINT points[2] = {{0, 0}, {0, height}};
        pDC->DPtoLP(points, 2);
        height = std::abs(points[1].y - points[0].y);
    }
    LOGFONT logFont;
    logFont.lfHeight = -height;
    logFont.lfWeight = FW_NORMAL;
    logFont.lfCharSet = DEFAULT_CHARSET;
    if (lpszFaceName != nullptr)
        std::strncpy(logFont.lfFaceName, lpszFaceName, LF_FACESIZE - 1);
    return CreateFontIndirect(&logFont);
}

int CFont::GetLogFont(LOGFONT* pLogFont) const
{
    if (!m_created || pLogFont == nullptr)
        return 0;
    *pLogFont = m_logFont;
    return static_cast<int>(sizeof(LOGFONT));
}

QFont CFont::qtFont(int deviceHeight) const
{
    return zorQtFont(m_logFont, deviceHeight);
}
