#include "platform/ui/cmdui.h"

#include "platform/ui/controls.h"

namespace {

// The routing frame of the thread: commands and windows live on the thread of the windows.
thread_local CWnd* t_routingFrame = nullptr;

} // namespace

void CCmdUI::Enable(BOOL)
{
    m_bEnableChanged = TRUE;
}

void CCmdUI::SetCheck(int) { }

void CCmdUI::DoUpdate(CWnd* pTarget, BOOL bDisableIfNoHndler)
{
    if (!pTarget)
        return;
    m_bEnableChanged = FALSE;
    if (auto* target = dynamic_cast<CCmdUITarget*>(pTarget); target && target->OnUpdateCmdUI(this))
        return;
    // A bar's items send their commands as clicks.
    if (bDisableIfNoHndler && !m_bEnableChanged)
        Enable(pTarget->hasCommandHandler(m_nID, BN_CLICKED));
}

void CCmdUITarget::onUpdateCommandUI(UINT nID, std::function<void(CCmdUI*)> handler)
{
    m_updateHandlers[nID] = std::move(handler);
}

BOOL CCmdUITarget::OnUpdateCmdUI(CCmdUI* pCmdUI)
{
    const auto it = m_updateHandlers.find(pCmdUI->m_nID);
    if (it == m_updateHandlers.end())
        return FALSE;
    // A copy: the handler may register others.
    const auto handler = it->second;
    handler(pCmdUI);
    return TRUE;
}

CWnd* zorGetRoutingFrame()
{
    return t_routingFrame;
}

CPushRoutingFrame::CPushRoutingFrame(CWnd* pNewFrame) : m_pOldFrame(t_routingFrame)
{
    t_routingFrame = pNewFrame;
}

CPushRoutingFrame::~CPushRoutingFrame()
{
    t_routingFrame = m_pOldFrame;
}
