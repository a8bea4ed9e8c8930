#include "clock/clocktypelib.h"

#include "clock/clockids.h"

namespace {

const ZorTypeInfo& clockType()
{
    static const ZorTypeInfo info = [] {
        ZorTypeInfo type;
        type.name = "Clock";
        type.clsid = CLSID_zorClock;
        type.doc = "Clock Control";
        type.control = true;
        type.dispatch.name = "IClock";
        type.dispatch.iid = IID_IClock;
        type.dispatch.doc = "Dispatch interface for Clock Control";
        // setFont takes the font record's 60 bytes as a binary text: an address of the
        // caller's memory is no argument a dispatch call can carry safely.
        type.dispatch.members = {zorProperty(eCLOCK_DIGITAL, "Digital", VT_I4),
            zorProperty(eCLOCK_SHOWDATE, "ShowDate", VT_I4),
            zorProperty(eCLOCK_BACKGROUND, "Background", VT_UI4),
            zorProperty(eCLOCK_FOREGROUND, "Foreground", VT_UI4),
            zorProperty(eCLOCK_SHADOW, "Shadow", VT_UI4), zorProperty(eCLOCK_ZONE, "Zone", VT_I4),
            zorProperty(eCLOCK_BORDER, "Border", VT_BOOL),
            zorMethod(eCLOCK_SETTIME, "setTime", {{"a_time", VT_DATE}}),
            zorMethod(eCLOCK_SETTITLE, "setTitle", {{"a_pTitle", VT_BSTR}}),
            zorMethod(eCLOCK_SETFONT, "setFont", {{"a_pFont", VT_BSTR}}),
            zorMethod(eCLOCK_SHOWTEXT, "showText", {{"a_bShowText", VT_I4}})};
        type.events.name = "IClockEvents";
        type.events.iid = IID_IClockEvents;
        type.events.doc = "Event interface for Clock Control";
        type.events.members = {zorMethod(DISPID_CLICK, "Click", {}),
            zorMethod(eCLOCKEVENT_LBUTTONDOWN, "onLButtonDown", {{"a_bDblClk", VT_I4}}),
            zorMethod(eCLOCKEVENT_RBUTTONDOWN, "onRButtonDown", {{"a_bDblClk", VT_I4}}),
            zorMethod(eCLOCKEVENT_LBUTTONUP, "onLButtonUp", {}),
            zorMethod(eCLOCKEVENT_MOUSEMOVE, "onMouseMove", {})};
        return type;
    }();
    return info;
}

} // namespace

const ZorTypeInfo* zorClockTypeInfo()
{
    return &clockType();
}

const char* zorClockPropertyName(DISPID dispid)
{
    return zorDeclaredPropertyName(clockType(), dispid);
}

const ZorTypeLibrary* zorClockTypeLibrary()
{
    static const ZorTypeLibrary library = [] {
        ZorTypeLibrary lib;
        lib.libid = LIBID_zorClock;
        lib.major = c_wClockTypeLibMajor;
        lib.minor = c_wClockTypeLibMinor;
        lib.name = "CLOCKLib";
        lib.helpString = "Clock ActiveX Control module";
        lib.classes = {&clockType()};
        return lib;
    }();
    return &library;
}
