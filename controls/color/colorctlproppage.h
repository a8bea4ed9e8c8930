#pragma once

// The colour control's "Colors" page: whether the value is shown, and the default colour
// through a hosted colour control.

#include "platform/ole/factory.h"
#include "platform/ole/proppage.h"

class CColorCtlPropPage : public COlePropertyPage
{
public:
    CColorCtlPropPage();
    ~CColorCtlPropPage() override;
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

private:
    CModuleLock m_moduleLock {ZOR_THIS_MODULE()};
    int m_showHexValue {1};
};
