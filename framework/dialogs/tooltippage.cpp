#include "framework/dialogs/tooltippage.h"

#include "framework/dialogs/tooltipdialog_p.h"

namespace {

// Long tooltip texts of a page wrap into lines no wider than this.
constexpr int kMaxTipWidth = 200;

} // namespace

int CToolTipPage::c_bShowToolTips = 1;

CToolTipPage::CToolTipPage(UINT nIDTemplate) : CPropertyPage(nIDTemplate) { }

CToolTipPage::~CToolTipPage()
{
    if (GetSafeHwnd())
        DestroyWindow();
}

void CToolTipPage::DoDataExchange(CDataExchange*) { }

BOOL CToolTipPage::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    m_toolTip.Create(this);
    m_toolTip.SetMaxTipWidth(kMaxTipWidth);
    m_toolTip.Activate(c_bShowToolTips);
    loadToolTips(GetWindow(GW_CHILD), 0);
    return FALSE;
}

void CToolTipPage::loadToolTips(CWnd* pWndFirst, UINT nInheritedId)
{
    zorLoadToolTips(m_toolTip, pWndFirst, nInheritedId);
}

BOOL CToolTipPage::PreTranslateMessage(MSG* pMsg)
{
    if (c_bShowToolTips && pMsg->message >= WM_MOUSEFIRST && pMsg->message <= WM_MOUSELAST
        && m_toolTip.GetSafeHwnd())
        m_toolTip.RelayEvent(pMsg);
    return CPropertyPage::PreTranslateMessage(pMsg);
}

void CToolTipPage::OnDestroy()
{
    m_toolTip.DestroyWindow();
    CPropertyPage::OnDestroy();
}
