#pragma once

// A date-time picker ("SysDateTimePick32"): its value, format and range. The window object is thin:
// the control keeps its state in its widget (controls_p.h).

#include "platform/types/oledatetime.h"
#include "platform/ui/window.h"

class CDateTimeCtrl : public CWnd
{
public:
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL SetTime(const COleDateTime& timeNew);
    DWORD GetTime(COleDateTime& timeDest) const;
    // The display format in the platform's letters ("mm:ss", "dd.MM.yyyy", "HH:mm").
    BOOL SetFormat(const char* pstrFormat);
    void SetRange(const COleDateTime* pMinRange, const COleDateTime* pMaxRange);
};
