#pragma once

// The type library of zorwidgets29 (TYPELIB 1): one dispatch interface, one event interface
// and one coclass per control, and the dispatch ids of every control's members. The type
// information is the one place where a member's id, name and type are written: the controls
// bind their members to it and the pages name properties through it.

#include "platform/ole/typeinfo.h"
#include "platform/types/olevariant.h"

enum eLIGHTDISPID : DISPID {
    eLIGHT_COLOR = 1,
    eLIGHT_BACKGROUND = 2,
    eLIGHT_STATE = 3,
    eLIGHT_SETSTATECOLOR = 4,
};

enum eCOLORDISPID : DISPID {
    eCOLOR_SHOWHEXVALUE = 1,
    eCOLOR_USEWINDOWSCOLOR = 2,
    eCOLOR_WINDOWSCOLORIDX = 3,
    eCOLOR_RGBCOLOR = 4,
};

enum eURLDISPID : DISPID {
    eURL_URL = 1,
    eURL_BOX = 2,
    eURL_COLOR = 3,
    eURL_VISITEDCOLOR = 4,
    eURL_BACKGROUNDCOLOR = 5,
    eURL_JUSTIFY = 6,
};

enum eGRAPHDISPID : DISPID {
    eGRAPH_BACKGROUNDCOLOR = 1,
    eGRAPH_GRAPHCAPTION = 2,
    eGRAPH_GRAPHCOLOR = 3,
    eGRAPH_GRIDCOLOR = 4,
    eGRAPH_SCALECOLOR = 5,
    eGRAPH_SHOWCAPTION = 6,
    eGRAPH_SHOWGRID = 7,
    eGRAPH_BOXBORDER = 8,
    eGRAPH_TEXTFONTFACE = 9,
    eGRAPH_TEXTFONTSIZE = 10,
    eGRAPH_TEXTFONTBOLD = 11,
    eGRAPH_TITLEFONTFACE = 12,
    eGRAPH_TITLEFONTSIZE = 13,
    eGRAPH_TITLEFONTBOLD = 14,
    eGRAPH_MINVAL0 = 15,
    eGRAPH_YDIGITS = 16,
    eGRAPH_TEXTFONT = 17,
    eGRAPH_TITLEFONT = 18,
    eGRAPH_SETTIMEANDINTERVAL = 19,
    eGRAPH_SETTIMEANDINTERVAL2 = 20,
    eGRAPH_SETNUMDATAPOINTS = 21,
    eGRAPH_SETPLOTCOLOR = 22,
    eGRAPH_CLEARPLOT = 23,
    eGRAPH_SETDATAPOINT = 24,
};

// The time and up-time controls share their properties; the up-time control adds a method.
enum eTIMEDISPID : DISPID {
    eTIME_USETIMER = 1,
    eTIME_TIMERINTERVAL = 2,
    eTIME_BOXBORDER = 3,
    eTIME_BACKGROUNDCOLOR = 4,
    eTIME_TEXTCOLOR = 5,
    eTIME_JUSTIFY = 6,
    eUPTIME_GETTIMESTRING = 7,
};

enum eSYSINFODISPID : DISPID {
    eSYSINFO_BACKGROUNDCOLOR = 1,
    eSYSINFO_BOXBORDER = 2,
    eSYSINFO_TEXTCOLOR = 3,
    eSYSINFO_SHOWTIME = 4,
    eSYSINFO_SHOWUPTIME = 5,
};

// The progress control's members: its interfaces are declared empty in the type library, so
// these are the positions in its dispatch implementation, reached by name.
enum ePROGRESSDISPID : DISPID {
    ePROGRESS_FOREGROUNDCOLOR = 1,
    ePROGRESS_BACKGROUNDCOLOR = 2,
    ePROGRESS_SHOWPERCENT = 3,
    ePROGRESS_RANGE = 4,
    ePROGRESS_POSITION = 5,
    ePROGRESS_TEXTCOLOR = 6,
    ePROGRESS_FOREGROUNDCOLOR2 = 7,
    ePROGRESS_SHOWCOUNT = 8,
};

const ZorTypeLibrary* zorWidgetsTypeLibrary();
const ZorTypeInfo* zorLightTypeInfo();
const ZorTypeInfo* zorColorTypeInfo();
const ZorTypeInfo* zorUrlTypeInfo();
const ZorTypeInfo* zorGraphTypeInfo();
const ZorTypeInfo* zorTimeTypeInfo();
const ZorTypeInfo* zorUpTimeTypeInfo();
const ZorTypeInfo* zorSysInfoTypeInfo();
const ZorTypeInfo* zorProgressTypeInfo();
// What the progress control's dispatch implements beyond its (empty) declared interface.
const ZorInterfaceInfo* zorProgressMembers();

// The name of a declared property of a control, for the pages' exchanges.
const char* zorPropertyName(const ZorTypeInfo* type, DISPID dispid);

// A colour property's value as dispatch hands it out (VT_UI4, all 32 bits).
COleVariant zorColorVariant(DWORD value);
// A colour argument as dispatch delivered it (converted to VT_UI4).
DWORD zorColorOf(const COleVariant& value);
