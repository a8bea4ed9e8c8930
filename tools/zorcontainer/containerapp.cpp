#include "tools/zorcontainer/containerapp.h"

#include "tools/zorcontainer/containerdialog.h"
#include "tools/zorcontainer/containeroptions.h"
#include "tools/zorcontainer/controllist.h"
#include "tools/zorcontainer/resource.h"

#include <cstdio>

namespace {

CContainerApp s_theApp;

constexpr int c_allSystems = 63;

const char* const c_modules[] = {"zorbase29.dll", ""};

} // namespace

CContainerApp::CContainerApp()
    : CzorApp("Zorvex", "ZorContainer", "V1.00", c_allSystems, IDI_CONTAINER, "")
{ }

bool CContainerApp::readCommandLine(const std::vector<std::string>& words, std::string* error)
{
    return parseContainerOptions(words, &m_options, error);
}

BOOL CContainerApp::InitInstance()
{
    if (!initInstance("2002.06.11.00")) {
        m_nExitCode = 1;
        return FALSE;
    }

    if (m_options.list) {
        for (const ZorRegisteredControl& control : zorRegisteredControls())
            std::printf("%s\t%s\t%s\n", control.progId.c_str(), control.clsid.c_str(),
                control.module.c_str());
        return FALSE;
    }

    CContainerDialog dialog(m_options);
    m_pMainWnd = &dialog;
    dialog.DoModal();
    m_pMainWnd = nullptr;
    m_nExitCode = dialog.exitCode();
    return FALSE;
}

int CContainerApp::ExitInstance()
{
    CzorApp::ExitInstance();
    return m_nExitCode;
}

UINT CContainerApp::getIconId()
{
    return IDI_CONTAINER;
}

const char* const* CContainerApp::getModuleList()
{
    return c_modules;
}

std::string CContainerApp::getBuildTime()
{
    return __DATE__ " " __TIME__;
}
