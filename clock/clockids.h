#pragma once

// Identifiers of zordial29: the clock's class, interface and type library identifiers in the
// suite's scheme {01540154-0050-0000-0029-00000000000K}, its string table entries and resource
// numbers.

#include "framework/identity/suiteguid.h"
#include "platform/ole/com.h"

// The clock's number in the scheme; its roles are 1 type library, 2 dispatch interface, 3 event
// interface, 4 class, 5 General page, 6 About page.
constexpr WORD c_nClockControl = 0x0050;

constexpr GUID LIBID_zorClock = zorSuiteGuid(c_nClockControl, 1);
constexpr GUID IID_IClock = zorSuiteGuid(c_nClockControl, 2);
constexpr GUID IID_IClockEvents = zorSuiteGuid(c_nClockControl, 3);
constexpr GUID CLSID_zorClock = zorSuiteGuid(c_nClockControl, 4);
constexpr GUID CLSID_zorClockPropPage = zorSuiteGuid(c_nClockControl, 5);
constexpr GUID CLSID_zorClockAboutPropPage = zorSuiteGuid(c_nClockControl, 6);

constexpr WORD c_wClockTypeLibMajor = 2;
constexpr WORD c_wClockTypeLibMinor = 1;
// The persisted version of the clock's properties: 2.1.
constexpr DWORD c_dwClockVersion = 0x00020001;

constexpr const char* c_szClockProgId = "zorClockControl.29";

// String table: the type names and the page captions.
constexpr UINT IDS_CLOCK = 1;
constexpr UINT IDS_CLOCK_PPG = 2;
constexpr UINT IDS_CLOCK_GENERAL = 200;
constexpr UINT IDS_CLOCK_ABOUT = 201;

// Resources: the toolbox bitmap, the About page's icon and the direction table (a data
// resource of its own type, number 1).
constexpr UINT IDB_CLOCK = 1;
constexpr UINT IDI_CLOCK = 129;
constexpr const char* c_szCosineTableType = "CosineTable";
constexpr UINT IDR_COSINETABLE = 1;

// Pages: templates and control ids.
constexpr UINT IDD_CLOCK_PPG = 200;
constexpr int IDC_CLOCK_ZONE = 203;
constexpr int IDC_CLOCK_FOREGROUND = 205;
constexpr int IDC_CLOCK_BACKGROUND = 206;
constexpr int IDC_CLOCK_SHADOW = 207;
constexpr int IDC_CLOCK_BORDER = 208;
constexpr int IDC_CLOCK_DIGITAL = 201;
constexpr int IDC_CLOCK_SHOWDATE = 202;
constexpr UINT IDD_CLOCK_ABOUT = 424;
constexpr int IDC_CLOCK_VERSION = 3043;
constexpr int IDC_CLOCK_LINK = 3044;

// The hosted colour control's RGBColor property, through which a page exchanges a colour whole.
constexpr DISPID c_dispidHostedRGBColor = 4;
