#include "servers/zorwait29/waitdialog.h"

#include "platform/module/module.h"
#include "platform/ui/controls.h"
#include "servers/zorwait29/resource.h"

CWaitDialog::~CWaitDialog()
{
    if (m_bar.GetSafeHwnd() != nullptr)
        m_bar.DestroyWindow();
    if (GetSafeHwnd() != nullptr)
        DestroyWindow();
}

BOOL CWaitDialog::createWait(CWnd* pOwner, HICON icon)
{
    m_icon = icon;
    // The template is this module's, whichever module is current for the caller.
    const DialogTemplate* tmpl = zorFindDialogTemplate(ZOR_THIS_MODULE(), IDD_WAIT);
    if (tmpl == nullptr)
        return FALSE;
    return CreateIndirect(*tmpl, pOwner);
}

BOOL CWaitDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (auto* iconWnd = dynamic_cast<CStatic*>(GetDlgItem(IDC_WAIT_ICON)))
        iconWnd->SetIcon(m_icon);
    const CRect bar = MapDialogRect(CRect(36, 30, 193, 40));
    m_bar.CreateEx(0, "zorWaitBar", "", WS_CHILD | WS_VISIBLE, bar, this, IDC_WAIT_BAR);
    return TRUE;
}

void CWaitDialog::setText(const std::string& text)
{
    SetDlgItemText(IDC_WAIT_TEXT, text.c_str());
}

void CWaitDialog::setProgress(int nPos)
{
    m_bar.setPos(nPos);
}
