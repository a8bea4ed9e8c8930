#pragma once

// The progress bar: the filled part drawn as a horizontal two-colour gradient with a lighter,
// tube-like centre (a solid fill on devices with at most 256 colours), optionally with the
// percentage or the position as text.
//
// Its dispatch interface is declared empty; the properties are reached by name through the
// members its dispatch implements. The gradient goes through the device context's own
// gradient fill, which this platform always has, so there is no library to look up and no
// fallback of solid bands. Colours follow the system-colour rule, except TextColor, which is
// taken as the RGB value it holds (a system-colour reference draws in the colour remembered
// with it). The colour defaults are the system colours at the time of the exchange, kept as
// plain RGB values.

#include "platform/ole/control.h"
#include "platform/ole/factory.h"

class CProgressCtl : public COleControl
{
public:
    CProgressCtl();
    ~CProgressCtl() override;

    void OnDraw(CDC* pdc, const CRect& rcBounds, const CRect& rcInvalid) override;
    void DoPropExchange(CPropExchange* pPX) override;
    std::vector<CLSID> GetPropPageIDs() const override;

private:
    // Draws the filled part; returns the rectangle the bar's text shows in TextColor.
    CRect drawBar(CDC* pdc, const CRect& bounds, double fraction);
    void drawText(CDC* pdc, const CRect& bounds, const CRect& bar);

    CModuleLock m_moduleLock {ZOR_THIS_MODULE()};
    OLE_COLOR m_foregroundColor {0};
    OLE_COLOR m_backgroundColor {0};
    LONG m_showPercent {1};
    LONG m_range {100};
    LONG m_position {0};
    OLE_COLOR m_textColor {0};
    OLE_COLOR m_foregroundColor2 {0};
    // Run-time only: not persisted.
    bool m_bShowCount {false};
    // Persisted with the properties to keep the stream layout; not drawn with.
    CFontHolder m_persistedFont;
};
