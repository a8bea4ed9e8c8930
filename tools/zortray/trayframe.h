#pragma once

// The tray sample's window: one line of text. Minimised it lives in the notification area; a
// double click on the icon or the icon menu's Restore brings it back, Exit ends the program. A
// left click on the icon is counted in the line.

#include "framework/frame/trayiconframe.h"

class CSampleTrayFrame : public CTrayIconFrame
{
public:
    CSampleTrayFrame();

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    void OnPaint() override;

private:
    int m_clicks {0};
};
