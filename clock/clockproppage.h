#pragma once

// The clock's "General" page: the time zone from the list of 30 zones, the foreground,
// background and shadow colours through hosted colour controls, and the Border, Digital and
// Show Date check boxes.

#include "platform/ole/factory.h"
#include "platform/ole/proppage.h"

class CClockPropPage : public COlePropertyPage
{
public:
    CClockPropPage();
    ~CClockPropPage() override;

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

private:
    // Fills the zone list and selects the row of the page's zone (none when no row has it).
    void fillZones();
    void onZoneChanged();

    CModuleLock m_moduleLock {ZOR_THIS_MODULE()};
    // One value per bound property, before the page reads the control.
    int m_zone {-1};
    int m_border {0};
    int m_digital {0};
    int m_showDate {0};
};
