#pragma once

// Identifiers of zorpathpick29: the file-name picker's class, interface and type library
// identifiers in the suite's scheme {01540154-0020-0000-0029-00000000000K}, its string table
// entries and resource numbers.

#include "framework/identity/suiteguid.h"
#include "platform/ole/com.h"

// The picker's number in the scheme; its roles are 1 type library, 2 dispatch interface,
// 3 event interface, 4 class, 5 its only property page.
constexpr WORD c_nPathPickControl = 0x0020;

constexpr GUID LIBID_zorPathPick = zorSuiteGuid(c_nPathPickControl, 1);
constexpr GUID IID_DPathPick = zorSuiteGuid(c_nPathPickControl, 2);
constexpr GUID IID_DPathPickEvents = zorSuiteGuid(c_nPathPickControl, 3);
constexpr GUID CLSID_zorPathPick = zorSuiteGuid(c_nPathPickControl, 4);
constexpr GUID CLSID_zorPathPickPropPage = zorSuiteGuid(c_nPathPickControl, 5);

constexpr WORD c_wPathPickTypeLibMajor = 2;
constexpr WORD c_wPathPickTypeLibMinor = 1;
// The persisted version of the picker's properties: 2.1.
constexpr DWORD c_dwPathPickVersion = 0x00020001;

constexpr const char* c_szPathPickProgId = "zorPathPickControl.29";

// String table: the type names and the page's caption.
constexpr UINT IDS_PATHPICK = 1;
constexpr UINT IDS_PATHPICK_PPG = 2;
constexpr UINT IDS_PATHPICK_GENERAL = 200;

// The toolbox bitmap.
constexpr UINT IDB_PATHPICK = 1;

// The page: its template and the ids of its edit boxes.
constexpr UINT IDD_PATHPICK_PPG = 200;
constexpr int IDC_PATHPICK_DEFAULTPATH = 201;
constexpr int IDC_PATHPICK_DEFAULTFILE = 202;
constexpr int IDC_PATHPICK_FILE = 203;
constexpr int IDC_PATHPICK_FILEPROMPT = 204;
constexpr int IDC_PATHPICK_DIALOGTITLE = 205;
