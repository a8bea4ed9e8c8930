#pragma once

// The colour picker: a swatch and, optionally, the colour's hexadecimal value or the name of
// the Windows system colour it refers to. A click on the swatch opens the custom colour
// dialog or the system colour list, between which the user can switch.

#include "platform/ole/control.h"
#include "platform/ole/factory.h"

// The swatch of a colour control with client rectangle `bounds`: the whole control, or, with
// the value shown, the left third inside the bevel and the margin. Painting and the click test
// both take it from here, so a click before the first paint finds the swatch.
CRect colorSwatchRect(const CRect& bounds, bool showHexValue);

class CColorCtrl : public COleControl
{
public:
    CColorCtrl();
    ~CColorCtrl() override;

    void OnDraw(CDC* pdc, const CRect& rcBounds, const CRect& rcInvalid) override;
    void DoPropExchange(CPropExchange* pPX) override;
    std::vector<CLSID> GetPropPageIDs() const override;
    void OnOcmCommand(WPARAM wParam, LPARAM lParam) override;
    void OnLButtonDown(UINT nFlags, CPoint point) override;
    void OnLButtonDblClk(UINT nFlags, CPoint point) override;
    // The control stands on a push button: Space pressed and released while it has the focus
    // clicks it, which tells the container (and so fires Click when reflected back).
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Dispatch.
    OLE_COLOR GetRGBColor() const;
    void SetRGBColor(OLE_COLOR value);
    // The colour the swatch shows.
    COLORREF shownColor() const;
    // The text beside the swatch.
    std::string shownText() const;
    CRect swatch() const;

private:
    CModuleLock m_moduleLock {ZOR_THIS_MODULE()};
    bool m_spaceDown {false};

    LONG m_showHexValue {1};
    LONG m_useWindowsColor {0};
    LONG m_windowsColorIdx {0};
    OLE_COLOR m_color {0xFFFFFF};
    // Persisted with the properties to keep the stream layout; not drawn with.
    CFontHolder m_persistedFont;
    bool m_pressed {false};
};
