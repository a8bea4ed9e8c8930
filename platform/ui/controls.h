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
#include "platform/ui/dialogtemplate.h"
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

class CEdit : public CWnd
{
public:
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void SetSel(int nStartChar, int nEndChar, BOOL bNoScroll = FALSE);
    void GetSel(int& nStartChar, int& nEndChar) const;
    void ReplaceSel(const char* lpszNewText);
    void SetReadOnly(BOOL bReadOnly = TRUE);
    void LimitText(int nChars);
    BOOL GetModify() const;
    void SetModify(BOOL bModified = TRUE);
};

class CStatic : public CWnd
{
public:
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    HICON SetIcon(HICON hIcon);
    HICON GetIcon() const;
};

class CButton : public CWnd
{
public:
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    int GetCheck() const;
    void SetCheck(int nCheck);
    UINT GetButtonStyle() const;
    // Makes the button the default push button (or a plain one).
    void SetButtonStyle(UINT nStyle, BOOL bRedraw = TRUE);
    // Presses the button as a click would (BN_CLICKED to the parent; check boxes toggle).
    void click();
};

class CListBox : public CWnd
{
public:
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    int AddString(const char* lpszItem);
    int InsertString(int nIndex, const char* lpszItem);
    int DeleteString(UINT nIndex);
    void ResetContent();
    // Replaces every item at once (the outage list refills a whole list this way): one reset
    // of the list's items however many there are, leaving the list as ResetContent followed by
    // AddString for each item would (nothing selected, the first item at the top, no
    // notification; with LBS_SORT the items in order).
    void ReplaceContent(const std::vector<std::string>& items);
    void ReplaceContent(std::vector<std::string>&& items);
    int GetCount() const;
    int GetText(int nIndex, std::string& rString) const;
    int GetCurSel() const;
    int SetCurSel(int nSelect);
    int FindStringExact(int nIndexStart, const char* lpszFind) const;
    // Tab stops in dialog units (the platform's default is one every 32 units).
    BOOL SetTabStops(int nTabStops, const int* rgTabStops);
    BOOL SetTabStops(int cxEachStop);
    std::vector<int> tabStops() const;
    // The width in pixels the list can scroll horizontally (0: no horizontal scroll bar).
    int GetHorizontalExtent() const;
    void SetHorizontalExtent(int cxExtent);
    int GetTopIndex() const;
    int SetTopIndex(int nIndex);
    // The horizontal scroll position in pixels.
    int GetScrollPos(int nBar) const;
    int SetScrollPos(int nBar, int nPos, BOOL bRedraw = TRUE);
    // The pixel position of the nth tab stop (0-based) as the list draws it.
    int tabStopX(int nTab) const;
};

constexpr int SB_HORZ = 0;
constexpr int SB_VERT = 1;

class CComboBox : public CWnd
{
public:
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    int AddString(const char* lpszString);
    int InsertString(int nIndex, const char* lpszString);
    int DeleteString(UINT nIndex);
    void ResetContent();
    int GetCount() const;
    int GetCurSel() const;
    int SetCurSel(int nSelect);
    void GetLBText(int nIndex, std::string& rString) const;
    int FindStringExact(int nIndexStart, const char* lpszFind) const;
    int SetItemData(int nIndex, DWORD_PTR dwItemData);
    DWORD_PTR GetItemData(int nIndex) const;
};

class CSpinButtonCtrl : public CWnd
{
public:
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void SetRange(int nLower, int nUpper);
    void SetRange32(int nLower, int nUpper) { SetRange(nLower, nUpper); }
    void GetRange(int& lower, int& upper) const;
    int SetPos(int nPos);
    int GetPos() const;
    CWnd* SetBuddy(CWnd* pWndBuddy);
    CWnd* GetBuddy() const;
    // One step up (+1) or down (-1) as the arrow buttons do: UDN_DELTAPOS first, then the
    // change unless it was cancelled.
    void step(int delta);
};

class CDateTimeCtrl : public CWnd
{
public:
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL SetTime(const COleDateTime& timeNew);
    DWORD GetTime(COleDateTime& timeDest) const;
    // The display format in the platform's letters ("mm:ss", "dd.MM.yyyy", "HH:mm").
    BOOL SetFormat(const char* pstrFormat);
    void SetRange(const COleDateTime* pMinRange, const COleDateTime* pMaxRange);
};
