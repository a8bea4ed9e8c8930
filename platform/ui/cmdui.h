#pragma once

// Command user-interface updates and command routing.
//
// A bar of command items (the toolbar's buttons) keeps the state of each item up to date by
// asking a command target about it: for every item a CCmdUI names the command identifier, and
// the target's update handler for that identifier enables, disables or checks the item. A
// target that has no update handler for an item but handles the command itself leaves the item
// enabled; with "disable if no handler" an item nobody handles is disabled.
//
// The pass runs when the owner is idle: the owner sends WM_IDLEUPDATECMDUI to the bar, and the
// bar updates its items against its target.
//
// A frame that routes commands to its views and bars marks itself as the routing frame for the
// time it does so (CPushRoutingFrame); windows that would answer a request themselves when no
// frame routes (a dialog answering its toolbar's tooltip requests) look at zorGetRoutingFrame.

#include "platform/ui/window.h"

#include <functional>
#include <map>

// The idle pass of a bar's items (wParam: non-zero to disable items nobody handles).
constexpr UINT WM_IDLEUPDATECMDUI = 0x0363;
// The help text of a command for a status line (wParam: the command identifier; the idle
// text's identifier AFX_IDS_IDLEMESSAGE when the pointer leaves the item).
constexpr UINT WM_SETMESSAGESTRING = 0x0362;
constexpr UINT AFX_IDS_IDLEMESSAGE = 0xE001;

// One command item during an update pass.
class CCmdUI
{
public:
    virtual ~CCmdUI() = default;

    UINT m_nID {0};
    // The item's place in its bar, and the number of items.
    UINT m_nIndex {0};
    UINT m_nIndexMax {0};
    // The bar the item is on.
    CWnd* m_pOther {nullptr};

    virtual void Enable(BOOL bOn = TRUE);
    // 0 unchecked, 1 checked, 2 indeterminate.
    virtual void SetCheck(int nCheck = 1);

    // Asks the target about the item (see above).
    void DoUpdate(CWnd* pTarget, BOOL bDisableIfNoHndler);

    // Whether the last pass changed the enabled state (Enable was called).
    BOOL m_bEnableChanged {FALSE};
};

// A window that answers command-interface updates: one handler per command identifier.
class CCmdUITarget
{
public:
    virtual ~CCmdUITarget() = default;

    void onUpdateCommandUI(UINT nID, std::function<void(CCmdUI*)> handler);
    // Runs the handler registered for the item's identifier; TRUE when one ran.
    virtual BOOL OnUpdateCmdUI(CCmdUI* pCmdUI);

private:
    std::map<UINT, std::function<void(CCmdUI*)>> m_updateHandlers;
};

// The frame routing the current command, or null when none does.
CWnd* zorGetRoutingFrame();

// Marks a frame as routing for the scope's lifetime (scopes nest).
class CPushRoutingFrame
{
public:
    explicit CPushRoutingFrame(CWnd* pNewFrame);
    ~CPushRoutingFrame();
    CPushRoutingFrame(const CPushRoutingFrame&) = delete;
    CPushRoutingFrame& operator=(const CPushRoutingFrame&) = delete;

private:
    CWnd* m_pOldFrame {nullptr};
};
