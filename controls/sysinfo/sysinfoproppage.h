#pragma once

// The system information control's "General" page: the frame, whether the time and the
// up-time show, and the background and text colours through hosted colour controls.

#include "platform/ole/factory.h"
#include "platform/ole/proppage.h"

class CSystemInfoPropPage : public COlePropertyPage
{
public:
    CSystemInfoPropPage();
    ~CSystemInfoPropPage() override;
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

private:
    CModuleLock m_moduleLock {ZOR_THIS_MODULE()};
    int m_boxBorder {1};
    int m_showTime {1};
    int m_showUpTime {1};
};
