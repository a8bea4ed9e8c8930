#pragma once

// Sorting a list's items by the text of one column.
//
// While a CSortClass lives, each item's data of the list is replaced by a pair of the data it
// had and the text of the sort column, so that the list's comparison sees the texts; the
// destructor puts every item's data back. The comparison knows five kinds of column content;
// the sign of its parameter carries the direction.

#include "platform/ui/listctrl.h"

#include <string>
#include <vector>

enum eSORTCTRLTYPE {
    // Whole numbers: their decimal values.
    eSORT_INT = 1,
    // Text, case-insensitive.
    eSORT_TEXT = 2,
    // Dates and times in the user's default locale; never equal; a text that is no date
    // compares equal to anything.
    eSORT_DATE = 3,
    // Decimal fractions; equal values count as greater.
    eSORT_DEC = 4,
    // Hexadecimal numbers.
    eSORT_HEX = 5,
};

class CSortClass
{
public:
    // Replaces every item's data with its pair. An owner-data list holds no items of its own
    // and is left alone.
    CSortClass(CListCtrl* pList, int nCol);
    virtual ~CSortClass();
    CSortClass(const CSortClass&) = delete;
    CSortClass& operator=(const CSortClass&) = delete;

    void Sort(BOOL bAsc, eSORTCTRLTYPE eType);

    // The list's comparison of two pairs: the result of the kind's comparison of their texts
    // times the sign of lParamSort, whose absolute value is the kind.
    static int Compare(LPARAM lParam1, LPARAM lParam2, LPARAM lParamSort);

    // The comparison of two texts by kind (ascending); a plain function for the benchmark and
    // the tests.
    static int compareTexts(const char* text1, const char* text2, int kind);

private:
    struct CSortItem
    {
        DWORD_PTR dwItemData {0};
        std::string txtItem;
    };

    CListCtrl* m_pList {nullptr};
    int m_nCol {0};
    // The pairs, one per item in the order the items had when the sort began; each item's data
    // points at its pair.
    std::vector<CSortItem> m_items;
};
