#include "framework/dialogs/toolbardialog.h"

#include "platform/gdi/dcguard.h"
#include "platform/gdi/fonts.h"
#include "platform/gdi/gdiobjects.h"
#include "platform/gdi/syscolor.h"
#include "platform/module/module.h"
#include "platform/ui/strings.h"

#include <QtCore/QAbstractEventDispatcher>
#include <QtCore/QObject>
#include <QtWidgets/QWidget>

#include <algorithm>
#include <cstring>
#include <string>

namespace {

// The string resource is read into a buffer of this many characters.
constexpr int c_maxFullText = 256;

// The tip of a command: the part after the first line break of its string resource.
std::string toolTipOf(UINT nID)
{
    char full[c_maxFullText] = {};
    LoadStringA(AfxGetResourceHandle(), nID, full, c_maxFullText);
    std::string tip = full;
    if (const std::size_t lineBreak = tip.find('\n'); lineBreak != std::string::npos)
        tip.erase(0, lineBreak + 1);
    return tip;
}

} // namespace

// --- CMyToolBar ----------------------------------------------------------------------------

LRESULT CMyToolBar::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM)
{
    if (IsWindowVisible()) {
        // The parent is a dialog, not a frame: it is the buttons' command target.
        if (CWnd* pParent = GetParent())
            OnUpdateCmdUI(pParent, static_cast<BOOL>(wParam));
    }
    return 0;
}

// --- CToolBarDialog ------------------------------------------------------------------------

CToolBarDialog::CToolBarDialog(UINT nIDTemplate, UINT nIDToolBar, bool bMakeRoom)
    : CResizableDialog(nIDTemplate, nullptr), m_nIDToolBar(nIDToolBar), m_bMakeRoom(bMakeRoom)
{ }

CToolBarDialog::~CToolBarDialog()
{
    if (GetSafeHwnd())
        DestroyWindow();
}

BOOL CToolBarDialog::OnInitDialog()
{
    CResizableDialog::OnInitDialog();
    if (m_nIDToolBar == 0)
        return TRUE;

    if (!m_toolBar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_TOP, AFX_IDW_TOOLBAR))
        return TRUE;
    if (!m_toolBar.LoadToolBar(m_nIDToolBar)) {
        // An empty bar would only take room.
        m_toolBar.DestroyWindow();
        return TRUE;
    }
    m_toolBar.SetBarStyle(m_toolBar.GetBarStyle() | CBRS_TOOLTIPS | CBRS_FLYBY);

    if (m_bMakeRoom)
        makeRoom();
    RepositionBars(this, AFX_IDW_CONTROLBAR_FIRST, AFX_IDW_CONTROLBAR_LAST, 0);
    return TRUE;
}

void CToolBarDialog::makeRoom()
{
    CRect rcClientStart;
    GetClientRect(&rcClientStart);
    CRect rcClientNow;
    RepositionBars(
        this, AFX_IDW_CONTROLBAR_FIRST, AFX_IDW_CONTROLBAR_LAST, 0, reposQuery, &rcClientNow);

    // Every child moves by where the remaining area starts.
    const CPoint ptOffset(
        rcClientNow.left - rcClientStart.left, rcClientNow.top - rcClientStart.top);
    for (CWnd* pChild = GetWindow(GW_CHILD); pChild; pChild = pChild->GetWindow(GW_HWNDNEXT)) {
        CRect rcChild;
        pChild->GetWindowRect(&rcChild);
        ScreenToClient(&rcChild);
        rcChild.OffsetRect(ptOffset.x, ptOffset.y);
        pChild->MoveWindow(&rcChild, FALSE);
    }

    // The dialog grows by what the bar took.
    CRect rcWindow;
    GetWindowRect(&rcWindow);
    rcWindow.right += rcClientStart.Width() - rcClientNow.Width();
    rcWindow.bottom += rcClientStart.Height() - rcClientNow.Height();
    // The tracking sizes taken at initialisation would hold the dialog at its old size.
    if (QWidget* w = widget()) {
        w->setMinimumSize(0, 0);
        w->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    }
    MoveWindow(&rcWindow, FALSE);
    // Smaller than this, the controls below the bar would be cut.
    setMinTrackSize(rcWindow.Size());
}

INT_PTR CToolBarDialog::DoModal()
{
    // Each time the modal loop has handled what was waiting and is about to wait, the dialog
    // is idle.
    QObject idle;
    if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance()) {
        QObject::connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, &idle, [this] {
            if (isModal() && GetSafeHwnd())
                ContinueModal();
        });
    }
    return CResizableDialog::DoModal();
}

BOOL CToolBarDialog::ContinueModal()
{
    if (isModal() && m_toolBar.GetSafeHwnd())
        m_toolBar.SendMessage(WM_IDLEUPDATECMDUI, TRUE, 0);
    return isModal();
}

BOOL CToolBarDialog::onToolTipText(UINT, NMHDR* pNMHDR, LRESULT* pResult)
{
    if (!pNMHDR || zorGetRoutingFrame())
        return FALSE;
    const bool wide = pNMHDR->code == TTN_NEEDTEXTW;
    auto* pTTTA = reinterpret_cast<TOOLTIPTEXTA*>(pNMHDR);
    auto* pTTTW = reinterpret_cast<TOOLTIPTEXTW*>(pNMHDR);

    UINT_PTR nID = pNMHDR->idFrom;
    if ((wide ? pTTTW->uFlags : pTTTA->uFlags) & TTF_IDISHWND) {
        // The tool is a window: its control identifier names the text.
        const CWnd* pTool = CWnd::FromHandle(reinterpret_cast<HWND>(nID));
        nID = pTool ? static_cast<UINT_PTR>(pTool->GetDlgCtrlID()) : 0;
    }
    const std::string tip = nID != 0 ? toolTipOf(static_cast<UINT>(nID)) : std::string();

    if (wide) {
        const std::u16string text = zorFromCodePage(tip).toStdU16String();
        const std::size_t count = std::min(text.size(), std::size(pTTTW->szText) - 1);
        std::copy_n(text.begin(), count, pTTTW->szText);
        pTTTW->szText[count] = u'\0';
    } else {
        const std::size_t count = std::min(tip.size(), sizeof pTTTA->szText - 1);
        std::memcpy(pTTTA->szText, tip.data(), count);
        pTTTA->szText[count] = '\0';
    }
    if (pResult)
        *pResult = 0;
    // The tip shows above every other window, where it is, at its size.
    if (CWnd* pTip = CWnd::FromHandle(pNMHDR->hwndFrom))
        pTip->SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOACTIVATE | SWP_NOSIZE | SWP_NOMOVE);
    return TRUE;
}

BOOL CToolBarDialog::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    if (header && (header->code == TTN_NEEDTEXTA || header->code == TTN_NEEDTEXTW)
        && onToolTipText(0, header, pResult))
        return TRUE;
    return CResizableDialog::OnNotify(wParam, lParam, pResult);
}

BOOL CToolBarDialog::OnEraseBkgnd(CDC* pDC)
{
    if (pDC) {
        CRect rc;
        GetClientRect(&rc);
        CBrush brush(GetSysColor(COLOR_3DFACE));
        CDCGuard guard(pDC);
        guard.select(&brush);
        pDC->Rectangle(&rc);
    }
    return CResizableDialog::OnEraseBkgnd(pDC);
}
