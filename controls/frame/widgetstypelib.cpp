#include "controls/frame/widgetstypelib.h"

#include "controls/frame/widgetids.h"

#include <QtCore/QtGlobal>

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

ZorMemberInfo method(
    DISPID dispid, const char* name, std::vector<ZorParamInfo> params, VARTYPE result = VT_EMPTY)
{
    ZorMemberInfo member;
    member.dispid = dispid;
    member.name = name;
    member.kind = ZorMemberInfo::eKIND_METHOD;
    member.type = result;
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
    info.clsid = zorSuiteGuid(control, eROLE_CLASS);
    info.doc = docName;
    info.control = true;
    info.dispatch.name = dispatchName;
    info.dispatch.iid = zorSuiteGuid(control, eROLE_DISPATCH);
    info.dispatch.doc = std::string("Dispatch interface for ") + docName;
    info.dispatch.members = std::move(members);
    info.events.name = std::string(dispatchName) + "Events";
    info.events.iid = zorSuiteGuid(control, eROLE_EVENTS);
    info.events.doc = std::string("Event interface for ") + docName;
    info.events.members = std::move(events);
    return info;
}

ZorMemberInfo fontProperty()
{
    return property(DISPID_FONT, "Font", VT_DISPATCH);
}

const ZorTypeInfo& lightType()
{
    static const ZorTypeInfo info = makeType(c_nLightControl, "Light", "_DLight", c_szLightProgId,
        {property(eLIGHT_COLOR, "Color", VT_UI4), property(eLIGHT_BACKGROUND, "Background", VT_UI4),
            property(eLIGHT_STATE, "State", VT_I4),
            method(eLIGHT_SETSTATECOLOR, "setStateColor",
                {{"a_bState", VT_I4}, {"a_rgbColor", VT_UI4}}),
            property(DISPID_VALUE, "_Color", VT_UI4)},
        {clickEvent()});
    return info;
}

const ZorTypeInfo& colorType()
{
    static const ZorTypeInfo info
        = makeType(c_nColorControl, "ColorControl", "_DColor", c_szColorProgId,
            {fontProperty(), property(eCOLOR_SHOWHEXVALUE, "ShowHexValue", VT_I4),
                property(eCOLOR_USEWINDOWSCOLOR, "UseWindowsColor", VT_I4),
                property(eCOLOR_WINDOWSCOLORIDX, "WindowsColorIdx", VT_I4),
                property(eCOLOR_RGBCOLOR, "RGBColor", VT_UI4),
                property(DISPID_VALUE, "_RGBColor", VT_UI4)},
            {clickEvent()});
    return info;
}

const ZorTypeInfo& urlType()
{
    // The URL control's documentation strings spell its ProgID "zorUrlControl.29".
    static const ZorTypeInfo info = makeType(c_nUrlControl, "URL", "_DUrl", "zorUrlControl.29",
        {fontProperty(), property(eURL_URL, "URL", VT_BSTR), property(eURL_BOX, "Box", VT_I4),
            property(eURL_COLOR, "Color", VT_UI4),
            property(eURL_VISITEDCOLOR, "VisitedColor", VT_UI4),
            property(eURL_BACKGROUNDCOLOR, "BackgroundColor", VT_UI4),
            property(eURL_JUSTIFY, "Justify", VT_I4), property(DISPID_VALUE, "_URL", VT_BSTR)},
        {});
    return info;
}

const ZorTypeInfo& graphType()
{
    // ShowCaption and setDataPoint's result are declared one-byte values (VT_UI1).
    static const ZorTypeInfo info = makeType(c_nGraphControl, "Graph", "_DGraph", c_szGraphProgId,
        {property(eGRAPH_BACKGROUNDCOLOR, "BackgroundColor", VT_UI4),
            property(eGRAPH_GRAPHCAPTION, "GraphCaption", VT_BSTR),
            property(eGRAPH_GRAPHCOLOR, "GraphColor", VT_UI4),
            property(eGRAPH_GRIDCOLOR, "GridColor", VT_UI4),
            property(eGRAPH_SCALECOLOR, "ScaleColor", VT_UI4),
            property(eGRAPH_SHOWCAPTION, "ShowCaption", VT_UI1),
            property(eGRAPH_SHOWGRID, "ShowGrid", VT_I4),
            property(eGRAPH_BOXBORDER, "BoxBorder", VT_I4),
            property(eGRAPH_TEXTFONTFACE, "TextFontFace", VT_BSTR),
            property(eGRAPH_TEXTFONTSIZE, "TextFontSize", VT_I4),
            property(eGRAPH_TEXTFONTBOLD, "TextFontBold", VT_I4),
            property(eGRAPH_TITLEFONTFACE, "TitleFontFace", VT_BSTR),
            property(eGRAPH_TITLEFONTSIZE, "TitleFontSize", VT_I4),
            property(eGRAPH_TITLEFONTBOLD, "TitleFontBold", VT_I4),
            property(eGRAPH_MINVAL0, "MinVal0", VT_I4), property(eGRAPH_YDIGITS, "YDigits", VT_I4),
            property(eGRAPH_TEXTFONT, "TextFont", VT_DISPATCH),
            property(eGRAPH_TITLEFONT, "TitleFont", VT_DISPATCH),
            method(eGRAPH_SETTIMEANDINTERVAL, "setTimeAndInterval",
                {{"a_sTime", VT_BSTR}, {"a_nInterval", VT_I4}}),
            method(eGRAPH_SETTIMEANDINTERVAL2, "setTimeAndInterval2",
                {{"a_time", VT_DATE}, {"a_nInterval", VT_I4}}),
            method(eGRAPH_SETNUMDATAPOINTS, "setNumDataPoints", {{"a_nPoints", VT_I4}}),
            method(
                eGRAPH_SETPLOTCOLOR, "setPlotColor", {{"a_nPlot", VT_I4}, {"a_rgbColor", VT_UI4}}),
            method(eGRAPH_CLEARPLOT, "clearPlot", {{"a_lPlot", VT_I4}}),
            method(eGRAPH_SETDATAPOINT, "setDataPoint",
                {{"a_lPlot", VT_I4}, {"a_lIndex", VT_I4}, {"a_lValue", VT_I4}}, VT_UI1)},
        {});
    return info;
}

