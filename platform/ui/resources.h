#pragma once

// Icon, cursor and data resources of a module, beside its strings (strings.h), bitmaps
// (bitmaps.h) and dialogs (dialogtemplate.h). Each module declares its tables once, at
// namespace scope in one of its sources; zor_resource_table in resources.cmake writes such a
// table from files:
//
//     ZOR_ICON_TABLE({{129, corvaneIco, sizeof corvaneIco}});
//     ZOR_CURSOR_TABLE({{IDC_HAND_LINK, handCur, sizeof handCur}});
//     ZOR_DATA_TABLE({{1, "README", readmeBytes, sizeof readmeBytes}});
//
// Icons are ICO or PNG files (an ICO keeps all its sizes), cursors CUR or PNG files (hot spot
// from the CUR header, the centre for PNG). Lookups take the module's handle; null names the
// program, as on the platform. Handles stay valid until the process ends.

#include "platform/module/module.h"
#include "platform/types/rect.h"
#include "platform/types/wintypes.h"
#include "platform/ui/window.h"

#include <QtGui/QCursor>
#include <QtGui/QIcon>

#include <cstddef>
#include <initializer_list>
#include <map>
#include <string>

class CDC;

struct ZorResourceEntry
{
    UINT id {0};
    const unsigned char* data {nullptr};
    std::size_t size {0};
};

struct ZorDataEntry
{
    UINT id {0};
    const char* type {""};
    const unsigned char* data {nullptr};
    std::size_t size {0};
};

// Tables of one kind of one module, registered for as long as the object lives.
class CIconTableRegistrar
{
public:
    CIconTableRegistrar(HMODULE module, std::initializer_list<ZorResourceEntry> entries);
    ~CIconTableRegistrar();
    CIconTableRegistrar(const CIconTableRegistrar&) = delete;
    CIconTableRegistrar& operator=(const CIconTableRegistrar&) = delete;
    HMODULE module() const { return m_module; }
    HICON find(UINT id) const;

private:
    HMODULE m_module {nullptr};
    std::map<UINT, HICON> m_icons;
};

class CCursorTableRegistrar
{
public:
    CCursorTableRegistrar(HMODULE module, std::initializer_list<ZorResourceEntry> entries);
    ~CCursorTableRegistrar();
    CCursorTableRegistrar(const CCursorTableRegistrar&) = delete;
    CCursorTableRegistrar& operator=(const CCursorTableRegistrar&) = delete;
    HMODULE module() const { return m_module; }
    HCURSOR find(UINT id) const;

private:
    HMODULE m_module {nullptr};
    std::map<UINT, HCURSOR> m_cursors;
};

class CDataTableRegistrar
{
public:
    CDataTableRegistrar(HMODULE module, std::initializer_list<ZorDataEntry> entries);
    ~CDataTableRegistrar();
    CDataTableRegistrar(const CDataTableRegistrar&) = delete;
    CDataTableRegistrar& operator=(const CDataTableRegistrar&) = delete;
    HMODULE module() const { return m_module; }
    // The bytes of a resource of the type (compared without regard to case) and id.
    const std::string* find(const char* type, UINT id) const;

private:
    HMODULE m_module {nullptr};
    std::map<std::pair<std::string, UINT>, std::string> m_data;
};

#define ZOR_ICON_TABLE(...)                                                                        \
    namespace {                                                                                    \
    const CIconTableRegistrar zorModuleIconTable(ZOR_THIS_MODULE(), __VA_ARGS__);                  \
    }                                                                                              \
    static_assert(true, "")
#define ZOR_CURSOR_TABLE(...)                                                                      \
    namespace {                                                                                    \
    const CCursorTableRegistrar zorModuleCursorTable(ZOR_THIS_MODULE(), __VA_ARGS__);              \
    }                                                                                              \
    static_assert(true, "")
#define ZOR_DATA_TABLE(...)                                                                        \
    namespace {                                                                                    \
    const CDataTableRegistrar zorModuleDataTable(ZOR_THIS_MODULE(), __VA_ARGS__);                  \
    }                                                                                              \
    static_assert(true, "")

// Standard cursors (LoadCursor with a null module).
#define IDC_ARROW reinterpret_cast<const char*>(32512)
#define IDC_IBEAM reinterpret_cast<const char*>(32513)
#define IDC_WAIT reinterpret_cast<const char*>(32514)
#define IDC_CROSS reinterpret_cast<const char*>(32515)
#define IDC_SIZENWSE reinterpret_cast<const char*>(32642)
#define IDC_SIZEALL reinterpret_cast<const char*>(32646)
#define IDC_HAND reinterpret_cast<const char*>(32649)
// Standard icons (LoadIcon with a null module).
#define IDI_APPLICATION reinterpret_cast<const char*>(32512)

// An integer identifier as the name argument of the Load calls.
inline const char* MAKEINTRESOURCE(UINT id)
{
    return reinterpret_cast<const char*>(static_cast<std::uintptr_t>(id));
}

// The icon of a module's table (null when it has none); with a null module and a standard
// identifier, the standard icon.
HICON LoadIconA(HINSTANCE hInstance, const char* lpIconName);
HICON LoadIconA(HINSTANCE hInstance, UINT id);
HCURSOR LoadCursorA(HINSTANCE hInstance, const char* lpCursorName);
HCURSOR LoadCursorA(HINSTANCE hInstance, UINT id);
// Makes the cursor the one shown now over the window under the mouse; returns the previous.
HCURSOR SetCursor(HCURSOR hCursor);
HCURSOR GetCursor();

// What an icon or cursor handle stands for.
QIcon zorQIcon(HICON icon);
QCursor zorQCursor(HCURSOR cursor);
// The icon's image at a size (32 x 32 for the platform's standard size).
QImage zorIconImage(HICON icon, int size = 32);

// Draws the icon at its standard size (32 x 32) with its top-left corner at x, y.
BOOL DrawIcon(CDC* pDC, int x, int y, HICON hIcon);
BOOL DrawIconEx(CDC* pDC, int x, int y, HICON hIcon, int cx, int cy);

// Data resources: the bytes of a resource of a type and id in the module (null: the program);
// null when the module has none. FindResource/LoadResource/SizeofResource in one call.
const std::string* zorFindData(HMODULE hModule, const char* type, UINT id);

// The standard size-grip frame control and the other frame controls the suite draws.
constexpr UINT DFC_CAPTION = 1;
constexpr UINT DFC_MENU = 2;
constexpr UINT DFC_SCROLL = 3;
constexpr UINT DFC_BUTTON = 4;
constexpr UINT DFCS_SCROLLUP = 0x0000;
constexpr UINT DFCS_SCROLLDOWN = 0x0001;
constexpr UINT DFCS_SCROLLLEFT = 0x0002;
constexpr UINT DFCS_SCROLLRIGHT = 0x0003;
constexpr UINT DFCS_SCROLLSIZEGRIP = 0x0008;
constexpr UINT DFCS_BUTTONCHECK = 0x0000;
constexpr UINT DFCS_BUTTONPUSH = 0x0010;
constexpr UINT DFCS_INACTIVE = 0x0100;
constexpr UINT DFCS_PUSHED = 0x0200;
constexpr UINT DFCS_CHECKED = 0x0400;
constexpr UINT DFCS_FLAT = 0x4000;
// Draws in the classic look with the system colours (a size grip is three pairs of diagonal
// lines in the 3-d highlight and shadow colours on the face colour, aligned to the lower right
// corner).
BOOL DrawFrameControl(CDC* pDC, LPRECT lprc, UINT uType, UINT uState);
