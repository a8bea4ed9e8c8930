#include "framework/dialogs/resizabledialog.h"

#include "framework/settings/profile.h"
#include "platform/gdi/dc.h"
#include "platform/ui/controls.h"
#include "platform/ui/resources.h"
#include "platform/ui/winapp.h"

#include <QtWidgets/QAbstractScrollArea>
#include <QtWidgets/QScrollBar>

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace {

// Class names are read as the platform reports them into a buffer of 261 characters.
constexpr std::size_t kMaxClassNameLength = 260;

// The application's settings store: the application object, when there is one and it is a
// settings store (as the application frame is); null otherwise.
CProfile* applicationStore()
{
    return dynamic_cast<CProfile*>(AfxGetApp());
}

std::string upperClassName(const CWnd* pWnd)
{
    std::string name = pWnd->GetClassName().substr(0, kMaxClassNameLength);
    std::transform(name.begin(), name.end(), name.begin(),
        [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return name;
}

// The control's rectangle in the client coordinates of its parent.
CRect childRect(const CWnd* pParent, const CWnd* pChild)
{
    CRect rc;
    pChild->GetWindowRect(&rc);
    pParent->ScreenToClient(&rc);
    return rc;
}

// How far the list box can scroll horizontally: the largest position of its horizontal scroll
// bar, which covers the extent beyond the visible width.
int horizontalScrollLimit(const CListBox* pList)
{
    const auto* area = qobject_cast<const QAbstractScrollArea*>(pList->widget());
    return area ? area->horizontalScrollBar()->maximum() : 0;
}

} // namespace

CResizableDialog::CResizableDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : CToolTipDialog(nIDTemplate, pParentWnd)
{
    construct();
}

CResizableDialog::~CResizableDialog()
{
    if (GetSafeHwnd())
        DestroyWindow();
}

void CResizableDialog::construct()
{
    m_bShowGrip = TRUE;
    m_bUseMaxTrack = FALSE;
    m_bUseMinTrack = TRUE;
    m_bUseMaxRect = FALSE;
    m_bEnableSaveRestore = FALSE;
    m_bInitDone = FALSE;
    m_nGripWidth = GetSystemMetrics(SM_CXVSCROLL);
    m_nGripHeight = GetSystemMetrics(SM_CYHSCROLL);
}

BOOL CResizableDialog::OnInitDialog()
{
    CToolTipDialog::OnInitDialog();

    placeGrip();
    CRect rc;
    GetWindowRect(&rc);
    m_szMinTrackSize = rc.Size();
    m_bInitDone = TRUE;
    updateTrackSizes();
    return TRUE;
}

void CResizableDialog::placeGrip()
{
    CRect rc;
    GetClientRect(&rc);
    m_rcGrip = CRect(rc.right - m_nGripWidth, rc.bottom - m_nGripHeight, rc.right, rc.bottom);
}

void CResizableDialog::addAnchor(UINT nID, CSize tlAnchor, CSize brAnchor)
{
    CWnd* pWnd = GetDlgItem(static_cast<int>(nID));
    Q_ASSERT(pWnd);
    if (pWnd)
        addAnchor(pWnd->GetSafeHwnd(), tlAnchor, brAnchor);
}

void CResizableDialog::addAnchor(HWND hWnd, CSize tlAnchor, CSize brAnchor)
{
    CWnd* pWnd = CWnd::FromHandle(hWnd);
    Q_ASSERT(pWnd);
    if (!pWnd)
        return;

    LayoutItem item;
    item.hWnd = hWnd;

    const std::string className = upperClassName(pWnd);
    const DWORD dwStyle = pWnd->GetStyle();
    if (className == "BUTTON") {
        // Every button kind but the plain push button (group boxes above all) clips its
        // siblings, so that a group box and its contents do not paint over each other while
        // they move.
        if (dwStyle & 0x7)
            pWnd->ModifyStyle(0, WS_CLIPSIBLINGS);
    } else if (className == "LISTBOX") {
        item.bAdjustHScroll = TRUE;
    } else if (className == "STATIC") {
        // Aligned texts are laid out for their width, so they are drawn again after a move.
        const DWORD dwType = dwStyle & SS_TYPEMASK;
        if (dwType < SS_ICON || (dwStyle & SS_CENTERIMAGE))
            item.bRepaint = TRUE;
        if (dwType == SS_SIMPLE)
            item.bRepaint = FALSE;
    }

    CRect rcClient;
    GetClientRect(&rcClient);
    const CRect rcCtrl = childRect(this, pWnd);
    if (brAnchor == anchorNone)
        brAnchor = tlAnchor;

    const CSize client = rcClient.Size();
    item.tlAnchor = tlAnchor;
    item.tlMargin = anchorMargin(client, tlAnchor, rcCtrl.TopLeft());
    item.brAnchor = brAnchor;
    item.brMargin = anchorMargin(client, brAnchor, rcCtrl.BottomRight());
    m_layout.push_back(item);
}

void CResizableDialog::arrangeLayout()
{
    InvalidateRect(&m_rcGrip);
    placeGrip();
    InvalidateRect(&m_rcGrip);

    CRect rcClient;
    GetClientRect(&rcClient);
    const CSize client = rcClient.Size();

    HDWP hdwp = BeginDeferWindowPos(static_cast<int>(m_layout.size()));
    for (LayoutItem& item : m_layout) {
        CWnd* pWnd = CWnd::FromHandle(item.hWnd);
        if (!pWnd)
            continue;
        const CRect rcOld = childRect(this, pWnd);
        const CRect rcNew(anchoredCorner(client, item.tlAnchor, item.tlMargin),
            anchoredCorner(client, item.brAnchor, item.brMargin));
        if (rcNew == rcOld)
            continue;

        if (item.bAdjustHScroll) {
            // A list box scrolled to the right whose width grows past what is left to scroll
            // shows its text shifted until it is drawn again.
            item.bRepaint = FALSE;
            if (const auto* pList = dynamic_cast<const CListBox*>(pWnd)) {
                const int nLimit = horizontalScrollLimit(pList);
                if (nLimit > 0
                    && nLimit - (rcNew.Width() - rcOld.Width()) < pList->GetScrollPos(SB_HORZ))
                    item.bRepaint = TRUE;
            }
        }
        hdwp = DeferWindowPos(hdwp, item.hWnd, nullptr, rcNew.left, rcNew.top, rcNew.Width(),
            rcNew.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    }
    EndDeferWindowPos(hdwp);

    for (const LayoutItem& item : m_layout) {
        if (!item.bRepaint)
            continue;
        if (CWnd* pWnd = CWnd::FromHandle(item.hWnd)) {
            pWnd->Invalidate();
            pWnd->UpdateWindow();
        }
    }
}

void CResizableDialog::showSizeGrip(BOOL bShow)
{
    if (m_bShowGrip == bShow)
        return;
    m_bShowGrip = bShow;
    if (GetSafeHwnd())
        InvalidateRect(&m_rcGrip);
}

void CResizableDialog::setMinTrackSize(const CSize& size)
{
    m_szMinTrackSize = size;
    m_bUseMinTrack = TRUE;
    if (GetSafeHwnd())
        updateTrackSizes();
}

void CResizableDialog::resetMinTrackSize()
{
    m_bUseMinTrack = FALSE;
    if (GetSafeHwnd())
        updateTrackSizes();
}

void CResizableDialog::setMaxTrackSize(const CSize& size)
{
    m_szMaxTrackSize = size;
    m_bUseMaxTrack = TRUE;
    if (GetSafeHwnd())
        updateTrackSizes();
}

void CResizableDialog::resetMaxTrackSize()
{
    m_bUseMaxTrack = FALSE;
    if (GetSafeHwnd())
        updateTrackSizes();
}

void CResizableDialog::setMaximizedRect(const CRect& rc)
{
    m_bUseMaxRect = TRUE;
    m_ptMaxPos = rc.TopLeft();
    m_szMaxSize = rc.Size();
    if (GetSafeHwnd())
        updateTrackSizes();
}

void CResizableDialog::resetMaximizedRect()
{
    m_bUseMaxRect = FALSE;
    if (GetSafeHwnd())
        updateTrackSizes();
}

void CResizableDialog::enableSaveRestore(const char* pszSection, const char* pszEntry)
{
    m_sSection = pszSection ? pszSection : "";
    m_sEntry = pszEntry ? pszEntry : "";
    m_bEnableSaveRestore = TRUE;
    loadWindowRect();
}

LRESULT CResizableDialog::OnNcHitTest(CPoint point)
{
    CPoint pt = point;
    ScreenToClient(&pt);
    if (m_bShowGrip && m_rcGrip.PtInRect(pt) && pt.x >= 0 && pt.y >= 0)
        return HTBOTTOMRIGHT;
    return CToolTipDialog::OnNcHitTest(point);
}

void CResizableDialog::OnGetMinMaxInfo(MINMAXINFO* lpMMI)
{
    CToolTipDialog::OnGetMinMaxInfo(lpMMI);
    if (!m_bInitDone)
        return;

    if (m_bUseMinTrack)
        lpMMI->ptMinTrackSize = POINT {m_szMinTrackSize.cx, m_szMinTrackSize.cy};
    if (m_bUseMaxTrack)
        lpMMI->ptMaxTrackSize = POINT {m_szMaxTrackSize.cx, m_szMaxTrackSize.cy};
    if (m_bUseMaxRect) {
        lpMMI->ptMaxPosition = m_ptMaxPos;
        lpMMI->ptMaxSize = POINT {m_szMaxSize.cx, m_szMaxSize.cy};
    }
}

void CResizableDialog::OnSize(UINT nType, int cx, int cy)
{
    CToolTipDialog::OnSize(nType, cx, cy);

    // Another window was maximised or restored: this one kept its size.
    if (nType == SIZE_MAXHIDE || nType == SIZE_MAXSHOW)
        return;
    if (m_bInitDone)
        arrangeLayout();
}

void CResizableDialog::OnPaint()
{
    CPaintDC dc(this);
    if (m_bShowGrip && !IsZoomed())
        DrawFrameControl(&dc, &m_rcGrip, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
}

void CResizableDialog::OnDestroy()
{
    CToolTipDialog::OnDestroy();
    if (m_bEnableSaveRestore)
        saveWindowRect();

    // The controls go with the window: a dialog created again from this object registers its
    // new controls afresh.
    m_layout.clear();
    m_bInitDone = FALSE;
}

void CResizableDialog::saveWindowRect()
{
    CProfile* pStore = applicationStore();
    if (!pStore)
        return;

    WINDOWPLACEMENT wp;
    if (!GetWindowPlacement(&wp))
        return;
    // The normal show state whatever the state was, so a dialog closed maximised or
    // minimised opens normal again.
    char text[96];
    std::snprintf(text, sizeof text, "%d,%d,%d,%d,%d,%d",
        static_cast<int>(wp.rcNormalPosition.left), static_cast<int>(wp.rcNormalPosition.top),
        static_cast<int>(wp.rcNormalPosition.right), static_cast<int>(wp.rcNormalPosition.bottom),
        SW_SHOWNORMAL, static_cast<int>(wp.flags));
    pStore->putChars(eKEY_CURRENT_USER, m_sSection, m_sEntry, text);
}

void CResizableDialog::loadWindowRect()
{
    CProfile* pStore = applicationStore();
    if (!pStore)
        return;

    const std::string text = pStore->getString(eKEY_CURRENT_USER, m_sSection, m_sEntry, "");
    if (text.empty())
        return;

    WINDOWPLACEMENT wp;
    if (!GetWindowPlacement(&wp))
        return;
    int left = 0, top = 0, right = 0, bottom = 0, showCmd = 0, flags = 0;
    if (std::sscanf(
            text.c_str(), "%d,%d,%d,%d,%d,%d", &left, &top, &right, &bottom, &showCmd, &flags)
        != 6)
        return;
    wp.rcNormalPosition = RECT {left, top, right, bottom};
    wp.showCmd = static_cast<UINT>(showCmd);
    wp.flags = static_cast<UINT>(flags);
    SetWindowPlacement(&wp);
}
