#include "framework/frame/zorapp.h"

#include "framework/diagnostics/diagnostics.h"
#include "framework/version/fileversion.h"
#include "framework/version/moduleversion.h"
#include "platform/ole/dispatchimpl.h"
#include "platform/ole/factory.h"
#include "platform/ole/oleinit.h"
#include "platform/shell/htmlhelp.h"
#include "platform/shell/shellexecute.h"

#include <cstdint>

#include <sys/stat.h>

namespace {

// The readme flag.
constexpr const char* c_optionsSection = "Options";
constexpr const char* c_readmeValue = "Readme";

// The start-up timer's delay: the readme opens a moment after the main window.
constexpr UINT c_readmeDelayMs = 1000;

// The outside about box.
constexpr const char* c_aboutServerId = "zorAboutServer.29";

// The about server's methods: the module list, then the box.
constexpr DISPID c_aboutShow = 1;
constexpr DISPID c_aboutModules = 2;

// Asks the shell to "open" the address in a normal window; true when the desktop's handler was
// started.
bool shellOpen(HWND owner, const std::string& address)
{
    return ShellExecuteA(owner, "open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL) > 32;
}

bool isRegularFile(const std::string& path)
{
    struct stat info = {};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

} // namespace

CzorApp* CzorApp::m_pzorApp = nullptr;

CzorApp::CzorApp(const char* company, const char* appName, const char* version, int osMask,
    UINT iconId, const char* readmeAddress)
    : CWinApp(appName)
    , m_appName(appName ? appName : "")
    , m_company(company ? company : "")
    , m_version(version ? version : "")
    , m_nOSMask(osMask)
    , m_nIconId(iconId)
    , m_readmeAddress(readmeAddress ? readmeAddress : "")
{
    m_pzorApp = this;
}

CzorApp::~CzorApp()
{
    if (m_nReadmeTimer != 0)
        KillTimer(nullptr, m_nReadmeTimer);
    if (m_pzorApp == this)
        m_pzorApp = nullptr;
}

int CzorApp::initInstance(const char* minimumVersion)
{
    char className[512];
    std::snprintf(className, sizeof className, "Class:%s%s", m_appName.c_str(), m_version.c_str());
    initOneInstance(className, LoadIcon(m_nIconId & 0xFFFF), nullptr);

    // The store calls the application's initAppVars, which loads its settings.
    initProfile(m_company, m_appName, m_version);
    SetRegistryKey(m_company.c_str());

    AfxOleInit();
    initContainer();

    if (!isFirstInstance())
        return 0;
    if (!initCheckOSVersion(m_nOSMask))
        return 0;
    if (!checkVersions(minimumVersion))
        return 0;

    if (m_nReadmeTimer != 0)
        KillTimer(nullptr, m_nReadmeTimer);
    m_nReadmeTimer = SetTimer(nullptr, 0, c_readmeDelayMs, &CzorApp::onReadmeTimer);
    return 1;
}

void CzorApp::initContainer()
{
    AfxEnableControlContainer();
}

bool CzorApp::checkVersions(const char* minimumVersion)
{
    const char* const* modules = getModuleList();
    if (modules == nullptr)
        return true;
    for (const char* const* module = modules; *module != nullptr && **module != '\0'; ++module) {
        if (!checkModuleVersion(*module, minimumVersion))
            return false;
    }
    return true;
}

bool CzorApp::checkModuleVersion(const char* moduleName, const char* minimumVersion)
{
    const std::string name = moduleName ? moduleName : "";
    const std::string minimum = minimumVersion ? minimumVersion : "";
    const std::string path = findModule(name);
    if (path.empty()) {
        boxOut(__FILE__, __LINE__, MB_ICONSTOP, "Can't find %s", name.c_str());
        return false;
    }

    CFileVersion version;
    version.open(path.c_str());
    // Zero-padded four-part texts sort in version order under a plain comparison.
    const std::string found = version.getFixedFileVersion4();
    if (found.compare(minimum) >= 0)
        return true;

    boxOut(__FILE__, __LINE__, MB_ICONSTOP,
        "Version mismatch on %s, found %s, should be at least %s", name.c_str(), found.c_str(),
        minimum.c_str());
    return false;
}

void CzorApp::onReadmeTimer(HWND /*hWnd*/, UINT /*message*/, UINT_PTR idEvent, DWORD /*time*/)
{
    KillTimer(nullptr, idEvent);
    CzorApp* app = m_pzorApp;
    if (app == nullptr || app->m_nReadmeTimer != idEvent)
        return;
    app->m_nReadmeTimer = 0;
    app->showReadme(true);
}

void CzorApp::showReadme(bool firstRunOnly)
{
    if (firstRunOnly && !getBool(eKEY_CURRENT_USER, c_optionsSection, c_readmeValue, true))
        return;
    if (!m_readmeAddress.empty())
        openReadmeAddress();
    // With no address there is nothing to show on any later run either.
    if (firstRunOnly)
        putBool(eKEY_CURRENT_USER, c_optionsSection, c_readmeValue, false);
}

void CzorApp::openReadmeAddress() const
{
    shellOpen(m_pMainWnd ? m_pMainWnd->GetSafeHwnd() : nullptr, m_readmeAddress);
}

void CzorApp::onPopupHelp()
{
    const std::string path = getModuleDirectory() + m_appName + ".chm";
    if (!isRegularFile(path)) {
        boxOut(__FILE__, __LINE__, MB_ICONSTOP, "Can't find help file %s", path.c_str());
        return;
    }
    HtmlHelpA(nullptr, path.c_str(), HH_DISPLAY_TOPIC, 0);
}

void CzorApp::onPopupWebsite()
{
    if (!m_readmeAddress.empty())
        shellOpen(nullptr, m_readmeAddress);
}

void CzorApp::onAppAbout()
{
    IDispatch* server = nullptr;
    if (FAILED(zorCreateDispatch(c_aboutServerId, &server)) || server == nullptr)
        return;

    // The server runs in this process and reads the list where it is; an address needs 64 bits
    // here, so it travels as a VT_I8.
    COleVariant modules;
    modules.vt = VT_I8;
    modules.llVal = static_cast<LONGLONG>(reinterpret_cast<std::intptr_t>(getModuleList()));
    zorInvoke(server, c_aboutModules, DISPATCH_METHOD, {modules});

    char path[4096] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    // An icon handle does not fit the 32-bit argument here: the server gets the icon resource
    // id and loads the program's icon itself.
    const long iconId = static_cast<long>(getIconId() & 0xFFFF);
    zorInvoke(server, c_aboutShow, DISPATCH_METHOD,
        {COleVariant(std::string(path)), COleVariant(getBuildTime()), COleVariant(iconId)});
    zorRelease(server);
}

bool CzorApp::onAppCommand(UINT nID)
{
    switch (nID) {
    case ID_POPUP_HELP:
        onPopupHelp();
        return true;
    case ID_POPUP_WEBSITE:
        onPopupWebsite();
        return true;
    case ID_APP_ABOUT:
        onAppAbout();
        return true;
    default:
        return false;
    }
}

int CzorApp::ExitInstance()
{
    return CWinApp::ExitInstance();
}
