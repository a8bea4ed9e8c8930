#include "monitor/corvaneapp.h"

#include "framework/diagnostics/diagnostics.h"
#include "framework/version/moduleversion.h"
#include "monitor/corvanedlg.h"
#include "monitor/monitorfiles.h"
#include "monitor/resource.h"

#include <algorithm>

#include <sys/stat.h>

namespace {

// Every system the suite knows.
constexpr int c_allSystems = 63;
// The oldest module version the program runs with.
constexpr const char* c_minimumVersion = "2002.06.11.00";
constexpr const char* c_readmeAddress = "https://www.zorvex.example/software/corvane/readme.htm";
constexpr const char* c_buildTime = "Jun 24 2002 11:03:26";

// The modules whose versions are tested at start, closed by an empty entry.
const char* const c_modules[] = {"zorbase29.dll", "zorwidgets29.ocx", "zorabout29.dll", ""};

// The default plot colours: red, green, blue, purple, teal.
constexpr COLORREF c_defaultColors[CCorvaneApp::c_nSlots]
    = {0x0000FF, 0x00FF00, 0xFF0000, 0x800080, 0x808000};

bool fileExists(const std::string& path)
{
    struct stat info = {};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

} // namespace

CCorvaneApp::CCorvaneApp()
    : CzorApp("Zorvex", "Corvane", "V2.01", c_allSystems, IDR_MAINFRAME, c_readmeAddress)
{
    std::copy(std::begin(c_defaultColors), std::end(c_defaultColors), m_graphColor.begin());
}

BOOL CCorvaneApp::InitInstance()
{
    // The database layer needs no engine version chosen: the store is the platform's own.
    if (!initInstance(c_minimumVersion))
        return FALSE;
    // Sockets need no start-up here, so the socket layer cannot fail to start.

    const std::string directory = getModuleDirectory();
    std::string reason;
    const std::string databaseDirectory = monitorDatabaseDirectory(directory, &reason);
    if (!fileExists(monitorDatabasePath(databaseDirectory))) {
        // Why the user's first database could not be made, when that was the cause.
        if (!reason.empty())
            reason = "\n" + reason;
        boxOut(__FILE__, __LINE__, MB_ICONSTOP, "Can't find database %scorvane.mdb%s",
            databaseDirectory.c_str(), reason.c_str());
        // A start that gave up is a failure to whoever started the program.
        quit(1);
        return FALSE;
    }

    CCorvaneDlg dialog(*this, directory, databaseDirectory);
    m_pMainWnd = &dialog;
    dialog.DoModal();
    m_pMainWnd = nullptr;
    // The window was the whole program.
    return FALSE;
}

void CCorvaneApp::initAppVars()
{
    // A value that the window could not have written (the spin controls offer 10 to 300
    // seconds and 1 to 5 days) is read as the nearest one it could: an interval of 0 would
    // sample every second, and the controls would show another value than the one in force.
    m_nSampleInterval = std::clamp(getInt(eKEY_CURRENT_USER, c_szOptions, c_szSampleInterval, 10),
        c_nMinSampleInterval, c_nMaxSampleInterval);
    for (int slot = 0; slot < c_nSlots; ++slot) {
        m_bGraph[slot] = getBool(eKEY_CURRENT_USER, c_szGraph, slotValueName(slot), false);
        m_graphColor[slot] = getColor(
            eKEY_CURRENT_USER, c_szGraphColor, slotValueName(slot), c_defaultColors[slot]);
        m_sHost[slot] = getString(eKEY_CURRENT_USER, c_szOptions, hostValueName(slot), "");
    }
    m_nDays
        = std::clamp(getInt(eKEY_CURRENT_USER, c_szOptions, c_szDays, 1), c_nMinDays, c_nMaxDays);
    m_bStartStop = getBool(eKEY_CURRENT_USER, c_szOptions, c_szStartStop, false);
    m_nDownInterval = getInt(eKEY_CURRENT_USER, c_szOptions, c_szDownInterval, 60);
    m_bNotifyOnOutages = getBool(eKEY_CURRENT_USER, c_szOptions, c_szNotifyOnOutages, false);
}

UINT CCorvaneApp::getIconId()
{
    return IDR_MAINFRAME;
}

const char* const* CCorvaneApp::getModuleList()
{
    return c_modules;
}

std::string CCorvaneApp::getBuildTime()
{
    return c_buildTime;
}

std::string CCorvaneApp::slotValueName(int slot)
{
    return std::to_string(slot + 1);
}

std::string CCorvaneApp::hostValueName(int slot)
{
    return "IP" + std::to_string(slot + 1);
}
