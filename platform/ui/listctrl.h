#pragma once

// The list view control ("SysListView32") in report view: columns under a header, items with
// a text per sub-item, an image index, item data and a selection state.
//
// The control is a table view over a model. An ordinary list keeps its items in the model; an
// owner-data list (LVS_OWNERDATA) keeps only their number and asks its parent for the text of a
// cell with LVN_GETDISPINFO when the cell is shown, so a list of a million items costs nothing
// until its rows come on screen. As with the other controls, the state lives in the widget and
// the window object is thin: a window object that subclasses the list finds it all there.
//
// The header is a child window of the list (CHeaderCtrl, id 0); it reports clicks, the end of
// a column resize and divider double clicks to the list with WM_NOTIFY.

#include "platform/ui/headerctrl.h"
#include "platform/ui/window.h"

#include <string>

class CFont;

// Styles.
constexpr DWORD LVS_REPORT = 0x0001;
constexpr DWORD LVS_SINGLESEL = 0x0004;
constexpr DWORD LVS_SHOWSELALWAYS = 0x0008;
constexpr DWORD LVS_OWNERDATA = 0x1000;
constexpr DWORD LVS_NOSORTHEADER = 0x8000;

// Extended styles.
constexpr DWORD LVS_EX_GRIDLINES = 0x0001;
constexpr DWORD LVS_EX_FULLROWSELECT = 0x0020;

// Column fields and formats.
constexpr UINT LVCF_FMT = 0x0001;
constexpr UINT LVCF_WIDTH = 0x0002;
constexpr UINT LVCF_TEXT = 0x0004;
constexpr UINT LVCF_SUBITEM = 0x0008;
constexpr int LVCFMT_LEFT = 0x0000;
constexpr int LVCFMT_RIGHT = 0x0001;
constexpr int LVCFMT_CENTER = 0x0002;
constexpr int LVCFMT_JUSTIFYMASK = 0x0003;

// Item fields and states.
constexpr UINT LVIF_TEXT = 0x0001;
constexpr UINT LVIF_IMAGE = 0x0002;
constexpr UINT LVIF_PARAM = 0x0004;
constexpr UINT LVIF_STATE = 0x0008;
constexpr UINT LVIS_FOCUSED = 0x0001;
constexpr UINT LVIS_SELECTED = 0x0002;

// GetNextItem relations.
constexpr int LVNI_ALL = 0x0000;
constexpr int LVNI_FOCUSED = 0x0001;
constexpr int LVNI_SELECTED = 0x0002;

// SetItemCountEx flags.
constexpr DWORD LVSICF_NOINVALIDATEALL = 0x0001;
constexpr DWORD LVSICF_NOSCROLL = 0x0002;

// Notifications to the parent.
constexpr UINT LVN_FIRST = static_cast<UINT>(-100);
constexpr UINT LVN_ITEMCHANGED = LVN_FIRST - 1;
constexpr UINT LVN_GETDISPINFOA = LVN_FIRST - 50;
constexpr UINT LVN_GETDISPINFOW = LVN_GETDISPINFOA;
constexpr UINT LVN_GETDISPINFO = LVN_GETDISPINFOA;

struct LVCOLUMN
{
    UINT mask {0};
    int fmt {LVCFMT_LEFT};
    int cx {0};
    char* pszText {nullptr};
    int cchTextMax {0};
    int iSubItem {0};
};

struct LVITEM
{
    UINT mask {0};
    int iItem {0};
    int iSubItem {0};
    UINT state {0};
    UINT stateMask {0};
    char* pszText {nullptr};
    int cchTextMax {0};
    int iImage {0};
    LPARAM lParam {0};
};

// What LVN_GETDISPINFO carries: the owner fills item.pszText (a buffer of item.cchTextMax
// bytes) with the text of item.iItem's sub-item item.iSubItem.
struct NMLVDISPINFO
{
    NMHDR hdr;
    LVITEM item;
};

// The item comparison SortItems takes: the two items' data and the caller's parameter;
// negative when the first item goes before the second.
using PFNLVCOMPARE = int (*)(LPARAM, LPARAM, LPARAM);

class CListCtrl : public CWnd
{
public:
    CListCtrl();
    ~CListCtrl() override;

    // Makes the list as a child of the parent (report view whatever the view bits say).
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // --- columns ------------------------------------------------------------------------
    int InsertColumn(int nCol, const LVCOLUMN* pColumn);
    int InsertColumn(int nCol, const char* lpszColumnHeading, int nFormat = LVCFMT_LEFT,
        int nWidth = -1, int nSubItem = -1);
    BOOL GetColumn(int nCol, LVCOLUMN* pColumn) const;
    BOOL DeleteColumn(int nCol);
    int GetColumnWidth(int nCol) const;
    BOOL SetColumnWidth(int nCol, int cx);
    CHeaderCtrl* GetHeaderCtrl() const;

    // --- items --------------------------------------------------------------------------
    int InsertItem(const LVITEM* pItem);
    int InsertItem(int nItem, const char* lpszItem);
    int InsertItem(int nItem, const char* lpszItem, int nImage);
    BOOL DeleteItem(int nItem);
    BOOL DeleteAllItems();
    BOOL SetItem(const LVITEM* pItem);
    BOOL SetItem(int nItem, int nSubItem, UINT nMask, const char* lpszItem, int nImage, UINT nState,
        UINT nStateMask, LPARAM lParam);
    BOOL GetItem(LVITEM* pItem) const;
    BOOL SetItemText(int nItem, int nSubItem, const char* lpszText);
    std::string GetItemText(int nItem, int nSubItem) const;
    DWORD_PTR GetItemData(int nItem) const;
    BOOL SetItemData(int nItem, DWORD_PTR dwData);
    int GetItemCount() const;
    // The number of items of an owner-data list. LVSICF_NOSCROLL keeps the scroll position;
    // the list never repaints more than the rows that changed.
    BOOL SetItemCountEx(int iCount, DWORD dwFlags = LVSICF_NOINVALIDATEALL);
    void SetItemCount(int nItems);

    // --- states and selection -----------------------------------------------------------
    UINT GetItemState(int nItem, UINT nMask) const;
    // nItem -1 sets the state of every item.
    BOOL SetItemState(int nItem, UINT nState, UINT nMask);
    // The next item after nItem (-1: from the first) with the relation's states, or -1.
    int GetNextItem(int nItem, int nFlags) const;
    UINT GetSelectedCount() const;

    // --- sorting, scrolling, measuring --------------------------------------------------
    // Sorts the items of an ordinary list by the comparison of their item data; FALSE for an
    // owner-data list, whose owner keeps the order. Items the comparison finds equal keep
    // their order, and a comparison that is not consistent (a > b and b > a) only gives an
    // odd order, never a fault.
    BOOL SortItems(PFNLVCOMPARE pfnCompare, DWORD_PTR dwData);
    BOOL EnsureVisible(int nItem, BOOL bPartialOK);
    int GetTopIndex() const;
    int GetCountPerPage() const;
    // The width in pixels of the text in the list's font.
    int GetStringWidth(const char* lpsz) const;
    // The list's font (the list and its header draw with it); the default is the dialog font,
    // MS Sans Serif 8 points.
    void SetFont(const CFont* pFont);
    DWORD GetExtendedStyle() const;
    DWORD SetExtendedStyle(DWORD dwNewStyle);
};
