#pragma once

// The progress control's "General" page: its four colours through hosted colour controls, the
// range and the position as numbers with spin buttons, and whether a percentage shows.
//
// The percentage check box keeps the kind of percentage the control shows: applying the page
// with the box still checked leaves a ShowPercent of 2 (two decimals) as it is, and checking
// the box on a control without a percentage asks for the whole percent (1).

#include "platform/ole/factory.h"
#include "platform/ole/proppage.h"

class CProgressPropPage : public COlePropertyPage
{
public:
    CProgressPropPage();
    ~CProgressPropPage() override;
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

private:
    void exchangeShowPercent(CDataExchange* pDX);

    CModuleLock m_moduleLock {ZOR_THIS_MODULE()};
    int m_range {100};
    int m_position {0};
    LONG m_showPercent {1};
    int m_percentChecked {1};
};
