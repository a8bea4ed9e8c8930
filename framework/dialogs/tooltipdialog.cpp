#include "framework/dialogs/tooltipdialog.h"

#include "framework/dialogs/tooltipdialog_p.h"
#include "platform/module/module.h"
#include "platform/ui/strings.h"

#include <string>

namespace {

// Class names are compared as the platform reports them into a buffer of 128 characters.
constexpr std::size_t kMaxClassNameLength = 127;
// The longest text a string resource holds.
constexpr int kMaxStringLength = 4097;

bool isComboBox(const CWnd* pWnd)
{
    return pWnd->GetClassName().substr(0, kMaxClassNameLength) == "ComboBox";
}

} // namespace

void zorLoadToolTips(CToolTipCtrl& toolTip, CWnd* pWndFirst, UINT nInheritedId)
{
    std::string text(kMaxStringLength, '\0');
    for (CWnd* pWnd = pWndFirst; pWnd; pWnd = pWnd->GetWindow(GW_HWNDNEXT)) {
        const UINT nID = nInheritedId ? nInheritedId : static_cast<UINT>(pWnd->GetDlgCtrlID());
        const int nLength
            = LoadStringA(AfxGetResourceHandle(), nID, text.data(), static_cast<int>(text.size()));
        if (nLength > 0)
            toolTip.AddTool(pWnd, text.substr(0, static_cast<std::size_t>(nLength)).c_str());
        if (isComboBox(pWnd))
            zorLoadToolTips(toolTip, pWnd->GetWindow(GW_CHILD), nID);
    }
}

int CToolTipDialog::c_bShowToolTips = 1;

CToolTipDialog::CToolTipDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : CDialog(nIDTemplate, pParentWnd)
{ }

CToolTipDialog::~CToolTipDialog()
{
    if (GetSafeHwnd())
        DestroyWindow();
}

void CToolTipDialog::DoDataExchange(CDataExchange*) { }

BOOL CToolTipDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_toolTip.Create(this);
    m_toolTip.Activate(c_bShowToolTips);
    loadToolTips(GetWindow(GW_CHILD), 0);
    return FALSE;
}

void CToolTipDialog::loadToolTips(CWnd* pWndFirst, UINT nInheritedId)
{
    zorLoadToolTips(m_toolTip, pWndFirst, nInheritedId);
}

BOOL CToolTipDialog::PreTranslateMessage(MSG* pMsg)
{
    if (c_bShowToolTips && pMsg->message >= WM_MOUSEFIRST && pMsg->message <= WM_MOUSELAST
        && m_toolTip.GetSafeHwnd())
        m_toolTip.RelayEvent(pMsg);
    return CDialog::PreTranslateMessage(pMsg);
}

void CToolTipDialog::OnDestroy()
{
    m_toolTip.DestroyWindow();
    CDialog::OnDestroy();
}
