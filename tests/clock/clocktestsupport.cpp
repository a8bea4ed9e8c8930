#include "tests/clock/clocktestsupport.h"

#include "clock/clockids.h"
#include "platform/gdi/dc.h"
#include "platform/ole/dispatchimpl.h"
#include "platform/ole/factory.h"
#include "platform/ole/oleinit.h"
#include "platform/ui/resources.h"

#include <gtest/gtest.h>

#include <QtCore/QCoreApplication>
#include <QtCore/QElapsedTimer>

#include <cstdlib>

namespace {

constexpr UINT c_hostTemplate = 9450;

HMODULE load(const char* file)
{
    const char* dir = std::getenv("ZORVEX_BIN_DIR");
    return LoadLibraryA((std::string(dir ? dir : ".") + "/" + file).c_str());
}

HRESULT registerModule(HMODULE module)
{
    auto entry
        = reinterpret_cast<ZorDllRegisterServer>(GetProcAddress(module, "DllRegisterServer"));
    return entry ? entry() : E_FAIL;
}

} // namespace

ZOR_DIALOG_TABLE({
    {c_hostTemplate, "Host", 300, 200, "MS Sans Serif", 8, WS_POPUP | WS_CAPTION | WS_VISIBLE, {}},
});

HMODULE clockModule()
{
    static HMODULE module = load("zordial29.so");
    return module;
}

void registerClock()
{
    static const HRESULT hr = [] {
        AfxOleInit();
        AfxEnableControlContainer();
        const HRESULT widgets = registerModule(load("zorwidgets29.so"));
        return FAILED(widgets) ? widgets : registerModule(clockModule());
    }();
    ASSERT_EQ(hr, S_OK) << zorModuleLoadError();
}

ZorClockTable clockTable()
{
    ZorClockTable table {};
    const std::string* bytes = zorFindData(clockModule(), c_szCosineTableType, IDR_COSINETABLE);
    EXPECT_TRUE(bytes && zorReadClockTable(*bytes, &table));
    return table;
}

void pumpEvents()
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 30)
        QCoreApplication::processEvents();
}

CHostedClock::CHostedClock(const std::string& initState, int width, int height)
    : m_dialog(std::make_unique<CDialog>(c_hostTemplate))
{
    registerClock();
    if (!m_dialog->Create(c_hostTemplate))
        return;
    m_site.setEventHandler([this](DISPID dispid, const DISPPARAMS& params) {
        ClockEvent event {dispid, {}};
        for (COleVariant arg : params.args) {
            arg.ChangeType(VT_I4);
            event.args.push_back(arg.lVal);
        }
        events.push_back(event);
    });
    const char* clsid = "{01540154-0050-0000-0029-000000000004}";
    if (m_site.create(clsid, initState, m_dialog.get(), CRect(0, 0, width, height), 700) == S_OK)
        control()->MoveWindow(0, 0, width, height);
    pumpEvents();
}

CHostedClock::~CHostedClock()
{
    m_site.destroy();
    if (m_dialog->GetSafeHwnd())
        m_dialog->DestroyWindow();
}

HRESULT CHostedClock::call(DISPID dispid, std::vector<COleVariant> args)
{
    return zorInvoke(dispatch(), dispid, DISPATCH_METHOD, std::move(args));
}

QImage CHostedClock::grab()
{
    pumpEvents();
    return control()->grabClient();
}

ZorClockLayout hostedLayout(int width, int height)
{
    CDC screen;
    const ZorClockDevice device {screen.GetDeviceCaps(HORZRES), screen.GetDeviceCaps(VERTRES),
        screen.GetDeviceCaps(HORZSIZE), screen.GetDeviceCaps(VERTSIZE)};
    // The face's font starts 8 high.
    return zorClockLayout(CRect(0, 0, width, height), 8, device);
}

void CImageClockOwner::drawOnClient(const std::function<void(CDC*)>& draw, const CRect&)
{
    CDC dc(&picture);
    draw(&dc);
    ++clientDraws;
}

COLORREF pixel(const QImage& image, const POINT& at)
{
    if (!image.valid(at.x, at.y))
        return CLR_INVALID;
    const QRgb rgb = image.pixel(at.x, at.y);
    return RGB(qRed(rgb), qGreen(rgb), qBlue(rgb));
}

int countColor(const QImage& image, const CRect& area, COLORREF color)
{
    int count = 0;
    for (int y = std::max(0, area.top); y < std::min(image.height(), area.bottom); ++y) {
        for (int x = std::max(0, area.left); x < std::min(image.width(), area.right); ++x)
            count += pixel(image, POINT {x, y}) == color ? 1 : 0;
    }
    return count;
}
