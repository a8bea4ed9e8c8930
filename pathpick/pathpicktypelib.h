#pragma once

// The type library of zorpathpick29, PATHPICKLib: the dispatch interface _DPathPick, the event
// interface _DPathPickEvents and the coclass PathPick. The type information is the one place
// where a member's id, name and type are written: the control binds its members to it, the
// page names properties through it.

#include "platform/ole/typeinfo.h"

enum ePATHPICKDISPID : DISPID {
    ePATHPICK_VALUE = 0,
    ePATHPICK_FILE = 1,
    ePATHPICK_DEFAULTPATH = 2,
    ePATHPICK_DEFAULTFILE = 3,
    ePATHPICK_DEFAULTFILEPROMPT = 4,
    ePATHPICK_DIALOGTITLE = 5,
    ePATHPICK_LOOKUPFILE = 6,
    ePATHPICK_BACKCOLOR = -501,
    ePATHPICK_FORECOLOR = -513,
};

const ZorTypeLibrary* zorPathPickTypeLibrary();
const ZorTypeInfo* zorPathPickTypeInfo();

// The name of a declared property of the picker, for exchanges and pages.
const char* zorPathPickPropertyName(DISPID dispid);
