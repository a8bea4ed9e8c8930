#include "servers/zorwait29/waitbar.h"

#include "platform/gdi/syscolor.h"

#include <algorithm>

void CWaitBar::setPos(int nPos)
{
    nPos = std::clamp(nPos, 0, 100);
    if (m_nPos == nPos)
        return;
    m_nPos = nPos;
    if (GetSafeHwnd() != nullptr)
        Invalidate(FALSE);
}

CRect CWaitBar::filledRect(const CRect& client, int nPos)
{
    CRect inner = client;
    // One pixel of frame on every side.
    inner.DeflateRect(1, 1);
    if (inner.right < inner.left)
        inner.right = inner.left;
    inner.right = inner.left + inner.Width() * std::clamp(nPos, 0, 100) / 100;
    return inner;
}

void CWaitBar::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(&client, GetSysColor(COLOR_BTNSHADOW));
    CRect inner = client;
    inner.DeflateRect(1, 1);
    dc.FillSolidRect(&inner, GetSysColor(COLOR_WINDOW));
    const CRect filled = filledRect(client, m_nPos);
    if (filled.Width() > 0)
        dc.FillSolidRect(&filled, GetSysColor(COLOR_HIGHLIGHT));
}
