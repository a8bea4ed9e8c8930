#pragma once

// Identifiers of zorpicture29: the picture control's class, interface and type library
// identifiers in the suite's scheme {01540154-0123-0000-0029-00000000000K}, its page's own class
// identifier, its string table entries and resource numbers.

#include "framework/identity/suiteguid.h"
#include "platform/ole/com.h"

// The picture's number in the scheme; its roles are 1 type library, 2 dispatch interface,
// 3 event interface, 4 class.
constexpr WORD c_nPictureControl = 0x0123;

constexpr GUID LIBID_JPEGLib = zorSuiteGuid(c_nPictureControl, 1);
constexpr GUID DIID__DJPEG = zorSuiteGuid(c_nPictureControl, 2);
constexpr GUID DIID__DJPEGEvents = zorSuiteGuid(c_nPictureControl, 3);
constexpr GUID CLSID_JPEG = zorSuiteGuid(c_nPictureControl, 4);
// The page keeps the class identifier it has always had, outside the suite's scheme:
// {F8A4B6BC-9129-11D3-85C2-00609717A9E3}.
constexpr GUID CLSID_JPEGPropPage
    = {0xF8A4B6BCu, 0x9129, 0x11D3, {0x85, 0xC2, 0x00, 0x60, 0x97, 0x17, 0xA9, 0xE3}};

constexpr WORD c_wJPEGTypeLibMajor = 2;
constexpr WORD c_wJPEGTypeLibMinor = 1;
// The persisted version of the picture's properties: 2.1.
constexpr DWORD c_dwJPEGVersion = 0x00020001;

constexpr const char* c_szJPEGProgId = "zorJPEGControl.29";
// The page's factory name.
constexpr const char* c_szJPEGPropPageName = "JPEG.JPEGPropPage.1";
// The file-name picker the page hosts, reached by its ProgID only.
constexpr const char* c_szPathPickProgId = "zorPathPickControl.29";

// String table: the type names and the page's caption.
constexpr UINT IDS_JPEG = 1;
constexpr UINT IDS_JPEG_PPG = 2;
constexpr UINT IDS_JPEG_PPG_CAPTION = 200;

// The toolbox bitmap.
constexpr UINT IDB_JPEG = 1;

// The page: its template and control ids.
constexpr UINT IDD_PROPPAGE_JPEG = 200;
constexpr int IDC_FILE = 201;
constexpr int IDC_BORDER = 202;
constexpr int IDC_BORDERCOLOR = 203;
constexpr int IDC_STRETCH = 204;
constexpr int IDC_KEEPASPECT = 205;
constexpr int IDC_BOXBORDER = 206;
constexpr int IDC_BORDERCOLOR_LABEL = 207;
constexpr int IDC_BACKCOLOR = 208;
constexpr int IDC_BACKCOLOR_LABEL = 209;
constexpr int IDC_RESIZEWINDOW = 210;

// The hosted controls' properties the page exchanges: the colour control's RGBColor and the
// picker's File.
constexpr DISPID c_dispidHostedRGBColor = 4;
constexpr DISPID c_dispidHostedFile = 1;
