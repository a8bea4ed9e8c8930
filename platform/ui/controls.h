#pragma once

// The standard controls a dialog template makes, each a CWnd over a Qt widget, and the
// notifications they send to their parent dialog.
//
// | kind        | class name          | widget         | notifications                         |
// |-------------|---------------------|----------------|---------------------------------------|
// | edit        | "Edit"              | QLineEdit (QPlainTextEdit for ES_MULTILINE) | EN_SETFOCUS,
// EN_KILLFOCUS, EN_CHANGE (also for SetWindowText, as on the platform) | | static      | "Static"
// | a label drawn with the dialog font; SS_ICON an icon; etched frames and lines | STN_CLICKED with
// SS_NOTIFY | | button      | "Button"            | QPushButton / QCheckBox / QRadioButton /
// QGroupBox | BN_CLICKED | | list box    | "ListBox"           | QListView; LBS_USETABSTOPS
// expands tabs to the tab stops | LBN_SELCHANGE, LBN_DBLCLK with LBS_NOTIFY | | combo box   |
// "ComboBox"          | QComboBox (editable for CBS_DROPDOWN: its edit child is "Edit") |
// CBN_SELCHANGE, CBN_EDITCHANGE | | up-down     | "msctls_updown32"   | two arrow buttons |
// WM_NOTIFY UDN_DELTAPOS before a change (a non-zero result cancels it), then WM_VSCROLL; with
// UDS_SETBUDDYINT the buddy's text becomes the new number | | date-time   | "SysDateTimePick32" |
// QDateTimeEdit | WM_NOTIFY DTN_DATETIMECHANGE after a user change |
//
// The controls' texts are the suite's single-byte texts; the dialog font is the template's.

#include "platform/types/oledatetime.h"
#include "platform/ui/button.h"
#include "platform/ui/combobox.h"
#include "platform/ui/datetimectrl.h"
#include "platform/ui/dialogtemplate.h"
#include "platform/ui/edit.h"
#include "platform/ui/listbox.h"
#include "platform/ui/spinbuttonctrl.h"
#include "platform/ui/static.h"
#include "platform/ui/window.h"

#include <string>
#include <vector>

class QWidget;

// Notification codes.
constexpr UINT BN_CLICKED = 0;
constexpr UINT BN_DOUBLECLICKED = 5;
constexpr UINT EN_SETFOCUS = 0x0100;
constexpr UINT EN_KILLFOCUS = 0x0200;
constexpr UINT EN_CHANGE = 0x0300;
constexpr UINT EN_UPDATE = 0x0400;
constexpr UINT STN_CLICKED = 0;
constexpr UINT LBN_SELCHANGE = 1;
constexpr UINT LBN_DBLCLK = 2;
constexpr UINT CBN_SELCHANGE = 1;
constexpr UINT CBN_DBLCLK = 2;
constexpr UINT CBN_SETFOCUS = 3;
constexpr UINT CBN_KILLFOCUS = 4;
constexpr UINT CBN_EDITCHANGE = 5;
constexpr UINT CBN_DROPDOWN = 7;
constexpr UINT CBN_CLOSEUP = 8;
constexpr UINT CBN_SELENDOK = 9;
constexpr UINT UDN_DELTAPOS = static_cast<UINT>(-722);
constexpr UINT DTN_DATETIMECHANGE = static_cast<UINT>(-759);

// Check states.
constexpr UINT BST_UNCHECKED = 0;
constexpr UINT BST_CHECKED = 1;
constexpr UINT BST_INDETERMINATE = 2;

// List and combo results.
constexpr int LB_ERR = -1;
constexpr int CB_ERR = -1;

// Date-time picker results.
constexpr DWORD GDT_VALID = 0;
constexpr DWORD GDT_NONE = 1;

// What UDN_DELTAPOS carries.
struct NMUPDOWN
{
    NMHDR hdr;
    int iPos {0};
    int iDelta {0};
};

// What DTN_DATETIMECHANGE carries.
struct NMDATETIMECHANGE
{
    NMHDR nmhdr;
    DWORD dwFlags {GDT_VALID};
};

// Makes the control of a template row as a child of the dialog at the pixel rectangle, with
// the dialog's font; returns its window object (owned by the caller). A hosted-control row
// gives an empty placeholder of class "ZorHostedSite".
CWnd* zorCreateControl(
    CWnd* dialog, const DialogTemplate& tmpl, const DialogItem& item, const CRect& rect);

// The standard controls' own window procedure for their text: WM_SETTEXT and WM_GETTEXT
// answered from the control's widget, whichever window object owns it now (the one the dialog
// made, or one that subclassed it). True when the window is a standard control (or an edit box
// the suite did not make, such as a combo box's) and the message was answered.
bool zorControlWindowProc(CWnd* wnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
