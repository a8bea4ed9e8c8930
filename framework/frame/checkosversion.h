#pragma once

// The operating-system test of the application frame.
//
// An application states in a mask which systems it runs on; initCheckOSVersion detects the
// running system, sets one of six flags and tells the user, with a stop box, when the system is
// not recognised or not in the mask.
//
// Mask bits and names, in the order the names are listed in the message:
//   1 "Windows 95"    9x family (1), minor 0
//   2 "Windows 98"    9x family (1), minor 10
//  16 "Windows ME"    9x family (1), minor above 10
//   4 "Windows NT"    NT family (2), major 4
//   8 "Windows 2000"  NT family (2), major 5, minor 0
//  32 "Windows XP"    NT family (2), major 5, minor 1
//
// On Linux (and any other system the suite is built for) the running system counts as the
// newest system of the table: it sets the Windows XP flag and answers to bit 32, so mask 63
// (and any mask with bit 32) accepts it and isWindowsXP, isWindowsNT2000XP and isWindows2000XP
// are true. Its name in messages is the system's own, from uname: the kernel name and the first
// two numbers of its release, e.g. "Linux 6.18", so a mask without bit 32 reports "... you are
// trying to run it on Linux 6.18.".
//
// The form that takes a version triple runs the Windows table on the given values, as the
// platform's version call would report them; tests and tools use it.

#include "platform/types/wintypes.h"

#include <string>

class CCheckOSVersion
{
public:
    // Platform families as the platform's version call reports them.
    enum ePLATFORM {
        ePLATFORM_WIN9X = 1,
        ePLATFORM_WINNT = 2,
    };

    // Mask bits.
    enum eOS {
        eOS_WIN95 = 1,
        eOS_WIN98 = 2,
        eOS_WINNT = 4,
        eOS_WIN2000 = 8,
        eOS_WINME = 16,
        eOS_WINXP = 32,
    };

    CCheckOSVersion() = default;
    virtual ~CCheckOSVersion();

    // Detects the running system; true when it is recognised and in the mask.
    bool initCheckOSVersion(int mask);
    // Runs the test for the system (platform family, major, minor).
    bool initCheckOSVersion(int mask, DWORD platformId, DWORD majorVersion, DWORD minorVersion);

    bool isWindows95() const { return m_bWin95; }
    bool isWindows98() const { return m_bWin98; }
    bool isWindowsME() const { return m_bWinME; }
    bool isWindowsNT() const { return m_bWinNT; }
    bool isWindows2000() const { return m_bWin2000; }
    bool isWindowsXP() const { return m_bWinXP; }
    bool isWindows9598ME() const { return m_bWin95 || m_bWin98 || m_bWinME; }
    bool isWindowsNT2000XP() const { return m_bWinNT || m_bWin2000 || m_bWinXP; }
    bool isWindowsNT2000() const { return m_bWinNT || m_bWin2000; }
    bool isWindows2000XP() const { return m_bWin2000 || m_bWinXP; }

    // The name of the detected system, "Unknown" when nothing was detected.
    std::string getOSName() const { return m_osName; }

private:
    void clearFlags();
    // Shows the message for a detected system outside the mask.
    static void reportIncompatible(int mask, const std::string& detectedName);

    bool m_bWin95 {false};
    bool m_bWin98 {false};
    bool m_bWinME {false};
    bool m_bWinNT {false};
    bool m_bWin2000 {false};
    bool m_bWinXP {false};
    // The mask bit of the detected system, 0 when none.
    int m_osBit {0};
    std::string m_osName {"Unknown"};
};
