#include "controls/frame/widgetstypelib.h"

#include "controls/frame/widgetids.h"

namespace {

ZorMemberInfo property(DISPID dispid, const char* name, VARTYPE type)
{
    ZorMemberInfo member;
    member.dispid = dispid;
    member.name = name;
    member.kind = ZorMemberInfo::eKIND_PROPERTY;
    member.type = type;
    return member;
}

ZorMemberInfo method(DISPID dispid, const char* name, std::vector<ZorParamInfo> params)
{
    ZorMemberInfo member;
    member.dispid = dispid;
    member.name = name;
    member.kind = ZorMemberInfo::eKIND_METHOD;
    member.type = VT_EMPTY;
    member.params = std::move(params);
    return member;
}

ZorMemberInfo clickEvent()
{
    return method(DISPID_CLICK, "Click", {});
}

// The coclass and its two interfaces; `docName` is the ProgID the documentation strings name.
ZorTypeInfo makeType(WORD control, const char* coclass, const char* dispatchName,
    const char* docName, std::vector<ZorMemberInfo> members, std::vector<ZorMemberInfo> events)
{
    ZorTypeInfo info;
    info.name = coclass;
    info.clsid = zorWidgetGuid(control, eROLE_CLASS);
    info.doc = docName;
    info.control = true;
    info.dispatch.name = dispatchName;
    info.dispatch.iid = zorWidgetGuid(control, eROLE_DISPATCH);
    info.dispatch.doc = std::string("Dispatch interface for ") + docName;
    info.dispatch.members = std::move(members);
    info.events.name = std::string(dispatchName) + "Events";
    info.events.iid = zorWidgetGuid(control, eROLE_EVENTS);
    info.events.doc = std::string("Event interface for ") + docName;
    info.events.members = std::move(events);
    return info;
}

const ZorTypeInfo& lightType()
{
    static const ZorTypeInfo info = makeType(c_nLightControl, "Light", "_DLight", c_szLightProgId,
        {property(1, "Color", VT_UI4), property(2, "Background", VT_UI4),
            property(3, "State", VT_I4),
            method(4, "setStateColor", {{"a_bState", VT_I4}, {"a_rgbColor", VT_UI4}}),
            property(DISPID_VALUE, "_Color", VT_UI4)},
        {clickEvent()});
    return info;
}

const ZorTypeInfo& colorType()
{
    static const ZorTypeInfo info
        = makeType(c_nColorControl, "ColorControl", "_DColor", c_szColorProgId,
            {property(DISPID_FONT, "Font", VT_DISPATCH), property(1, "ShowHexValue", VT_I4),
                property(2, "UseWindowsColor", VT_I4), property(3, "WindowsColorIdx", VT_I4),
                property(4, "RGBColor", VT_UI4), property(DISPID_VALUE, "_RGBColor", VT_UI4)},
            {clickEvent()});
    return info;
}

const ZorTypeInfo& urlType()
{
    // The URL control's documentation strings spell its ProgID "zorUrlControl.29".
    static const ZorTypeInfo info = makeType(c_nUrlControl, "URL", "_DUrl", "zorUrlControl.29",
        {property(DISPID_FONT, "Font", VT_DISPATCH), property(1, "URL", VT_BSTR),
            property(2, "Box", VT_I4), property(3, "Color", VT_UI4),
            property(4, "VisitedColor", VT_UI4), property(5, "BackgroundColor", VT_UI4),
            property(6, "Justify", VT_I4), property(DISPID_VALUE, "_URL", VT_BSTR)},
        {});
    return info;
}

} // namespace

const ZorTypeInfo* zorLightTypeInfo()
{
    return &lightType();
}

const ZorTypeInfo* zorColorTypeInfo()
{
    return &colorType();
}

const ZorTypeInfo* zorUrlTypeInfo()
{
    return &urlType();
}

const ZorTypeLibrary* zorWidgetsTypeLibrary()
{
    static const ZorTypeLibrary library = [] {
        ZorTypeLibrary lib;
        lib.libid = LIBID_zorWidgets;
        lib.major = c_wTypeLibMajor;
        lib.minor = c_wTypeLibMinor;
        lib.name = "zorwidgets29";
        lib.helpString = "zor ActiveX module";
        lib.classes = {&urlType(), &lightType(), &colorType()};
        return lib;
    }();
    return &library;
}

COleVariant zorColorVariant(DWORD value)
{
    COleVariant v;
    v.vt = VT_UI4;
    v.ulVal = value;
    return v;
}

DWORD zorColorOf(const COleVariant& value)
{
    COleVariant v(value);
    if (v.vt != VT_UI4 && !v.ChangeType(VT_UI4)) {
        if (!v.ChangeType(VT_I4))
            return 0;
        return static_cast<DWORD>(v.lVal);
    }
    return static_cast<DWORD>(v.ulVal);
}
