#pragma once

// Dialog templates held as data.
//
// A template is a table: the dialog's caption, size in dialog units, font and styles, then one
// row per control with its kind, identifier, text, rectangle in dialog units (left, top, width,
// height) and styles. A module declares its templates once, at namespace scope in one of its
// sources, and they are looked up by identifier in the current resource module (then in the
// program) when a dialog is created:
//
//     ZOR_DIALOG_TABLE({
//         {142, "Options", 281, 94, "MS Sans Serif", 8, DS_MODALFRAME | WS_POPUP | WS_CAPTION,
//             {{eDLG_EDIT, 1076, "", 90, 10, 40, 14, ES_AUTOHSCROLL | WS_TABSTOP},
//              {eDLG_BUTTON, IDOK, "OK", 224, 7, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP}}},
//     });
//
// Dialog units become pixels with the base units of the dialog font (zorDialogBaseUnits,
// platform/gdi/fonts.h) as the platform converts them: x = units * baseX / 4 and
// y = units * baseY / 8, rounded to nearest (MulDiv). "MS Sans Serif" 8 gives base units 6 x 13.
//
// A hosted-control row names the control's class identifier or ProgID in `classId` and its
// initial persisted state, as property-bag text, in `initState`; the dialog asks the hosted-
// control factory (zorSetHostedControlFactory) to create it, and leaves an empty placeholder
// window of the row's identifier and rectangle when no factory is installed or creation fails.

#include "platform/module/module.h"
#include "platform/types/rect.h"
#include "platform/types/wintypes.h"

#include <initializer_list>
#include <string>
#include <vector>

class CWnd;

// Control kinds of a template row.
enum eDLGITEM {
    eDLG_STATIC, // static text; SS_LEFT / SS_CENTER / SS_RIGHT / SS_SIMPLE / SS_ICON
    eDLG_EDIT, // edit box; ES_* styles
    eDLG_BUTTON, // push button; BS_DEFPUSHBUTTON for the default one
    eDLG_CHECKBOX, // auto check box (BS_AUTOCHECKBOX implied)
    eDLG_RADIO, // auto radio button
    eDLG_GROUPBOX, // group box with its caption
    eDLG_LISTBOX, // list box; LBS_* styles, LBS_USETABSTOPS for tab stops
    eDLG_COMBOBOX, // drop-down list (CBS_DROPDOWNLIST) or drop-down with an edit (CBS_DROPDOWN)
    eDLG_UPDOWN, // up-down control; UDS_* styles, the buddy is the row before it (UDS_AUTOBUDDY)
    eDLG_DATETIME, // date-time picker; DTS_* styles
    eDLG_FRAME, // etched frame or line: SS_ETCHEDFRAME / SS_ETCHEDHORZ / SS_ETCHEDVERT
    eDLG_HOSTED, // a hosted control by class id with its initial state
};

// Dialog styles.
constexpr DWORD DS_SETFONT = 0x40;
constexpr DWORD DS_MODALFRAME = 0x80;
constexpr DWORD DS_CENTER = 0x0800;

// Static styles.
constexpr DWORD SS_LEFT = 0x00;
constexpr DWORD SS_CENTER = 0x01;
constexpr DWORD SS_RIGHT = 0x02;
constexpr DWORD SS_ICON = 0x03;
constexpr DWORD SS_BLACKRECT = 0x04;
constexpr DWORD SS_LEFTNOWORDWRAP = 0x0C;
constexpr DWORD SS_SIMPLE = 0x0B;
constexpr DWORD SS_ETCHEDHORZ = 0x10;
constexpr DWORD SS_ETCHEDVERT = 0x11;
constexpr DWORD SS_ETCHEDFRAME = 0x12;
constexpr DWORD SS_TYPEMASK = 0x1F;
constexpr DWORD SS_NOPREFIX = 0x80;
constexpr DWORD SS_NOTIFY = 0x0100;
constexpr DWORD SS_CENTERIMAGE = 0x0200;
constexpr DWORD SS_SUNKEN = 0x1000;

// Edit styles.
constexpr DWORD ES_LEFT = 0x0000;
constexpr DWORD ES_CENTER = 0x0001;
constexpr DWORD ES_RIGHT = 0x0002;
constexpr DWORD ES_MULTILINE = 0x0004;
constexpr DWORD ES_PASSWORD = 0x0020;
constexpr DWORD ES_AUTOHSCROLL = 0x0080;
constexpr DWORD ES_READONLY = 0x0800;
constexpr DWORD ES_NUMBER = 0x2000;

// Button styles.
constexpr DWORD BS_PUSHBUTTON = 0x00;
constexpr DWORD BS_DEFPUSHBUTTON = 0x01;
constexpr DWORD BS_CHECKBOX = 0x02;
constexpr DWORD BS_AUTOCHECKBOX = 0x03;
constexpr DWORD BS_RADIOBUTTON = 0x04;
constexpr DWORD BS_3STATE = 0x05;
constexpr DWORD BS_AUTO3STATE = 0x06;
constexpr DWORD BS_GROUPBOX = 0x07;
constexpr DWORD BS_AUTORADIOBUTTON = 0x09;
constexpr DWORD BS_TYPEMASK = 0x0F;

