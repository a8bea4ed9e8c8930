#pragma once

// The header of a sortable list: an owner-drawn item shows the column's text and, in the
// sorted column, an arrow pointing up for an ascending sort and down for a descending one.
// The sort column and direction are told by the list and used only for drawing.

#include "platform/ui/headerctrl.h"

class CSortHeaderCtrl : public CHeaderCtrl
{
public:
    // Stores the sorted column (-1: none) and direction for the next paint.
    void setSortArrow(int nSortCol, BOOL bSortAsc);
    int sortColumn() const { return m_nSortCol; }
    BOOL sortAscending() const { return m_bSortAsc; }

    void DrawItem(DRAWITEMSTRUCT* lpDrawItemStruct) override;

    // The arrow of the sorted column in an item whose right and bottom are R and B, for a
    // w of twice a blank's width: highlight and shadow lines drawn with the two pens.
    static void drawArrow(CDC* pDC, int nRight, int nBottom, int w, BOOL bSortAsc);

private:
    int m_nSortCol {-1};
    BOOL m_bSortAsc {TRUE};
};
