#pragma once

// The time control: the current local time, its seconds aligned down to the TimerInterval
// step, as " %H:%M:%S " (24-hour hours, minutes and seconds with one blank before and after,
// as the up-time control writes its text). A timer tick repaints it.

#include "controls/time/timetextctrl.h"

class CTimeCtrl : public CTimeTextCtrl
{
public:
    CTimeCtrl();
    ~CTimeCtrl() override;

protected:
    std::string drawText(LONG step) override;
};
