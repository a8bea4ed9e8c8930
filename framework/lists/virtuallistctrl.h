#pragma once

// An owner-data list with sortable headers: the list holds only the number of its items and
// asks its parent for the text of each shown cell (LVN_GETDISPINFO). A header click draws the
// arrow and tells the parent the column and direction (WM_SORTLIST_SORTED); the parent, which
// holds the items, puts them in that order.

#include "framework/lists/sortablelistctrl.h"

class CVirtualListCtrl : public CSortableListCtrl
{
public:
    // Makes the list with LVS_OWNERDATA and LVS_REPORT added to the style.
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    // Sets the number of items without repainting them all and without scrolling.
    void setItemCount(int count);
};
