#include "framework/lists/sortheaderctrl.h"

#include "platform/gdi/dc.h"
#include "platform/gdi/dcguard.h"
#include "platform/gdi/syscolor.h"

#include <vector>

void CSortHeaderCtrl::setSortArrow(int nSortCol, BOOL bSortAsc)
{
    m_nSortCol = nSortCol;
    m_bSortAsc = bSortAsc;
}

void CSortHeaderCtrl::DrawItem(DRAWITEMSTRUCT* lpDrawItemStruct)
{
    CDC* pDC = lpDrawItemStruct ? lpDrawItemStruct->pDC : nullptr;
    if (!pDC)
        return;
    const int nItem = static_cast<int>(lpDrawItemStruct->itemID);
    CRect rcItem(lpDrawItemStruct->rcItem);
    const int nSavedDC = pDC->SaveDC();

    CRgn clip;
    clip.CreateRectRgnIndirect(&rcItem);
    pDC->SelectClipRgn(&clip);
    CBrush face(GetSysColor(COLOR_3DFACE));
    pDC->FillRect(&rcItem, &face);

    const int w = pDC->GetTextExtent(std::string(" ")).cx * 2;
    if (lpDrawItemStruct->itemState == ODS_SELECTED)
        rcItem.OffsetRect(1, 2);

    std::vector<char> text(256);
    HDITEM hdi;
    hdi.mask = HDI_TEXT | HDI_FORMAT;
    hdi.pszText = text.data();
    hdi.cchTextMax = static_cast<int>(text.size());
    GetItem(nItem, &hdi);

    CRect rcLabel(rcItem);
    rcLabel.left += w;
    rcLabel.right -= w;
    if (nItem == m_nSortCol)
        rcLabel.right -= 3 * w;
    if (rcLabel.left < rcLabel.right) {
        UINT uFormat = DT_SINGLELINE | DT_NOPREFIX | DT_VCENTER | DT_END_ELLIPSIS;
        if ((hdi.fmt & HDF_JUSTIFYMASK) == HDF_CENTER)
            uFormat |= DT_CENTER;
        else if ((hdi.fmt & HDF_JUSTIFYMASK) == HDF_RIGHT)
            uFormat |= DT_RIGHT;
        else
            uFormat |= DT_LEFT;
        pDC->SetBkMode(TRANSPARENT);
        pDC->SetTextColor(GetSysColor(COLOR_BTNTEXT));
        pDC->DrawText(std::string(text.data()), &rcLabel, uFormat);
    }

    if (nItem == m_nSortCol)
        drawArrow(pDC, rcItem.right, rcItem.bottom, w, m_bSortAsc);

    pDC->RestoreDC(nSavedDC);
}

void CSortHeaderCtrl::drawArrow(CDC* pDC, int nRight, int nBottom, int w, BOOL bSortAsc)
{
    const int R = nRight;
    const int B = nBottom;
    CPen penLight(PS_SOLID, 1, GetSysColor(COLOR_3DHILIGHT));
    CPen penShadow(PS_SOLID, 1, GetSysColor(COLOR_3DSHADOW));
    CDCGuard guard(pDC);
    if (bSortAsc) {
        guard.select(&penLight);
        pDC->MoveTo(R - 2 * w, w - 1);
        pDC->LineTo(R - 3 * w / 2, B - w);
        pDC->LineTo(R - 5 * w / 2 - 2, B - w);
        guard.select(&penShadow);
        pDC->MoveTo(R - 5 * w / 2 - 1, B - w - 1);
        pDC->LineTo(R - 2 * w, w - 2);
    } else {
        guard.select(&penLight);
        pDC->MoveTo(R - 3 * w / 2, w - 1);
        pDC->LineTo(R - 2 * w - 1, B - w + 1);
        guard.select(&penShadow);
        pDC->MoveTo(R - 2 * w - 1, B - w);
        pDC->LineTo(R - 5 * w / 2 - 1, w - 1);
        pDC->LineTo(R - 3 * w / 2, w - 1);
    }
}
