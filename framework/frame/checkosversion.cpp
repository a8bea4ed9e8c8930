#include "framework/frame/checkosversion.h"

#include "framework/diagnostics/diagnostics.h"

#include <sys/utsname.h>

#include <array>

namespace {

struct OSName
{
    int bit;
    const char* name;
};

// The systems in the order their names appear in the list of required systems.
constexpr std::array<OSName, 6> c_osNames {{
    {CCheckOSVersion::eOS_WIN95, "Windows 95"},
    {CCheckOSVersion::eOS_WIN98, "Windows 98"},
    {CCheckOSVersion::eOS_WINME, "Windows ME"},
    {CCheckOSVersion::eOS_WINNT, "Windows NT"},
    {CCheckOSVersion::eOS_WIN2000, "Windows 2000"},
    {CCheckOSVersion::eOS_WINXP, "Windows XP"},
}};

const char* nameOfBit(int bit)
{
    for (const OSName& os : c_osNames) {
        if (os.bit == bit)
            return os.name;
    }
    return "Unknown";
}

// "Linux 6.18" from the kernel name and the first two numbers of its release.
std::string runningSystemName()
{
    utsname info {};
    if (uname(&info) != 0)
        return "Linux";
    std::string release = info.release;
    std::string version;
    int dots = 0;
    for (char c : release) {
        if (c == '.') {
            if (++dots == 2)
                break;
        } else if (c < '0' || c > '9') {
            break;
        }
        version += c;
    }
    while (!version.empty() && version.back() == '.')
        version.pop_back();
    std::string name = info.sysname;
    if (!version.empty())
        name += " " + version;
    return name;
}

} // namespace

CCheckOSVersion::~CCheckOSVersion() = default;

void CCheckOSVersion::clearFlags()
{
    m_bWin95 = m_bWin98 = m_bWinME = m_bWinNT = m_bWin2000 = m_bWinXP = false;
    m_osBit = 0;
    m_osName = "Unknown";
}

bool CCheckOSVersion::initCheckOSVersion(int mask)
{
    clearFlags();
    // The running system stands for the newest system the suite knows.
    m_bWinXP = true;
    m_osBit = eOS_WINXP;
    m_osName = runningSystemName();
    if ((mask & m_osBit) != 0)
        return true;
    reportIncompatible(mask, m_osName);
    return false;
}

bool CCheckOSVersion::initCheckOSVersion(
    int mask, DWORD platformId, DWORD majorVersion, DWORD minorVersion)
{
    clearFlags();
    if (platformId == ePLATFORM_WIN9X) {
        if (minorVersion == 0) {
            m_bWin95 = true;
            m_osBit = eOS_WIN95;
        } else if (minorVersion == 10) {
            m_bWin98 = true;
            m_osBit = eOS_WIN98;
        } else if (minorVersion > 10) {
            m_bWinME = true;
            m_osBit = eOS_WINME;
        }
    } else if (platformId == ePLATFORM_WINNT) {
        if (majorVersion == 4) {
            m_bWinNT = true;
            m_osBit = eOS_WINNT;
        } else if (majorVersion == 5 && minorVersion == 0) {
            m_bWin2000 = true;
            m_osBit = eOS_WIN2000;
        } else if (majorVersion == 5 && minorVersion == 1) {
            m_bWinXP = true;
            m_osBit = eOS_WINXP;
        }
    }
    m_osName = nameOfBit(m_osBit);

    if (m_osBit == 0) {
        boxOut(__FILE__, __LINE__, MB_ICONSTOP, "Can't detect operating system version");
        return false;
    }
    if ((mask & m_osBit) != 0)
        return true;
    reportIncompatible(mask, m_osName);
    return false;
}

void CCheckOSVersion::reportIncompatible(int mask, const std::string& detectedName)
{
    std::string required;
    for (const OSName& os : c_osNames) {
        if ((mask & os.bit) == 0)
            continue;
        if (!required.empty())
            required += " or ";
        required += os.name;
    }
    boxOut(__FILE__, __LINE__, MB_ICONSTOP,
        "This application is not compatible with this version of the operating system.\r\n"
        "This application requires %s, you are trying to run it on %s.",
        required.c_str(), detectedName.c_str());
}
