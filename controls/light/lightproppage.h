#pragma once

// The light's "General" page: its off, background and on colours through hosted colour
// controls.

#include "platform/ole/factory.h"
#include "platform/ole/proppage.h"

class CLightPropPage : public COlePropertyPage
{
public:
    CLightPropPage();
    ~CLightPropPage() override;
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

private:
    CModuleLock m_moduleLock {ZOR_THIS_MODULE()};
};
