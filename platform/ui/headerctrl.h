#pragma once

// The header control ("SysHeader32") of a list view: one item per column with a text, a format
// and a width. An item whose format has HDF_OWNERDRAW is drawn by the window object's DrawItem
// on a CDC over the item's pixels (the header's font selected), which a derived header
// overrides; the others are drawn by the control.
//
// Notifications to the parent (the list) as WM_NOTIFY with an NMHEADER: HDN_ITEMCLICK when an
// item is clicked with any button (iButton 0 left, 1 right, 2 middle), HDN_ENDTRACK when the
// user lets go of a divider after resizing a column, HDN_DIVIDERDBLCLICK when a divider is
// double-clicked. The texts are single-byte on both sides, so each code has one value for both
// character-set names.

#include "platform/types/rect.h"
#include "platform/ui/window.h"

class CDC;

// Item fields and formats.
constexpr UINT HDI_WIDTH = 0x0001;
constexpr UINT HDI_TEXT = 0x0002;
constexpr UINT HDI_FORMAT = 0x0004;
constexpr UINT HDI_LPARAM = 0x0008;
constexpr int HDF_LEFT = 0x0000;
constexpr int HDF_RIGHT = 0x0001;
constexpr int HDF_CENTER = 0x0002;
constexpr int HDF_JUSTIFYMASK = 0x0003;
constexpr int HDF_STRING = 0x4000;
constexpr int HDF_OWNERDRAW = 0x8000;

// Notifications.
constexpr UINT HDN_FIRST = static_cast<UINT>(-300);
constexpr UINT HDN_ITEMCLICKA = HDN_FIRST - 2;
constexpr UINT HDN_ITEMCLICKW = HDN_ITEMCLICKA;
constexpr UINT HDN_ITEMCLICK = HDN_ITEMCLICKA;
constexpr UINT HDN_DIVIDERDBLCLICKA = HDN_FIRST - 5;
constexpr UINT HDN_DIVIDERDBLCLICKW = HDN_DIVIDERDBLCLICKA;
constexpr UINT HDN_DIVIDERDBLCLICK = HDN_DIVIDERDBLCLICKA;
constexpr UINT HDN_ENDTRACKA = HDN_FIRST - 7;
constexpr UINT HDN_ENDTRACKW = HDN_ENDTRACKA;
constexpr UINT HDN_ENDTRACK = HDN_ENDTRACKA;

struct HDITEM
{
    UINT mask {0};
    int cxy {0};
    char* pszText {nullptr};
    int cchTextMax {0};
    int fmt {0};
    LPARAM lParam {0};
};

struct NMHEADER
{
    NMHDR hdr;
    int iItem {-1};
    int iButton {0};
    HDITEM* pitem {nullptr};
};

// What an owner-drawn item is drawn with.
constexpr UINT ODT_HEADER = 100;
constexpr UINT ODA_DRAWENTIRE = 0x0001;
constexpr UINT ODS_SELECTED = 0x0001;

struct DRAWITEMSTRUCT
{
    UINT CtlType {ODT_HEADER};
    UINT CtlID {0};
    UINT itemID {0};
    UINT itemAction {ODA_DRAWENTIRE};
    // ODS_SELECTED while the item is pressed.
    UINT itemState {0};
    HWND hwndItem {nullptr};
    // The context to draw with, in the header's client coordinates.
    CDC* pDC {nullptr};
    RECT rcItem {};
    DWORD_PTR itemData {0};
};

class CHeaderCtrl : public CWnd
{
public:
    CHeaderCtrl();
    ~CHeaderCtrl() override;

    int GetItemCount() const;
    BOOL GetItem(int nPos, HDITEM* pHeaderItem) const;
    BOOL SetItem(int nPos, const HDITEM* pHeaderItem);
    // The item's rectangle in the header's client coordinates.
    BOOL GetItemRect(int nIndex, LPRECT lpRect) const;
    // Draws an owner-drawn item; the base draws nothing.
    virtual void DrawItem(DRAWITEMSTRUCT* lpDrawItemStruct);
};
