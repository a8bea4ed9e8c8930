#pragma once

// A button ("Button"): push button, check box, radio button or group box. The window object is
// thin: the control keeps its state in its widget (controls_p.h).

#include "platform/ui/window.h"

class CButton : public CWnd
{
public:
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    int GetCheck() const;
    void SetCheck(int nCheck);
    UINT GetButtonStyle() const;
    // Makes the button the default push button (or a plain one).
    void SetButtonStyle(UINT nStyle, BOOL bRedraw = TRUE);
    // Presses the button as a click would (BN_CLICKED to the parent; check boxes toggle).
    void click();
};
