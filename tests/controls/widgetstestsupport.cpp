#include "tests/controls/widgetstestsupport.h"

#include "platform/module/module.h"
#include "platform/ole/dispatchimpl.h"
#include "platform/ole/factory.h"
#include "platform/ole/oleinit.h"
#include "platform/ui/winapp.h"

#include <gtest/gtest.h>

#include <QtCore/QCoreApplication>
#include <QtCore/QElapsedTimer>

#include <cstdlib>

namespace {
constexpr UINT c_hostTemplate = 9400;
constexpr int c_hostedId = 700;
} // namespace

ZOR_DIALOG_TABLE({
    {c_hostTemplate, "Host", 300, 120, "MS Sans Serif", 8, WS_POPUP | WS_CAPTION | WS_VISIBLE, {}},
});

std::string widgetsModulePath()
{
    const char* dir = std::getenv("ZORVEX_BIN_DIR");
    std::string path;
    path.reserve(512);
    path.append(dir ? dir : ".");
    path.append("/zorwidgets29.so");
    return path;
}

HMODULE widgetsModule()
{
    static HMODULE module = LoadLibraryA(widgetsModulePath().c_str());
    return module;
}

HRESULT callEntryPoint(const char* name)
{
    auto entry = reinterpret_cast<ZorDllRegisterServer>(GetProcAddress(widgetsModule(), name));
    return entry ? entry() : E_FAIL;
}

void registerWidgets()
{
    static const HRESULT hr = [] {
        AfxOleInit();
        AfxEnableControlContainer();
        return callEntryPoint("DllRegisterServer");
    }();
    ASSERT_EQ(hr, S_OK) << zorModuleLoadError();
}

void pumpEvents()
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 30)
        QCoreApplication::processEvents();
}

CHostedControl::CHostedControl(
    const char* classId, const std::string& initState, int width, int height)
    : m_dialog(std::make_unique<CDialog>(c_hostTemplate))
{
    registerWidgets();
    if (!m_dialog->Create(c_hostTemplate))
        return;
    m_site.setEventHandler([this](DISPID dispid, const DISPPARAMS&) { events.push_back(dispid); });
    m_hr
        = m_site.create(classId, initState, m_dialog.get(), CRect(0, 0, width, height), c_hostedId);
    if (m_hr == S_OK && control())
        control()->MoveWindow(0, 0, width, height);
    pumpEvents();
}

CHostedControl::~CHostedControl()
{
    m_site.destroy();
    if (m_dialog->GetSafeHwnd())
        m_dialog->DestroyWindow();
}

COleVariant CHostedControl::get(DISPID dispid) const
{
    COleVariant value;
    EXPECT_EQ(zorGetProperty(dispatch(), dispid, &value), S_OK) << "dispid " << dispid;
    return value;
}

LONG CHostedControl::getLong(DISPID dispid) const
{
    COleVariant value = get(dispid);
    value.ChangeType(VT_I4);
    return value.lVal;
}

DWORD CHostedControl::getColor(DISPID dispid) const
{
    COleVariant value = get(dispid);
    if (value.vt == VT_UI4)
        return value.ulVal;
    value.ChangeType(VT_I4);
    return static_cast<DWORD>(value.lVal);
}

std::string CHostedControl::getText(DISPID dispid) const
{
    COleVariant value = get(dispid);
    value.ChangeType(VT_BSTR);
    return value.bstrVal;
}

HRESULT CHostedControl::put(DISPID dispid, const COleVariant& value)
{
    return zorPutProperty(dispatch(), dispid, value);
}

HRESULT CHostedControl::putColor(DISPID dispid, DWORD value)
{
    return put(dispid, colorArg(value));
}

HRESULT CHostedControl::call(DISPID dispid, std::vector<COleVariant> args)
{
    return zorInvoke(dispatch(), dispid, DISPATCH_METHOD, std::move(args));
}

QImage CHostedControl::grab()
{
    pumpEvents();
    return control()->grabClient();
}

void CHostedControl::click(int x, int y)
{
    control()->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    control()->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    pumpEvents();
}

COleVariant colorArg(DWORD value)
{
    COleVariant v;
    v.vt = VT_UI4;
    v.ulVal = value;
    return v;
}

COLORREF pixel(const QImage& image, int x, int y)
{
    const QRgb rgb = image.pixel(x, y);
    return RGB(qRed(rgb), qGreen(rgb), qBlue(rgb));
}

std::pair<int, int> columnsOf(const QImage& image, COLORREF color)
{
    int first = -1;
    int last = -1;
    for (int x = 0; x < image.width(); ++x) {
        for (int y = 0; y < image.height(); ++y) {
            if (pixel(image, x, y) == color) {
                if (first < 0)
                    first = x;
                last = x;
                break;
            }
        }
    }
    return {first, last};
}
