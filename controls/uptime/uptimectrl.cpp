#include "controls/uptime/uptimectrl.h"

#include "controls/frame/widgetids.h"
#include "controls/frame/widgetstypelib.h"
#include "controls/time/timetext.h"
#include "controls/uptime/uptimesource.h"

CUPTimeCtrl::CUPTimeCtrl()
    : CTimeTextCtrl(zorUpTimeTypeInfo(), c_nUpTimeControl), m_upTime(zorSystemUpTime())
{
    addDeclaredMethod(eUPTIME_GETTIMESTRING, [this](const DISPPARAMS&, COleVariant* result) {
        if (result)
            *result = COleVariant(getTimeString());
        return S_OK;
    });
}

CUPTimeCtrl::~CUPTimeCtrl() = default;

void CUPTimeCtrl::OnLButtonDblClk(UINT, CPoint) { }

void CUPTimeCtrl::onTick()
{
    m_upTime = zorSystemUpTime();
    CTimeTextCtrl::onTick();
}

std::string CUPTimeCtrl::drawText(LONG step)
{
    m_timeString = zorUpTimeText(m_upTime, step);
    return m_timeString;
}
