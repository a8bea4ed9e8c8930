#include "framework/lists/virtuallistctrl.h"

BOOL CVirtualListCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CSortableListCtrl::Create(dwStyle | LVS_OWNERDATA | LVS_REPORT, rect, pParentWnd, nID);
}

void CVirtualListCtrl::setItemCount(int count)
{
    SetItemCountEx(count, LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
}
