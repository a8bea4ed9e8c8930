#pragma once

// The graph's "Colors" page: background, scale, graph and grid colours through hosted colour
// controls.

#include "platform/ole/factory.h"
#include "platform/ole/proppage.h"

class CGraphPropPage : public COlePropertyPage
{
public:
    CGraphPropPage();
    ~CGraphPropPage() override;
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

private:
    CModuleLock m_moduleLock {ZOR_THIS_MODULE()};
};
