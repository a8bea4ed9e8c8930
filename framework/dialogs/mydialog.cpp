#include "framework/dialogs/mydialog.h"

CMyDialog::CMyDialog(UINT nIDTemplate, CWnd* pParentWnd) : CDialog(nIDTemplate, pParentWnd) { }

BOOL CMyDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    centerDialog(this);
    return TRUE;
}

void CMyDialog::DoDataExchange(CDataExchange*) { }

void CMyDialog::centerDialog(CDialog* pDlg)
{
    CRect rc;
    pDlg->GetWindowRect(&rc);
    CRect rcWork;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &rcWork, 0);

    // Centred within the work area itself, which need not start at the screen's corner (a
    // panel along the top or left edge).
    const int x = rcWork.left + (rcWork.Width() - rc.Width()) / 2;
    const int y = rcWork.top + (rcWork.Height() - rc.Height()) / 2;
    pDlg->MoveWindow(x, y, rc.Width(), rc.Height(), TRUE);
}
