#include "controls/frame/widgetstypelib.h"

#include "controls/frame/widgetids.h"

#include <QtCore/QtGlobal>

namespace {

ZorMemberInfo clickEvent()
{
    return zorMethod(DISPID_CLICK, "Click", {});
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
    return zorProperty(DISPID_FONT, "Font", VT_DISPATCH);
}

const ZorTypeInfo& lightType()
{
    static const ZorTypeInfo info = makeType(c_nLightControl, "Light", "_DLight", c_szLightProgId,
        {zorProperty(eLIGHT_COLOR, "Color", VT_UI4),
            zorProperty(eLIGHT_BACKGROUND, "Background", VT_UI4),
            zorProperty(eLIGHT_STATE, "State", VT_I4),
            zorMethod(eLIGHT_SETSTATECOLOR, "setStateColor",
                {{"a_bState", VT_I4}, {"a_rgbColor", VT_UI4}}),
            zorProperty(DISPID_VALUE, "_Color", VT_UI4)},
        {clickEvent()});
    return info;
}

const ZorTypeInfo& colorType()
{
    static const ZorTypeInfo info
        = makeType(c_nColorControl, "ColorControl", "_DColor", c_szColorProgId,
            {fontProperty(), zorProperty(eCOLOR_SHOWHEXVALUE, "ShowHexValue", VT_I4),
                zorProperty(eCOLOR_USEWINDOWSCOLOR, "UseWindowsColor", VT_I4),
                zorProperty(eCOLOR_WINDOWSCOLORIDX, "WindowsColorIdx", VT_I4),
                zorProperty(eCOLOR_RGBCOLOR, "RGBColor", VT_UI4),
                zorProperty(DISPID_VALUE, "_RGBColor", VT_UI4)},
            {clickEvent()});
    return info;
}

const ZorTypeInfo& urlType()
{
    // The URL control's documentation strings spell its ProgID "zorUrlControl.29".
    static const ZorTypeInfo info = makeType(c_nUrlControl, "URL", "_DUrl", "zorUrlControl.29",
        {fontProperty(), zorProperty(eURL_URL, "URL", VT_BSTR), zorProperty(eURL_BOX, "Box", VT_I4),
            zorProperty(eURL_COLOR, "Color", VT_UI4),
            zorProperty(eURL_VISITEDCOLOR, "VisitedColor", VT_UI4),
            zorProperty(eURL_BACKGROUNDCOLOR, "BackgroundColor", VT_UI4),
            zorProperty(eURL_JUSTIFY, "Justify", VT_I4),
            zorProperty(DISPID_VALUE, "_URL", VT_BSTR)},
        {});
    return info;
}

const ZorTypeInfo& graphType()
{
    // ShowCaption and setDataPoint's result are declared one-byte values (VT_UI1).
    static const ZorTypeInfo info = makeType(c_nGraphControl, "Graph", "_DGraph", c_szGraphProgId,
        {zorProperty(eGRAPH_BACKGROUNDCOLOR, "BackgroundColor", VT_UI4),
            zorProperty(eGRAPH_GRAPHCAPTION, "GraphCaption", VT_BSTR),
            zorProperty(eGRAPH_GRAPHCOLOR, "GraphColor", VT_UI4),
            zorProperty(eGRAPH_GRIDCOLOR, "GridColor", VT_UI4),
            zorProperty(eGRAPH_SCALECOLOR, "ScaleColor", VT_UI4),
            zorProperty(eGRAPH_SHOWCAPTION, "ShowCaption", VT_UI1),
            zorProperty(eGRAPH_SHOWGRID, "ShowGrid", VT_I4),
            zorProperty(eGRAPH_BOXBORDER, "BoxBorder", VT_I4),
            zorProperty(eGRAPH_TEXTFONTFACE, "TextFontFace", VT_BSTR),
            zorProperty(eGRAPH_TEXTFONTSIZE, "TextFontSize", VT_I4),
            zorProperty(eGRAPH_TEXTFONTBOLD, "TextFontBold", VT_I4),
            zorProperty(eGRAPH_TITLEFONTFACE, "TitleFontFace", VT_BSTR),
            zorProperty(eGRAPH_TITLEFONTSIZE, "TitleFontSize", VT_I4),
            zorProperty(eGRAPH_TITLEFONTBOLD, "TitleFontBold", VT_I4),
            zorProperty(eGRAPH_MINVAL0, "MinVal0", VT_I4),
            zorProperty(eGRAPH_YDIGITS, "YDigits", VT_I4),
            zorProperty(eGRAPH_TEXTFONT, "TextFont", VT_DISPATCH),
            zorProperty(eGRAPH_TITLEFONT, "TitleFont", VT_DISPATCH),
            zorMethod(eGRAPH_SETTIMEANDINTERVAL, "setTimeAndInterval",
                {{"a_sTime", VT_BSTR}, {"a_nInterval", VT_I4}}),
            zorMethod(eGRAPH_SETTIMEANDINTERVAL2, "setTimeAndInterval2",
                {{"a_time", VT_DATE}, {"a_nInterval", VT_I4}}),
            zorMethod(eGRAPH_SETNUMDATAPOINTS, "setNumDataPoints", {{"a_nPoints", VT_I4}}),
            zorMethod(
                eGRAPH_SETPLOTCOLOR, "setPlotColor", {{"a_nPlot", VT_I4}, {"a_rgbColor", VT_UI4}}),
            zorMethod(eGRAPH_CLEARPLOT, "clearPlot", {{"a_lPlot", VT_I4}}),
            zorMethod(eGRAPH_SETDATAPOINT, "setDataPoint",
                {{"a_lPlot", VT_I4}, {"a_lIndex", VT_I4}, {"a_lValue", VT_I4}}, VT_UI1)},
        {});
    return info;
}

// The six properties the time and up-time controls share.
std::vector<ZorMemberInfo> timeMembers()
{
    return {fontProperty(), zorProperty(eTIME_USETIMER, "UseTimer", VT_I4),
        zorProperty(eTIME_TIMERINTERVAL, "TimerInterval", VT_I4),
        zorProperty(eTIME_BOXBORDER, "BoxBorder", VT_I4),
        zorProperty(eTIME_BACKGROUNDCOLOR, "BackgroundColor", VT_UI4),
        zorProperty(eTIME_TEXTCOLOR, "TextColor", VT_UI4),
        zorProperty(eTIME_JUSTIFY, "Justify", VT_I4)};
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
        members.push_back(zorMethod(eUPTIME_GETTIMESTRING, "getTimeString", {}, VT_BSTR));
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
            {fontProperty(), zorProperty(eSYSINFO_BACKGROUNDCOLOR, "BackgroundColor", VT_UI4),
                zorProperty(eSYSINFO_BOXBORDER, "BoxBorder", VT_I4),
                zorProperty(eSYSINFO_TEXTCOLOR, "TextColor", VT_UI4),
                zorProperty(eSYSINFO_SHOWTIME, "ShowTime", VT_I4),
                zorProperty(eSYSINFO_SHOWUPTIME, "ShowUpTime", VT_I4)},
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
            = {fontProperty(), zorProperty(ePROGRESS_FOREGROUNDCOLOR, "ForegroundColor", VT_UI4),
                zorProperty(ePROGRESS_BACKGROUNDCOLOR, "BackgroundColor", VT_UI4),
                zorProperty(ePROGRESS_SHOWPERCENT, "ShowPercent", VT_I4),
                zorProperty(ePROGRESS_RANGE, "Range", VT_I4),
                zorProperty(ePROGRESS_POSITION, "Position", VT_I4),
                zorProperty(ePROGRESS_TEXTCOLOR, "TextColor", VT_UI4),
                zorProperty(ePROGRESS_FOREGROUNDCOLOR2, "ForegroundColor2", VT_UI4),
                zorProperty(ePROGRESS_SHOWCOUNT, "ShowCount", VT_I4)};
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
