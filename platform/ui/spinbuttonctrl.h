#pragma once

// An up-down control ("msctls_updown32"): its range, position and buddy. The window object is thin:
// the control keeps its state in its widget (controls_p.h).

#include "platform/ui/window.h"

class CSpinButtonCtrl : public CWnd
{
public:
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void SetRange(int nLower, int nUpper);
    void SetRange32(int nLower, int nUpper) { SetRange(nLower, nUpper); }
    void GetRange(int& lower, int& upper) const;
    int SetPos(int nPos);
    int GetPos() const;
    CWnd* SetBuddy(CWnd* pWndBuddy);
    CWnd* GetBuddy() const;
    // One step up (+1) or down (-1) as the arrow buttons do: UDN_DELTAPOS first, then the
    // change unless it was cancelled.
    void step(int delta);
};
