#pragma once

// A dialog whose controls show tooltips: each control's text is the string resource with the
// control's identifier.

#include "platform/ui/dialog.h"
#include "platform/ui/runtimeclass.h"
#include "platform/ui/tooltipctrl.h"

class CToolTipDialog : public CDialog, public CObject
{
    ZOR_DECLARE_DYNAMIC(CToolTipDialog, RUNTIME_CLASS(CObject))

public:
    CToolTipDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    // Destroys a window that still exists first, so that OnDestroy of the whole dialog runs.
    ~CToolTipDialog() override;

    // Whether the tooltips of all tooltip dialogs are active. Shared by every dialog of the
    // process, as the user switches tooltips on or off for the whole program; a dialog reads
    // it once when it opens, and mouse messages are relayed only while it is non-zero.
    static int c_bShowToolTips;
    static void enableToolTips(int bEnable) { c_bShowToolTips = bEnable; }

    // Runs the base, creates the tooltip control, activates it according to c_bShowToolTips
    // and gives every control its tooltip. Returns 0.
    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

    CToolTipCtrl& toolTip() { return m_toolTip; }

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnDestroy() override;

    void loadToolTips(CWnd* pWndFirst, UINT nInheritedId);

private:
    CToolTipCtrl m_toolTip;
};
