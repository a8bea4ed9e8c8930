#pragma once

// The lists sample's dialog: a toolbar over a sortable list of a few hundred rows and a
// virtual list of a million rows, both resizing with the dialog.

#include "framework/dialogs/toolbardialog.h"
#include "framework/lists/sortlistctrl.h"
#include "framework/lists/virtuallistctrl.h"

#include <string>

// The sortable list: number, name, date, amount and code columns, each sorted by its kind.
class CSampleSortList : public CSortListCtrl
{
public:
    eSORTCTRLTYPE getColType(int column) override;
};

class CListsDialog : public CToolBarDialog
{
public:
    // With bSorted, the sortable list starts sorted by its date column, as a header click
    // would sort it.
    explicit CListsDialog(bool bSorted);

    BOOL OnInitDialog() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void createLists();
    void fillSortList();
    // Sorts a column as a left click on its header does.
    void clickHeader(int column);
    void onGetDispInfo(NMHDR* pNMHDR);
    void showMessageString(UINT nID);

    CSampleSortList m_sortList;
    CVirtualListCtrl m_virtualList;
    bool m_bSorted {false};
    bool m_bVirtualAscending {true};
    unsigned m_seed {29};
    std::string m_cell;
};
