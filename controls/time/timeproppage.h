#pragma once

// The time control's "General" page: text and background colours through hosted colour
// controls, the justification ("Left", "Center", "Right"), the timer switch, the interval with
// an up-down control limited to 1 to 600 seconds, and the 3-D frame. The up-time control's page
// is the same page on its own template and ids.

#include "controls/time/timepageids.h"
#include "platform/ole/factory.h"
#include "platform/ole/proppage.h"

struct ZorTypeInfo;

class CTimePropPage : public COlePropertyPage
{
public:
    CTimePropPage();
    ~CTimePropPage() override;
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

protected:
    // The page of the control type `typeInfo` on the template and ids `ids`.
    CTimePropPage(const ZorTimePageIds& ids, const ZorTypeInfo* typeInfo);

private:
    const char* name(DISPID dispid) const;

    CModuleLock m_moduleLock {ZOR_THIS_MODULE()};
    ZorTimePageIds m_ids;
    const ZorTypeInfo* m_typeInfo {nullptr};
    int m_justify {1};
    int m_useTimer {0};
    int m_timerInterval {15};
    int m_boxBorder {0};
};
