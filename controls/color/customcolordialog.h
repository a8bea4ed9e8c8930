#pragma once

// The custom colour chooser: basic and custom colour grids, hue/saturation/luminance and
// red/green/blue fields, and a switch to the Windows system colours (button 3036, which ends
// the dialog with cancel and sets the switch flag).

#include "platform/ui/dialog.h"

class CCustomColorDialog : public CDialog
{
public:
    CCustomColorDialog(COLORREF initial, CWnd* pParent);

    INT_PTR DoModal() override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnPaint() override;
    void OnLButtonDown(UINT nFlags, CPoint point) override;

    COLORREF GetColor() const { return m_color; }
    // Set when the dialog ended through "&Use Windows System Colors".
    bool switched() const { return m_switched; }

    // The 16 custom colours the process keeps.
    static COLORREF* customColors();

private:
    void setColor(COLORREF color, bool fromHsl);
    void onRgbChange();
    void onHslChange();
    // The cell rectangles of the grids, in client coordinates.
    CRect basicCell(int index) const;
    CRect customCell(int index) const;

    COLORREF m_color {0};
    bool m_switched {false};
    bool m_updating {false};
    int m_nextCustom {0};
};
