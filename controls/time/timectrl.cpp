#include "controls/time/timectrl.h"

#include "controls/frame/widgetids.h"
#include "controls/frame/widgetstypelib.h"
#include "controls/time/timetext.h"
#include "platform/types/oledatetime.h"

CTimeCtrl::CTimeCtrl() : CTimeTextCtrl(zorTimeTypeInfo(), c_nTimeControl) { }

CTimeCtrl::~CTimeCtrl() = default;

std::string CTimeCtrl::drawText(LONG step)
{
    const COleDateTime now = COleDateTime::GetCurrentTime();
    return zorTimeText(now.GetHour(), now.GetMinute(), now.GetSecond(), step);
}
