#pragma once

// A property page whose controls show tooltips, as CToolTipDialog does for dialogs; long texts
// wrap into lines of at most 200 pixels.

#include "platform/ui/dialog.h"
#include "platform/ui/runtimeclass.h"
#include "platform/ui/tooltipctrl.h"

class CToolTipPage : public CPropertyPage, public CObject
{
    ZOR_DECLARE_DYNAMIC(CToolTipPage, RUNTIME_CLASS(CObject))

public:
    explicit CToolTipPage(UINT nIDTemplate);
    // Destroys a window that still exists first, so that OnDestroy of the whole page runs.
    ~CToolTipPage() override;

    // Whether the tooltips of all tooltip pages are active; shared by every page of the
    // process, apart from the dialogs' switch.
    static int c_bShowToolTips;
    static void enableToolTips(int bEnable) { c_bShowToolTips = bEnable; }

    // As CToolTipDialog::OnInitDialog, with a maximum tip width of 200 pixels. Returns 0.
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
