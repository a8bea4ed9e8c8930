#pragma once

// CCorvaneApp: the host monitor's application object.
//
// It is the framework's application frame for "Zorvex" "Corvane" "V2.01" (every system the
// suite knows, icon 129) and holds the monitor's user settings as loaded at start from the
// current-user root of its settings store; the main window changes them and saves each one the
// moment the user changes it. The probe settings ("Timeout", "Repeat", local-machine root) are
// read by the main window itself (monitor/probesettings.h).
//
// The program is a single modal dialog: InitInstance runs the frame's start-up, checks that
// the database is there, runs the main window and always answers false, so the program ends
// when the window closes.
//
// The program makes its one application object in main.cpp; tests make one of their own.

#include "framework/frame/zorapp.h"

#include <array>
#include <string>

class CCorvaneApp : public CzorApp
{
public:
    static constexpr int c_nSlots = 5;
    // The sample interval and the graph span the window offers.
    static constexpr int c_nMinSampleInterval = 10;
    static constexpr int c_nMaxSampleInterval = 300;
    static constexpr int c_nMinDays = 1;
    static constexpr int c_nMaxDays = 5;

    CCorvaneApp();

    BOOL InitInstance() override;
    // Loads the settings below; the settings store calls it when the frame sets it up.
    void initAppVars() override;

    UINT getIconId() override;
    const char* const* getModuleList() override;
    std::string getBuildTime() override;

    // "SampleInterval" in "Options": seconds between sampling passes.
    int m_nSampleInterval {10};
    // "1" ... "5" in "Graph": whether each slot is plotted.
    std::array<bool, c_nSlots> m_bGraph {};
    // "1" ... "5" in "GraphColor": each slot's plot colour.
    std::array<COLORREF, c_nSlots> m_graphColor {};
    // "Days" in "Options": the graph span in days.
    int m_nDays {1};
    // "StartStop" in "Options": the outage list shows starts and stops of monitoring.
    bool m_bStartStop {false};
    // "DownInterval" in "Options": recovery lines of shorter outages (seconds) are left out.
    int m_nDownInterval {60};
    // "NotifyOnOutages" in "Options": a desktop notice tells of each outage and recovery.
    bool m_bNotifyOnOutages {false};
    // "IP1" ... "IP5" in "Options": each slot's host text.
    std::array<std::string, c_nSlots> m_sHost;

    // Setting names the main window saves under.
    static constexpr const char* c_szOptions = "Options";
    static constexpr const char* c_szGraph = "Graph";
    static constexpr const char* c_szGraphColor = "GraphColor";
    static constexpr const char* c_szSampleInterval = "SampleInterval";
    static constexpr const char* c_szDays = "Days";
    static constexpr const char* c_szStartStop = "StartStop";
    static constexpr const char* c_szDownInterval = "DownInterval";
    static constexpr const char* c_szNotifyOnOutages = "NotifyOnOutages";
    // The value name of slot k in "Graph" and "GraphColor" ("1" ... "5") and of its host in
    // "Options" ("IP1" ... "IP5").
    static std::string slotValueName(int slot);
    static std::string hostValueName(int slot);
};
