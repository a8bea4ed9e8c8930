#include "tools/zorsample/sampleapp.h"

#include "tools/zorsample/resource.h"
#include "tools/zorsample/sampledialog.h"

namespace {

// The one application object, made before start-up as every program of the suite makes it.
CSampleApp s_theApp;

// The sample runs on every system the suite runs on.
constexpr int c_allSystems = 63;

// The modules the sample stands on, tested at start.
const char* const c_modules[] = {"zorbase29.dll", ""};

} // namespace

// The sample has no readme page: its readme address is empty, so the first run opens nothing
// and the Web Site command does nothing.
CSampleApp::CSampleApp() : CzorApp("Zorvex", "ZorSample", "V1.00", c_allSystems, IDI_SAMPLE, "") { }

BOOL CSampleApp::InitInstance()
{
    if (!initInstance("2002.06.11.00"))
        return FALSE;

    CSampleDialog dialog;
    m_pMainWnd = &dialog;
    dialog.DoModal();
    m_pMainWnd = nullptr;
    // The dialog was the whole program.
    return FALSE;
}

UINT CSampleApp::getIconId()
{
    return IDI_SAMPLE;
}

const char* const* CSampleApp::getModuleList()
{
    return c_modules;
}

std::string CSampleApp::getBuildTime()
{
    return __DATE__ " " __TIME__;
}
