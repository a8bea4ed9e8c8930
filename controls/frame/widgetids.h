#pragma once

// Identifiers of zorwidgets29: class, interface and type library identifiers of the suite's
// scheme {01540154-CCCC-0000-0029-00000000000K}, string table entries and resource numbers.

#include "framework/identity/suitecontrols.h"
#include "framework/identity/suiteguid.h"
#include "platform/ole/com.h"

// The roles of the scheme's identifiers (zorSuiteGuid).
enum eWIDGETROLE : BYTE {
    eROLE_TYPELIB = 1,
    eROLE_DISPATCH = 2,
    eROLE_EVENTS = 3,
    eROLE_CLASS = 4,
    eROLE_PAGE1 = 5,
    eROLE_PAGE2 = 6,
    eROLE_PAGE3 = 7,
};

constexpr WORD c_nGraphControl = 0x0000;
constexpr WORD c_nProgressControl = 0x0001;
constexpr WORD c_nTimeControl = 0x0002;
constexpr WORD c_nUpTimeControl = 0x0003;
constexpr WORD c_nUrlControl = 0x0004;
constexpr WORD c_nLightControl = 0x0005;
constexpr WORD c_nColorControl = 0x0006;
constexpr WORD c_nSysInfoControl = 0x0007;

constexpr GUID LIBID_zorWidgets = zorSuiteGuid(0x0000, eROLE_TYPELIB);
constexpr WORD c_wTypeLibMajor = 2;
constexpr WORD c_wTypeLibMinor = 1;

// The persisted version of every control's properties: 2.1.
constexpr DWORD c_dwWidgetsVersion = 0x00020001;

// Page captions.
constexpr UINT IDS_GENERAL = 200;
constexpr UINT IDS_ABOUT = 201;
constexpr UINT IDS_COLORS = 202;

// Type names: the ProgID, then About Page, Property Page, Property Page 2.
constexpr UINT IDS_COLOR = 3100;
constexpr UINT IDS_COLOR_ABOUTPAGE = 3101;
constexpr UINT IDS_COLOR_PPG = 3102;
constexpr UINT IDS_LIGHT = 3103;
constexpr UINT IDS_LIGHT_ABOUTPAGE = 3104;
constexpr UINT IDS_LIGHT_PPG = 3105;
constexpr UINT IDS_GRAPH = 3106;
constexpr UINT IDS_GRAPH_ABOUTPAGE = 3107;
constexpr UINT IDS_GRAPH_PPG = 3108;
constexpr UINT IDS_GRAPH_PPG2 = 3109;
constexpr UINT IDS_TIME = 3110;
constexpr UINT IDS_TIME_ABOUTPAGE = 3111;
constexpr UINT IDS_TIME_PPG = 3112;
constexpr UINT IDS_UPTIME = 3113;
constexpr UINT IDS_UPTIME_ABOUTPAGE = 3114;
constexpr UINT IDS_UPTIME_PPG = 3115;
constexpr UINT IDS_SYSINFO = 3116;
constexpr UINT IDS_SYSINFO_ABOUTPAGE = 3117;
constexpr UINT IDS_SYSINFO_PPG = 3118;
constexpr UINT IDS_PROGRESS = 3119;
constexpr UINT IDS_PROGRESS_ABOUTPAGE = 3120;
constexpr UINT IDS_PROGRESS_PPG = 3121;
constexpr UINT IDS_URL = 3122;
constexpr UINT IDS_URL_ABOUTPAGE = 3123;
constexpr UINT IDS_URL_PPG = 3124;
constexpr UINT IDS_URL_PPG2 = 3125;

// Toolbox bitmaps.
constexpr UINT IDB_URL = 1;
constexpr UINT IDB_LIGHT = 302;
constexpr UINT IDB_COLOR = 403;
constexpr UINT IDB_PROGRESS = 300;
constexpr UINT IDB_TIME = 404;
constexpr UINT IDB_UPTIME = 405;
constexpr UINT IDB_SYSINFO = 406;
constexpr UINT IDB_GRAPH = 407;

// About page icons.
constexpr UINT IDI_URL = 201;
constexpr UINT IDI_LIGHT = 205;
constexpr UINT IDI_COLOR = 206;
constexpr UINT IDI_PROGRESS = 101;
constexpr UINT IDI_GRAPH = 202;
constexpr UINT IDI_TIME = 207;
constexpr UINT IDI_UPTIME = 208;
constexpr UINT IDI_SYSINFO = 209;

// The hand cursor of the link.
constexpr UINT IDC_URL_HAND = 4017;

// The class ids of the module's other controls (the colour and URL controls' are the suite's:
// framework/identity/suitecontrols.h).
constexpr const char* c_szLightProgId = "zorLightControl.29";
constexpr const char* c_szGraphProgId = "zorGraphControl.29";
constexpr const char* c_szTimeProgId = "zorTimeControl.29";
constexpr const char* c_szUpTimeProgId = "zorUpTimeControl.29";
constexpr const char* c_szSysInfoProgId = "zorSysInfoControl.29";
constexpr const char* c_szProgressProgId = "zorProgressControl.29";
