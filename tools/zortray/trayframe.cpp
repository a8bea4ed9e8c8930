#include "tools/zortray/trayframe.h"

#include "platform/gdi/dc.h"
#include "tools/zortray/resource.h"

#include <string>

CSampleTrayFrame::CSampleTrayFrame()
    : CTrayIconFrame("Zorvex tray sample: double click to restore", IDR_TRAYMENU, IDI_TRAY, true)
{ }

LRESULT CSampleTrayFrame::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == c_trayLeftClick) {
        ++m_clicks;
        Invalidate();
        return 0;
    }
    return CTrayIconFrame::WindowProc(message, wParam, lParam);
}

void CSampleTrayFrame::OnPaint()
{
    CPaintDC dc(this);
    dc.SetBkMode(TRANSPARENT);
    std::string line = "Minimise this window: it goes to the notification area.";
    if (m_clicks > 0)
        line += " Icon clicked " + std::to_string(m_clicks) + " time(s).";
    dc.TextOut(12, 16, line);
}
