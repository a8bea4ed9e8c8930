#pragma once

// The clock control: an analog (or plain digital) clock face showing the time of one fixed UTC
// offset, chosen from 30 zones independently of the machine's own zone, refreshed by window
// timer 1 every second. Below the dial it can show the long date with the 24-hour time, above
// it a caller's title, inside it "AM" or "PM". It fires its mouse events to the container.
//
// The zone's offset from the machine's local time is worked out from the machine's zone record
// when the window is created and on every Zone change, never in between.
//
// Choices of this implementation:
// - The control keeps the picture it last showed. A paint draws the face into it afresh and
//   shows it; the once-a-second move of the second hand draws on that picture (the face's
//   client context) and shows only the pixels the two hands cover.
// - Digital draws a plain digital face (see the face). Like the other face settings it is
//   handed to the face at window creation and on every change.
// - setFont takes the font record's 60 bytes as a binary text (clockfontrecord.h); a text of
//   any other length is refused with E_INVALIDARG and changes nothing.
// - setTime with a date outside the automation date's range is refused with E_INVALIDARG.
// - The stock Font is persisted and the stock font page offered; the face's texts use the
//   face's own font, which only setFont changes.

#include "clock/analogclock.h"
#include "clock/clockowner.h"
#include "platform/ole/control.h"
#include "platform/ole/factory.h"

#include <QtGui/QImage>

class CClockCtrl : public COleControl, private CClockOwner
{
public:
    CClockCtrl();
    ~CClockCtrl() override;

    void OnDraw(CDC* pdc, const CRect& rcBounds, const CRect& rcInvalid) override;
    void DoPropExchange(CPropExchange* pPX) override;
    std::vector<CLSID> GetPropPageIDs() const override;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    int OnCreate() override;
    void OnSize(UINT nType, int cx, int cy) override;
    void OnTimer(UINT_PTR nIDEvent) override;
    BOOL OnEraseBkgnd(CDC* pDC) override;
    void OnLButtonDown(UINT nFlags, CPoint point) override;
    void OnLButtonUp(UINT nFlags, CPoint point) override;
    void OnLButtonDblClk(UINT nFlags, CPoint point) override;
    void OnRButtonDown(UINT nFlags, CPoint point) override;
    void OnMouseMove(UINT nFlags, CPoint point) override;

    // Dispatch methods.
    HRESULT setTime(double a_time);
    void setTitle(const std::string& a_pTitle);
    HRESULT setFont(const std::string& a_pFont);
    void showText(LONG a_bShowText);

    // The refresh timer's identifier.
    static constexpr UINT_PTR c_nTimerId = 1;

private:
    // CClockOwner
    void drawOnClient(const std::function<void(CDC*)>& draw, const CRect& area) override;
    void invalidateOwner() override;
    ZorClockDevice clientDevice() const override;

    void OnRButtonDblClk();
    // A property that marks the control modified and hands its value to the face without
    // repainting.
    void bindQuietly(DISPID dispid, LONG& member, std::function<void()> apply);
    // The offset minutes from Zone and the machine's zone now.
    void updateOffset();
    // The time to show for a local time.
    COleDateTime zoneTime(const COleDateTime& local) const;

    CModuleLock m_moduleLock {ZOR_THIS_MODULE()};
    LONG m_digital {0};
    LONG m_showDate {1};
    OLE_COLOR m_background {0xC0C0C0};
    OLE_COLOR m_foreground {0x800000};
    OLE_COLOR m_shadow {0xFFFFFF};
    LONG m_zone {-300};
    BOOL m_border {TRUE};
    CAnalogClock m_face;
    // The stock font: persisted as "Font", never drawn with.
    CFontHolder m_font;
    LONG m_offsetMinutes {0};
    // The left button went down on the control and has not come up.
    bool m_captured {false};
    // What the window shows, and the part of it drawn on as a client context since.
    QImage m_picture;
    CRect m_clientDrawn;
};
