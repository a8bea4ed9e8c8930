// The system colours.
//
// With a GUI application the colours follow its palette (active colour group), read at every
// call so a theme change shows at the next paint. Palette role for each index:
//
//   index                          palette role
//   0  COLOR_SCROLLBAR             Button
//   1  COLOR_BACKGROUND            - (the desktop is not the application's: classic value)
//   2  COLOR_ACTIVECAPTION         Highlight
//   3  COLOR_INACTIVECAPTION       Dark
//   4  COLOR_MENU                  Window (menus are drawn on it)
//   5  COLOR_WINDOW                Base (the background of edits, lists and control faces;
//                                  Window is the dialog face, which the platform calls 3DFACE)
//   6  COLOR_WINDOWFRAME           - (classic value: black)
//   7  COLOR_MENUTEXT              WindowText
//   8  COLOR_WINDOWTEXT            Text (the text drawn on Base)
//   9  COLOR_CAPTIONTEXT           HighlightedText
//   10 COLOR_ACTIVEBORDER          Button
//   11 COLOR_INACTIVEBORDER        Button
//   12 COLOR_APPWORKSPACE          Dark
//   13 COLOR_HIGHLIGHT             Highlight
//   14 COLOR_HIGHLIGHTTEXT         HighlightedText
//   15 COLOR_3DFACE                Button
//   16 COLOR_3DSHADOW              Dark
//   17 COLOR_GRAYTEXT              Text of the disabled colour group
//   18 COLOR_BTNTEXT               ButtonText
//   19 COLOR_INACTIVECAPTIONTEXT   Midlight
//   20 COLOR_3DHILIGHT             Light
//   21 COLOR_3DDKSHADOW            Shadow
//   22 COLOR_3DLIGHT               Midlight
//   23 COLOR_INFOTEXT              ToolTipText
//   24 COLOR_INFOBK                ToolTipBase
//   25 (no name)                   - (classic value)
//   26 COLOR_HOTLIGHT              Link
//   27 COLOR_GRADIENTACTIVECAPTION   - (classic value)
//   28 COLOR_GRADIENTINACTIVECAPTION - (classic value)
// This is the inverse of the mapping Qt's own Windows theme makes from these indexes to its
// palette. Indexes above 28 give 0, as on the platform the suite was written for.

#include "platform/gdi/syscolor.h"

#include <QtGui/QGuiApplication>
#include <QtGui/QPalette>

#include <atomic>

namespace {

// The Windows 2000 classic colour scheme, by index.
constexpr COLORREF c_classic[] = {
    RGB(212, 208, 200), // 0 scroll bar
    RGB(58, 110, 165), // 1 desktop
    RGB(10, 36, 106), // 2 active caption
    RGB(128, 128, 128), // 3 inactive caption
    RGB(212, 208, 200), // 4 menu
    RGB(255, 255, 255), // 5 window
    RGB(0, 0, 0), // 6 window frame
    RGB(0, 0, 0), // 7 menu text
    RGB(0, 0, 0), // 8 window text
    RGB(255, 255, 255), // 9 caption text
    RGB(212, 208, 200), // 10 active border
    RGB(212, 208, 200), // 11 inactive border
    RGB(128, 128, 128), // 12 application workspace
    RGB(10, 36, 106), // 13 highlight
    RGB(255, 255, 255), // 14 highlight text
    RGB(212, 208, 200), // 15 3-d face
    RGB(128, 128, 128), // 16 3-d shadow
    RGB(128, 128, 128), // 17 grey text
    RGB(0, 0, 0), // 18 button text
    RGB(212, 208, 200), // 19 inactive caption text
    RGB(255, 255, 255), // 20 3-d highlight
    RGB(64, 64, 64), // 21 3-d dark shadow
    RGB(212, 208, 200), // 22 3-d light
    RGB(0, 0, 0), // 23 info text
    RGB(255, 255, 225), // 24 info background
    RGB(181, 181, 181), // 25 (alternate button face)
    RGB(0, 0, 128), // 26 hot-tracked item
    RGB(166, 202, 240), // 27 gradient of the active caption
    RGB(192, 192, 192), // 28 gradient of the inactive caption
};
constexpr int c_classicCount = static_cast<int>(sizeof(c_classic) / sizeof(c_classic[0]));

// Shared by the whole process: a test or tool that pins the classic table pins it for every
// context.
std::atomic<bool> s_useClassic {false};

struct RoleOf
{
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

// The palette role of an index, or false for an index that keeps its classic value.
bool paletteRole(int nIndex, RoleOf& out)
{
    constexpr auto A = QPalette::Active;
    switch (nIndex) {
    case 0:
        out = {A, QPalette::Button};
        return true;
    case 2:
        out = {A, QPalette::Highlight};
        return true;
    case 3:
        out = {A, QPalette::Dark};
        return true;
    case 4:
        out = {A, QPalette::Window};
        return true;
    case 5:
        out = {A, QPalette::Base};
        return true;
    case 7:
        out = {A, QPalette::WindowText};
        return true;
    case 8:
        out = {A, QPalette::Text};
        return true;
    case 9:
        out = {A, QPalette::HighlightedText};
        return true;
    case 10:
        out = {A, QPalette::Button};
        return true;
    case 11:
        out = {A, QPalette::Button};
        return true;
    case 12:
        out = {A, QPalette::Dark};
        return true;
    case 13:
        out = {A, QPalette::Highlight};
        return true;
    case 14:
        out = {A, QPalette::HighlightedText};
        return true;
    case 15:
        out = {A, QPalette::Button};
        return true;
    case 16:
        out = {A, QPalette::Dark};
        return true;
    case 17:
        out = {QPalette::Disabled, QPalette::Text};
        return true;
    case 18:
        out = {A, QPalette::ButtonText};
        return true;
    case 19:
        out = {A, QPalette::Midlight};
        return true;
    case 20:
        out = {A, QPalette::Light};
        return true;
    case 21:
        out = {A, QPalette::Shadow};
        return true;
    case 22:
        out = {A, QPalette::Midlight};
        return true;
    case 23:
        out = {A, QPalette::ToolTipText};
        return true;
    case 24:
        out = {A, QPalette::ToolTipBase};
        return true;
    case 26:
        out = {A, QPalette::Link};
        return true;
    default:
        return false;
    }
}

} // namespace

COLORREF zorClassicSysColor(int nIndex)
{
    if (nIndex < 0 || nIndex >= c_classicCount)
        return 0;
    return c_classic[nIndex];
}

void zorUseClassicSysColors(bool classic)
{
    s_useClassic = classic;
}

COLORREF GetSysColor(int nIndex)
{
    if (nIndex < 0 || nIndex >= c_classicCount)
        return 0;
    RoleOf role {};
    if (s_useClassic || !paletteRole(nIndex, role)
        || qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr)
        return c_classic[nIndex];
    const QColor color = QGuiApplication::palette().color(role.group, role.role);
    return RGB(color.red(), color.green(), color.blue());
}
