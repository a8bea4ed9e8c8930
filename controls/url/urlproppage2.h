#pragma once

// The link's "Colors" page: link, visited and background colours through hosted colour
// controls.

#include "platform/ole/factory.h"
#include "platform/ole/proppage.h"

class CUrlPropPage2 : public COlePropertyPage
{
public:
    CUrlPropPage2();
    ~CUrlPropPage2() override;
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

private:
    CModuleLock m_moduleLock {ZOR_THIS_MODULE()};
};
