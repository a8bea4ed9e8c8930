#pragma once

// A resizable dialog with a toolbar along its top (CToolBarDialog), and the toolbar that
// updates its buttons through its dialog (CMyToolBar).
//
// With a toolbar resource, the dialog creates the bar when it initialises, with tooltips and
// fly-by help. "Make room": the bar's height is added to the dialog and every control moves
// down by it, so a template laid out without the bar keeps its layout below it; without make
// room the bar covers the top of the dialog's controls.
//
// While the dialog runs modally, each idle moment of its loop updates the bar's buttons against
// the dialog: a derived dialog registers command handlers (onCommand with BN_CLICKED) and
// update handlers (onUpdateCommandUI) for its buttons, and a button that has neither is
// disabled.
//
// A button's tooltip is the part after the first line break of the string resource of its
// command identifier (the whole string when it has no line break), cut to the 79 characters
// the notification's text field holds before its terminating 0.

#include "framework/dialogs/resizabledialog.h"
#include "platform/ui/cmdui.h"
#include "platform/ui/toolbar.h"

class CMyToolBar : public CToolBar
{
public:
    // Updates the buttons against the parent dialog when the bar is visible; returns 0.
    LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam) override;
};

class CToolBarDialog : public CResizableDialog, public CCmdUITarget
{
public:
    // The dialog has no parent window.
    CToolBarDialog(UINT nIDTemplate, UINT nIDToolBar, bool bMakeRoom);
    ~CToolBarDialog() override;

    // Initialises the resizable dialog, then creates the bar, makes room for it and places it.
    // Returns 1.
    BOOL OnInitDialog() override;
    // Runs the dialog modally with the idle update of the bar.
    INT_PTR DoModal() override;
    // Each idle moment of the modal loop: the bar's update pass (WM_IDLEUPDATECMDUI with 1).
    // TRUE while the dialog runs modally.
    virtual BOOL ContinueModal();

    // Answers the bar's tooltip requests (TTN_NEEDTEXTA and TTN_NEEDTEXTW); FALSE, doing
    // nothing, while a frame routes commands.
    BOOL onToolTipText(UINT id, NMHDR* pNMHDR, LRESULT* pResult);

    CMyToolBar& toolBar() { return m_toolBar; }
    UINT toolBarId() const { return m_nIDToolBar; }
    bool makesRoom() const { return m_bMakeRoom; }

protected:
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    // Paints the client area with the 3-d face colour, then erases as every window does.
    BOOL OnEraseBkgnd(CDC* pDC) override;

private:
    void makeRoom();

    CMyToolBar m_toolBar;
    UINT m_nIDToolBar {0};
    bool m_bMakeRoom {false};
};
