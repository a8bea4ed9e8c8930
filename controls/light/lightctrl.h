#pragma once

// The light: a round signal lamp in a 3-D bezel, off or on, each state in its own colour.

#include "platform/ole/control.h"
#include "platform/ole/factory.h"

class CLightCtrl : public COleControl
{
public:
    CLightCtrl();
    ~CLightCtrl() override;

    void OnDraw(CDC* pdc, const CRect& rcBounds, const CRect& rcInvalid) override;
    void DoPropExchange(CPropExchange* pPX) override;
    std::vector<CLSID> GetPropPageIDs() const override;

    // Dispatch.
    LONG GetState() const { return m_state; }
    void SetState(LONG state);
    void setStateColor(LONG a_bState, OLE_COLOR a_rgbColor);

private:
    CModuleLock m_moduleLock {ZOR_THIS_MODULE()};
    OLE_COLOR m_color {0x0000FF};
    OLE_COLOR m_colorOn {0x00FF00};
    OLE_COLOR m_background {0x0F0000FF};
    LONG m_state {0};
};
