#pragma once

// The up-time control: how long the system has been running, as " 1 day 02:03:00 " or
// " 2 days 02:03:00 " (seconds aligned down to the TimerInterval step, blanks included). The
// up-time is read when the control is created and at every timer tick, so without the timer
// the display stays at its last value. A double click does nothing.
//
// getTimeString returns the text the control drew last (empty before its first draw).

#include "controls/time/timetextctrl.h"

class CUPTimeCtrl : public CTimeTextCtrl
{
public:
    CUPTimeCtrl();
    ~CUPTimeCtrl() override;

    void OnLButtonDblClk(UINT nFlags, CPoint point) override;

    // Dispatch.
    std::string getTimeString() const { return m_timeString; }

protected:
    std::string drawText(LONG step) override;
    void onTick() override;

private:
    // Whole seconds since the system started, as last read.
    long long m_upTime {0};
    std::string m_timeString;
};