// The six properties the time and up-time controls share.
std::vector<ZorMemberInfo> timeMembers()
{
    return {fontProperty(), property(eTIME_USETIMER, "UseTimer", VT_I4),
        property(eTIME_TIMERINTERVAL, "TimerInterval", VT_I4),
        property(eTIME_BOXBORDER, "BoxBorder", VT_I4),
        property(eTIME_BACKGROUNDCOLOR, "BackgroundColor", VT_UI4),
        property(eTIME_TEXTCOLOR, "TextColor", VT_UI4), property(eTIME_JUSTIFY, "Justify", VT_I4)};
}

const ZorTypeInfo& timeType()
{
    static const ZorTypeInfo info
        = makeType(c_nTimeControl, "Time", "_DTime", c_szTimeProgId, timeMembers(), {});
    return info;
}

const ZorTypeInfo& upTimeType()
{
    static const ZorTypeInfo info = [] {
        std::vector<ZorMemberInfo> members = timeMembers();
        members.push_back(method(eUPTIME_GETTIMESTRING, "getTimeString", {}, VT_BSTR));
        // The up-time control's documentation strings name it "zorUPTimeControl".
        return makeType(
            c_nUpTimeControl, "UPTime", "_DUPTime", "zorUPTimeControl", std::move(members), {});
    }();
    return info;
}

const ZorTypeInfo& sysInfoType()
{
    static const ZorTypeInfo info
        = makeType(c_nSysInfoControl, "SystemInfo", "_DSysInfo", c_szSysInfoProgId,
            {fontProperty(), property(eSYSINFO_BACKGROUNDCOLOR, "BackgroundColor", VT_UI4),
                property(eSYSINFO_BOXBORDER, "BoxBorder", VT_I4),
                property(eSYSINFO_TEXTCOLOR, "TextColor", VT_UI4),
                property(eSYSINFO_SHOWTIME, "ShowTime", VT_I4),
                property(eSYSINFO_SHOWUPTIME, "ShowUpTime", VT_I4)},
            {});
    return info;
}

const ZorTypeInfo& progressType()
{
    // Both interfaces are declared without members.
    static const ZorTypeInfo info
        = makeType(c_nProgressControl, "zorProgress", "_DzorProgress", c_szProgressProgId, {}, {});
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

const ZorTypeInfo* zorGraphTypeInfo()
{
    return &graphType();
}

const ZorTypeInfo* zorTimeTypeInfo()
{
    return &timeType();
}

const ZorTypeInfo* zorUpTimeTypeInfo()
{
    return &upTimeType();
}

const ZorTypeInfo* zorSysInfoTypeInfo()
{
    return &sysInfoType();
}

const ZorTypeInfo* zorProgressTypeInfo()
{
    return &progressType();
}

const ZorInterfaceInfo* zorProgressMembers()
{
    static const ZorInterfaceInfo members = [] {
        ZorInterfaceInfo info = progressType().dispatch;
        info.members
            = {fontProperty(), property(ePROGRESS_FOREGROUNDCOLOR, "ForegroundColor", VT_UI4),
                property(ePROGRESS_BACKGROUNDCOLOR, "BackgroundColor", VT_UI4),
                property(ePROGRESS_SHOWPERCENT, "ShowPercent", VT_I4),
                property(ePROGRESS_RANGE, "Range", VT_I4),
                property(ePROGRESS_POSITION, "Position", VT_I4),
                property(ePROGRESS_TEXTCOLOR, "TextColor", VT_UI4),
                property(ePROGRESS_FOREGROUNDCOLOR2, "ForegroundColor2", VT_UI4),
                property(ePROGRESS_SHOWCOUNT, "ShowCount", VT_I4)};
        return info;
    }();
    return &members;
}

const char* zorPropertyName(const ZorTypeInfo* type, DISPID dispid)
{
    const ZorMemberInfo* member = type ? type->dispatch.find(dispid) : nullptr;
    // The progress control's members are not in its declared interface.
    if (!member && type == zorProgressTypeInfo())
        member = zorProgressMembers()->find(dispid);
    Q_ASSERT(member);
    return member ? member->name.c_str() : "";
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
        lib.classes = {&graphType(), &progressType(), &timeType(), &upTimeType(), &urlType(),
            &lightType(), &colorType(), &sysInfoType()};
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
