#pragma once

// What the clock's tests share: zordial29 registered in the test's registry with zorwidgets29
// (whose colour and URL controls the clock's pages host), the clock hosted in a dialog with the
// events its site hears, and a face owner whose picture is an image.

#include "clock/clockgeometry.h"
#include "clock/clockowner.h"
#include "platform/ole/site.h"
#include "platform/ui/dialog.h"

#include <QtGui/QImage>

#include <memory>
#include <vector>

HMODULE clockModule();
void registerClock();
ZorClockTable clockTable();
void pumpEvents();

struct ClockEvent
{
    DISPID dispid {0};
    std::vector<long> args;
    bool operator==(const ClockEvent&) const = default;
};

class CHostedClock
{
public:
    CHostedClock(const std::string& initState, int width, int height);
    ~CHostedClock();
    COleControl* control() const { return m_site.control(); }
    IDispatch* dispatch() const { return m_site.dispatch(); }
    HRESULT call(DISPID dispid, std::vector<COleVariant> args);
    QImage grab();

    std::vector<ClockEvent> events;

private:
    std::unique_ptr<CDialog> m_dialog;
    COleControlSite m_site;
};

// The layout the control makes of a window of that size on this screen.
ZorClockLayout hostedLayout(int width, int height);

// Draws on `picture` as the client context and counts invalidations.
class CImageClockOwner : public CClockOwner
{
public:
    CImageClockOwner(int width, int height, const ZorClockDevice& device)
        : picture(width, height, QImage::Format_RGB32), device(device)
    { }
    void drawOnClient(const std::function<void(CDC*)>& draw, const CRect& area) override;
    void invalidateOwner() override { ++invalidations; }
    ZorClockDevice clientDevice() const override { return device; }

    QImage picture;
    ZorClockDevice device;
    int clientDraws {0};
    int invalidations {0};
};

// A pixel in the platform's byte order (red low; CLR_INVALID outside the image), and how many of
// a colour lie in a rectangle.
COLORREF pixel(const QImage& image, const POINT& at);
int countColor(const QImage& image, const CRect& area, COLORREF color);
