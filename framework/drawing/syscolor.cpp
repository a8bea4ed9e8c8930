#include "framework/drawing/syscolor.h"

#include "platform/gdi/syscolor.h"

#include <cstdio>

namespace {

bool validRow(int row)
{
    return row >= 0 && row < CSysColor::c_nColors;
}

// Row 2's description has been shipped without its closing parenthesis; modules that show or
// compare the text rely on it as it is.
NAMEVAL colorTable[CSysColor::c_nColors] = {
    {COLOR_3DDKSHADOW, "(COLOR_3DDKSHADOW) Dark shadow for three-dimensional display elements.",
        "3DDKSHADOW"},
    {COLOR_3DFACE,
        "(COLOR_3DFACE) Face color for three-dimensional display elements and for dialog box "
        "backgrounds.",
        "3DFACE"},
    {COLOR_3DHILIGHT,
        "(COLOR_3DHILIGHT) Highlight color for three-dimensional display elements (for edges "
        "facing the light source.",
        "3DHILIGHT"},
    {COLOR_3DLIGHT,
        "(COLOR_3DLIGHT) Light color for three-dimensional display elements (for edges facing "
        "the light source).",
        "3DLIGHT"},
    {COLOR_3DSHADOW,
        "(COLOR_3DSHADOW) Shadow color for three-dimensional display elements (for edges facing "
        "away from the light source).",
        "3DSHADOW"},
    {COLOR_ACTIVEBORDER, "(COLOR_ACTIVEBORDER) Active window border.", "ACTIVEBORDER"},
    {COLOR_ACTIVECAPTION, "(COLOR_ACTIVECAPTION) Active window title bar.", "ACTIVECAPTION"},
    {COLOR_APPWORKSPACE,
        "(COLOR_APPWORKSPACE) Background color of multiple document interface (MDI) "
        "applications.",
        "APPWORKSPACE"},
    {COLOR_BACKGROUND, "(COLOR_BACKGROUND) Desktop.", "BACKGROUND"},
    {COLOR_BTNTEXT, "(COLOR_BTNTEXT) Text on push buttons.", "BTNTEXT"},
    {COLOR_CAPTIONTEXT, "(COLOR_CAPTIONTEXT) Text in caption, size box, and scroll bar arrow box.",
        "CAPTIONTEXT"},
    {COLOR_GRAYTEXT,
        "(COLOR_GRAYTEXT) Grayed (disabled) text. This color is set to 0 if the current display "
        "driver does not support a solid gray color.",
        "GRAYTEXT"},
    {COLOR_HIGHLIGHT, "(COLOR_HIGHLIGHT) Item(s) selected in a control.", "HIGHLIGHT"},
    {COLOR_HIGHLIGHTTEXT, "(COLOR_HIGHLIGHTTEXT) Text of item(s) selected in a control.",
        "HIGHLIGHTTEXT"},
    {COLOR_INACTIVEBORDER, "(COLOR_INACTIVEBORDER) Inactive window border.", "INACTIVEBORDER"},
    {COLOR_INACTIVECAPTION, "(COLOR_INACTIVECAPTION) Inactive window caption.", "INACTIVECAPTION"},
    {COLOR_INACTIVECAPTIONTEXT, "(COLOR_INACTIVECAPTIONTEXT) Color of text in an inactive caption.",
        "INACTIVECAPTIONTEXT"},
    {COLOR_INFOBK, "(COLOR_INFOBK) Background color for tooltip controls.", "INFOBK"},
    {COLOR_INFOTEXT, "(COLOR_INFOTEXT) Text color for tooltip controls.", "INFOTEXT"},
    {COLOR_MENU, "(COLOR_MENU) Menu background.", "MENU"},
    {COLOR_MENUTEXT, "(COLOR_MENUTEXT) Text in menus.", "MENUTEXT"},
    {COLOR_SCROLLBAR, "(COLOR_SCROLLBAR) Scroll bar gray area.", "SCROLLBAR"},
    {COLOR_WINDOW, "(COLOR_WINDOW) Window background.", "WINDOW"},
    {COLOR_WINDOWFRAME, "(COLOR_WINDOWFRAME) Window frame.", "WINDOWFRAME"},
    {COLOR_WINDOWTEXT, "(COLOR_WINDOWTEXT) Text in windows.", "WINDOWTEXT"},
};

} // namespace

NAMEVAL* CSysColor::m_colorNameVal = colorTable;

std::string CSysColor::getName(int row)
{
    return validRow(row) ? std::string(m_colorNameVal[row].name) : std::string();
}

std::string CSysColor::getShortName(int row)
{
    return validRow(row) ? std::string(m_colorNameVal[row].shortName) : std::string();
}

COLORREF CSysColor::getRGB(int row)
{
    return GetSysColor(getSysColorVal(row));
}

int CSysColor::getSysColorVal(int row)
{
    return validRow(row) ? m_colorNameVal[row].value : 0;
}

COLORREF CSysColor::getColor(DWORD colorRef)
{
    if ((colorRef & 0xFF000000u) == 0)
        return colorRef;
    // The index is the value shifted right as a signed number: a top byte from 0x80 up gives a
    // negative index, which names no system colour.
    return GetSysColor(static_cast<std::int32_t>(colorRef) >> 24);
}

std::string CSysColor::formatHex(COLORREF color)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%.2X%.2X%.2X", static_cast<unsigned>(GetBValue(color)),
        static_cast<unsigned>(GetGValue(color)), static_cast<unsigned>(GetRValue(color)));
    return text;
}
