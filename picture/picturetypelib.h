#pragma once

// The type library of zorpicture29, JPEGLib: the dispatch interface _DJPEG, the event interface
// _DJPEGEvents (it declares no events) and the coclass JPEG. The type information is the one
// place where a member's id, name and type are written: the control binds its members to it,
// the page names properties through it.

#include "platform/ole/typeinfo.h"
#include "platform/types/olevariant.h"

enum eJPEGDISPID : DISPID {
    eJPEG_BOXBORDER = 1,
    eJPEG_BORDERCOLOR = 2,
    eJPEG_FILE = 3,
    eJPEG_STRETCH = 4,
    eJPEG_KEEPASPECTRATIO = 5,
    eJPEG_BORDER = 6,
    eJPEG_RESIZEWINDOW = 7,
    eJPEG_SELECTFILE = 8,
    eJPEG_SETIMAGEDATA = 9,
    eJPEG_SETIMAGE = 10,
    // The stock background colour.
    eJPEG_BACKCOLOR = -501,
};

const ZorTypeLibrary* zorJPEGTypeLibrary();
const ZorTypeInfo* zorJPEGTypeInfo();

// The name of a declared property of the picture control, for exchanges and pages.
const char* zorJPEGPropertyName(DISPID dispid);
