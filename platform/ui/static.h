#pragma once

// A static control ("Static"): text, icon, etched frame or line. The window object is thin: the
// control keeps its state in its widget (controls_p.h).

#include "platform/ui/window.h"

class CStatic : public CWnd
{
public:
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    HICON SetIcon(HICON hIcon);
    HICON GetIcon() const;
};
