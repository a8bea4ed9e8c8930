#pragma once

// The type library of zordial29, CLOCKLib: the dispatch interface IClock, the event interface
// IClockEvents and the coclass Clock. The type information is the one place where a member's
// id, name and type are written: the control binds its members to it, the page names
// properties through it.

#include "platform/ole/typeinfo.h"
#include "platform/types/olevariant.h"

enum eCLOCKDISPID : DISPID {
    eCLOCK_DIGITAL = 1,
    eCLOCK_SHOWDATE = 2,
    eCLOCK_BACKGROUND = 3,
    eCLOCK_FOREGROUND = 4,
    eCLOCK_SHADOW = 5,
    eCLOCK_ZONE = 6,
    eCLOCK_BORDER = 7,
    eCLOCK_SETTIME = 8,
    eCLOCK_SETTITLE = 9,
    eCLOCK_SETFONT = 10,
    eCLOCK_SHOWTEXT = 11,
};

enum eCLOCKEVENT : DISPID {
    eCLOCKEVENT_LBUTTONDOWN = 1,
    eCLOCKEVENT_RBUTTONDOWN = 2,
    eCLOCKEVENT_LBUTTONUP = 3,
    eCLOCKEVENT_MOUSEMOVE = 4,
};

const ZorTypeLibrary* zorClockTypeLibrary();
const ZorTypeInfo* zorClockTypeInfo();

// The name of a declared property of the clock, for exchanges and pages.
const char* zorClockPropertyName(DISPID dispid);
