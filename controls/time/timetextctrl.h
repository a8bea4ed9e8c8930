#pragma once

// The base of the time and up-time controls: one line of text on a background, optionally in a
// sunken 3-D frame, refreshed by window timer 1 every TimerInterval seconds while UseTimer is
// set. Both controls share its six properties, their exchange, the change rule (every write
// restarts the timer, marks the control modified and repaints) and the layout; each supplies
// only its text and what a timer tick does.
//
// Choices of this implementation:
// - Every instance starts its own timer at its first draw. (Sharing one start flag per control
//   type across the module would leave every instance but the first drawn without a timer until
//   one of its properties changed.) Properties loaded into a control whose window exists
//   restart its timer too, so the timer follows a loaded UseTimer.
// - TimerInterval keeps any value written to it (it reads back and persists unchanged); the
//   arithmetic uses 1 for a value below 1, so the alignment never divides by zero and the timer
//   never runs at 0 ms. The timer period is TimerInterval x 1000 ms, capped at 0x7FFFFFFF ms.
// - The text is placed inside the drawing area: within the frame when BoxBorder is set, so a
//   left- or right-justified text never covers the frame and a centred one is centred on the
//   control.

#include "platform/ole/control.h"
#include "platform/ole/factory.h"

#include <string>

class CTimeTextCtrl : public COleControl
{
public:
    ~CTimeTextCtrl() override;

    void OnDraw(CDC* pdc, const CRect& rcBounds, const CRect& rcInvalid) override;
    void DoPropExchange(CPropExchange* pPX) override;
    std::vector<CLSID> GetPropPageIDs() const override;
    void OnTimer(UINT_PTR nIDEvent) override;

    // The refresh timer's identifier.
    static constexpr UINT_PTR c_nTimerId = 1;

protected:
    // Binds the shared properties of the control type `typeInfo` (control number `control`).
    CTimeTextCtrl(const ZorTypeInfo* typeInfo, WORD control);

    // The text to draw now, with the interval step the arithmetic uses (at least 1).
    virtual std::string drawText(LONG step) = 0;
    // A tick of the refresh timer; the base repaints.
    virtual void onTick();

private:
    // Kills timer 1 and, when UseTimer is set, starts it again with the interval's period.
    void restartTimer();

    CModuleLock m_moduleLock {ZOR_THIS_MODULE()};
    WORD m_control {0};
    LONG m_useTimer {0};
    LONG m_timerInterval {15};
    LONG m_boxBorder {0};
    OLE_COLOR m_backgroundColor {0x0F000000};
    OLE_COLOR m_textColor {0x08000000};
    LONG m_justify {1};
    // Set until the first draw, which starts the timer.
    bool m_startTimer {true};
};