// List box styles.
constexpr DWORD LBS_NOTIFY = 0x0001;
constexpr DWORD LBS_SORT = 0x0002;
constexpr DWORD LBS_NOINTEGRALHEIGHT = 0x0100;
constexpr DWORD LBS_USETABSTOPS = 0x0080;
constexpr DWORD LBS_NOSEL = 0x4000;
constexpr DWORD LBS_STANDARD = 0x00A00003;

// Combo box styles.
constexpr DWORD CBS_SIMPLE = 0x0001;
constexpr DWORD CBS_DROPDOWN = 0x0002;
constexpr DWORD CBS_DROPDOWNLIST = 0x0003;
constexpr DWORD CBS_SORT = 0x0100;

// Up-down styles.
constexpr DWORD UDS_WRAP = 0x0001;
constexpr DWORD UDS_SETBUDDYINT = 0x0002;
constexpr DWORD UDS_ALIGNRIGHT = 0x0004;
constexpr DWORD UDS_ALIGNLEFT = 0x0008;
constexpr DWORD UDS_AUTOBUDDY = 0x0010;
constexpr DWORD UDS_ARROWKEYS = 0x0020;
constexpr DWORD UDS_HORZ = 0x0040;
constexpr DWORD UDS_NOTHOUSANDS = 0x0080;

// Date-time picker styles.
constexpr DWORD DTS_UPDOWN = 0x0001;
constexpr DWORD DTS_SHOWNONE = 0x0002;
constexpr DWORD DTS_SHORTDATEFORMAT = 0x0000;
constexpr DWORD DTS_LONGDATEFORMAT = 0x0004;
constexpr DWORD DTS_TIMEFORMAT = 0x0009;

// One control of a template.
struct DialogItem
{
    eDLGITEM kind {eDLG_STATIC};
    int id {-1};
    const char* text {""};
    int x {0};
    int y {0};
    int cx {0};
    int cy {0};
    // Kind-specific styles plus WS_* bits; WS_CHILD and WS_VISIBLE are implied unless
    // `hidden` is set.
    DWORD style {0};
    DWORD exStyle {0};
    bool hidden {false};
    bool disabled {false};
    // Hosted controls: class identifier ("{...}") or ProgID, and the initial state.
    const char* classId {nullptr};
    const char* initState {nullptr};
};

// One dialog template.
struct DialogTemplate
{
    UINT id {0};
    const char* caption {""};
    int cx {0};
    int cy {0};
    const char* fontFace {"MS Sans Serif"};
    int pointSize {8};
    DWORD style {0};
    std::vector<DialogItem> items;
    DWORD exStyle {0};
};

// One module's dialog templates, registered for as long as the object lives.
class CDialogTableRegistrar
{
public:
    CDialogTableRegistrar(HMODULE module, std::initializer_list<DialogTemplate> templates);
    ~CDialogTableRegistrar();
    CDialogTableRegistrar(const CDialogTableRegistrar&) = delete;
    CDialogTableRegistrar& operator=(const CDialogTableRegistrar&) = delete;

    HMODULE module() const { return m_module; }
    const DialogTemplate* find(UINT id) const;

private:
    HMODULE m_module {nullptr};
    std::vector<DialogTemplate> m_templates;
};

#define ZOR_DIALOG_TABLE(...)                                                                      \
    namespace {                                                                                    \
    const CDialogTableRegistrar zorModuleDialogTable(ZOR_THIS_MODULE(), __VA_ARGS__);              \
    }                                                                                              \
    static_assert(true, "")

// The template of an identifier in the module (null: the program); null when it has none.
const DialogTemplate* zorFindDialogTemplate(HMODULE module, UINT id);
// The template as the dialog layer looks it up: the current resource module, then the program.
const DialogTemplate* zorFindDialogTemplate(UINT id);

// Dialog units to pixels with the template's font (position and size each converted, as the
// platform places controls); the rectangle is left, top, right, bottom.
CRect zorDialogUnitsToPixels(const DialogTemplate& tmpl, int x, int y, int cx, int cy);
// The Qt font of the template's dialog font (the face substitution of platform/gdi).
class QFont;
QFont zorDialogFont(const DialogTemplate& tmpl);
// The pixel rectangle of a row.
CRect zorItemRect(const DialogTemplate& tmpl, const DialogItem& item);

// Creates the hosted control of a row as a child of the dialog, placed in the rectangle, with
// the row's id; returns the control's window or null. Installed by the component layer.
using ZorHostedControlFactory = CWnd* (*)(CWnd* dialog, const DialogItem& item, const CRect& rect);
ZorHostedControlFactory zorSetHostedControlFactory(ZorHostedControlFactory factory);
ZorHostedControlFactory zorHostedControlFactory();
