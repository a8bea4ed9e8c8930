#include "pathpick/pathpicktypelib.h"

#include "pathpick/pathpickids.h"

namespace {

const ZorTypeInfo& pathPickType()
{
    static const ZorTypeInfo info = [] {
        ZorTypeInfo type;
        type.name = "PathPick";
        type.clsid = CLSID_zorPathPick;
        type.doc = "PathPick Control";
        type.control = true;
        type.dispatch.name = "_DPathPick";
        type.dispatch.iid = IID_DPathPick;
        type.dispatch.doc = "Dispatch interface for PathPick Control";
        type.dispatch.members = {zorProperty(ePATHPICK_FILE, "File", VT_BSTR),
            zorProperty(ePATHPICK_DEFAULTPATH, "DefaultPath", VT_BSTR),
            zorProperty(ePATHPICK_DEFAULTFILE, "DefaultFile", VT_BSTR),
            zorProperty(ePATHPICK_VALUE, "_File", VT_BSTR),
            zorProperty(ePATHPICK_DEFAULTFILEPROMPT, "DefaultFilePrompt", VT_BSTR),
            zorProperty(ePATHPICK_DIALOGTITLE, "DialogTitle", VT_BSTR),
            zorProperty(ePATHPICK_BACKCOLOR, "BackColor", VT_UI4),
            zorProperty(ePATHPICK_FORECOLOR, "ForeColor", VT_UI4),
            zorProperty(DISPID_FONT, "Font", VT_DISPATCH),
            zorMethod(ePATHPICK_LOOKUPFILE, "LookupFile", {}, VT_BSTR)};
        type.events.name = "_DPathPickEvents";
        type.events.iid = IID_DPathPickEvents;
        type.events.doc = "Event interface for PathPick Control";
        type.events.members = {zorMethod(DISPID_CLICK, "Click", {})};
        return type;
    }();
    return info;
}

} // namespace

const ZorTypeInfo* zorPathPickTypeInfo()
{
    return &pathPickType();
}

const char* zorPathPickPropertyName(DISPID dispid)
{
    return zorDeclaredPropertyName(pathPickType(), dispid);
}

const ZorTypeLibrary* zorPathPickTypeLibrary()
{
    static const ZorTypeLibrary library = [] {
        ZorTypeLibrary lib;
        lib.libid = LIBID_zorPathPick;
        lib.major = c_wPathPickTypeLibMajor;
        lib.minor = c_wPathPickTypeLibMinor;
        lib.name = "PATHPICKLib";
        lib.helpString = "PathPick ActiveX Control module";
        lib.classes = {&pathPickType()};
        return lib;
    }();
    return &library;
}
