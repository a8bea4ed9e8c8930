#include "platform/ui/formview.h"

#include "platform/ui/dialogtemplate.h"

CFormView::CFormView(UINT nIDTemplate) : CDialog(nIDTemplate, nullptr) { }

CFormView::~CFormView()
{
    // The object goes first (its owner deletes it): the window goes with it, and nothing is
    // deleted a second time.
    m_bDeleteWithWindow = false;
    if (GetSafeHwnd())
        CDialog::DestroyWindow();
}

BOOL CFormView::Create(
    const char*, const char*, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID, void*)
{
    if (GetSafeHwnd() || !pParentWnd || !pParentWnd->GetSafeHwnd())
        return FALSE;
    const DialogTemplate* tmpl = zorFindDialogTemplate(m_nIDTemplate);
    if (!tmpl)
        return FALSE;
    m_pParentWnd = pParentWnd;
    if (!createFromTemplate(*tmpl, pParentWnd, true))
        return FALSE;
    SetDlgCtrlID(static_cast<int>(nID));
    const CRect place(rect);
    if (!place.IsRectEmpty())
        MoveWindow(&place, FALSE);
    if (dwStyle & WS_DISABLED)
        EnableWindow(FALSE);
    if (dwStyle & WS_VISIBLE)
        ShowWindow(SW_SHOW);
    return TRUE;
}

CSize CFormView::GetTotalSize() const
{
    const DialogTemplate* tmpl = dialogTemplate();
    if (!tmpl)
        return CSize(0, 0);
    return zorDialogUnitsToPixels(*tmpl, 0, 0, tmpl->cx, tmpl->cy).Size();
}

BOOL CFormView::DestroyWindow()
{
    m_bDeleteWithWindow = false;
    const BOOL destroyed = CDialog::DestroyWindow();
    // Deleted only now: the dialog's own clean-up after the window's end uses the object.
    if (destroyed && m_bDeleteWithWindow)
        delete this;
    return destroyed;
}

void CFormView::PostNcDestroy()
{
    m_bDeleteWithWindow = true;
}
