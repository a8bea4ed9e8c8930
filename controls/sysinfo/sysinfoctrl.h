#pragma once

// The system information control: a short report on the machine (operating system, available
// memory, free space of the current directory and of the TEMP folder) with the current time
// and the up-time below it, refreshed every 15 seconds.
//
// The refresh timer starts at the first draw and stops with the window; a tick rebuilds the
// report and repaints. ShowTime and ShowUpTime hide the time and the up-time when cleared, as
// their names promise; while both are hidden the report is centred in the whole area instead
// of the area above the time line.

#include "platform/ole/control.h"
#include "platform/ole/factory.h"
#include "platform/types/oledatetime.h"

#include <cstdint>
#include <string>

class CSystemInfoCtrl : public COleControl
{
public:
    CSystemInfoCtrl();
    ~CSystemInfoCtrl() override;

    void OnDraw(CDC* pdc, const CRect& rcBounds, const CRect& rcInvalid) override;
    void DoPropExchange(CPropExchange* pPX) override;
    std::vector<CLSID> GetPropPageIDs() const override;
    void OnTimer(UINT_PTR nIDEvent) override;
    void OnDestroy() override;

private:
    void rebuildReport();
    void drawReport(CDC* pdc, CRect area);

    CModuleLock m_moduleLock {ZOR_THIS_MODULE()};
    OLE_COLOR m_backgroundColor {0x0F000000};
    LONG m_boxBorder {1};
    OLE_COLOR m_textColor {0x08000000};
    LONG m_showTime {1};
    LONG m_showUpTime {1};

    std::string m_report;
    COleDateTime m_time;
    std::int64_t m_upTime {0};
    bool m_bFirstDraw {true};
};
