#pragma once

// What the sortable list and the virtual list share: columns added in one call, items added
// by sub-item, the current selection, and sorting by a click on a column header with the
// arrow drawn in the sorted column's header item.
//
// A left click on a header item sorts that column: ascending when it is another column than
// the sorted one, the other way round when it is the same. After every sort the parent gets
// WM_SORTLIST_SORTED (column, ascending); when the user has resized a column or double-clicked
// a divider it gets WM_SORTLIST_COLUMNSIZED (0, 0). Both are posted.

#include "framework/lists/sortclass.h"
#include "framework/lists/sortheaderctrl.h"
#include "platform/ui/listctrl.h"
#include "platform/ui/message.h"

// Posted to the parent after the user resized a column or double-clicked a column divider.
constexpr UINT WM_SORTLIST_COLUMNSIZED = WM_USER + 89;
// Posted to the parent after every sort: wParam the sort column, lParam the direction
// (1 ascending).
constexpr UINT WM_SORTLIST_SORTED = WM_USER + 90;

class CSortableListCtrl : public CListCtrl
{
public:
    CSortableListCtrl();

    // A left-aligned column of the width whose sub-item number is the column.
    int addColumn(const char* text, int column, int width);
    // A column with the mask and format, as wide as its text in the list's font plus 15; with
    // LVCF_SUBITEM in the mask its sub-item number is subItem, or the column for -1.
    int AddColumn(const char* text, int column, int subItem = -1,
        int mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM, int format = LVCFMT_LEFT);
    // Sub-item 0 inserts an item, any other sets that sub-item's text of an existing item; an
    // image other than -1 is set too. The list's result: the new item's index for an insert.
    int addItem(int item, int subItem, const char* text, int image = -1);
    // The first selected item, or -1.
    int getCurSel() const;
    // Sorts by the sort column and direction (a list with no sort column keeps its order),
    // draws the arrow, and tells the parent.
    void sort();
    // The content kind of a column; text for every column unless a derived list says else.
    virtual eSORTCTRLTYPE getColType(int column);

    int sortColumn() const { return m_nSortColumn; }
    BOOL sortAscending() const { return m_bSortAscending; }
    CSortHeaderCtrl& sortHeader() { return m_ctlHeader; }

    // Takes over the list's header; done on creation, and needed again only after this object
    // subclassed a list made elsewhere.
    void subclassHeader();

protected:
    int OnCreate() override;
    void onItemClick(NMHDR* pNMHDR, LRESULT* pResult);
    void onEndTrack(NMHDR* pNMHDR, LRESULT* pResult);
    void OnDividerdblclick(NMHDR* pNMHDR, LRESULT* pResult);

    CSortHeaderCtrl m_ctlHeader;
    int m_nSortColumn {-1};
    BOOL m_bSortAscending {TRUE};
};
