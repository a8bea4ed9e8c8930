#include "controls/frame/widgetsmodule.h"

#include "controls/color/coloraboutproppage.h"
#include "controls/color/colorctlproppage.h"
#include "controls/color/colorctrl.h"
#include "controls/frame/widgetids.h"
#include "controls/frame/widgetstypelib.h"
#include "controls/light/lightaboutproppage.h"
#include "controls/light/lightctrl.h"
#include "controls/light/lightproppage.h"
#include "controls/url/urlaboutproppage.h"
#include "controls/url/urlctrl.h"
#include "controls/url/urlproppage.h"
#include "controls/url/urlproppage2.h"
#include "platform/ole/factory.h"
#include "platform/ui/strings.h"
#include "platform/ui/winapp.h"

ZOR_STRING_TABLE({
    {IDS_GENERAL, "General"},
    {IDS_ABOUT, "About"},
    {IDS_COLORS, "Colors"},
    {IDS_COLOR, "zorColorControl.29"},
    {IDS_COLOR_ABOUTPAGE, "zorColorControl.29 About Page"},
    {IDS_COLOR_PPG, "zorColorControl.29 Property Page"},
    {IDS_LIGHT, "zorLightControl.29"},
    {IDS_LIGHT_ABOUTPAGE, "zorLightControl.29 About Page"},
    {IDS_LIGHT_PPG, "zorLightControl.29 Property Page"},
    {IDS_URL, "zorURLControl.29"},
    {IDS_URL_ABOUTPAGE, "zorURLControl.29 About Page"},
    {IDS_URL_PPG, "zorURLControl.29 Property Page"},
    {IDS_URL_PPG2, "zorURLControl.29 Property Page 2"},
});

namespace {

ZorControlRegistration controlRegistration(UINT typeNameId, UINT bitmapId, bool safeCategories)
{
    ZorControlRegistration registration;
    registration.typeNameId = typeNameId;
    registration.toolboxBitmapId = bitmapId;
    registration.insertable = true;
    registration.miscStatus = 0x20191;
    registration.typeLibrary = LIBID_zorWidgets;
    registration.major = c_wTypeLibMajor;
    registration.minor = c_wTypeLibMinor;
    registration.safeCategories = safeCategories;
    return registration;
}

template<class T> IUnknown* createControl()
{
    return static_cast<CDispatchImpl*>(new T);
}

template<class T> IUnknown* createPage()
{
    return static_cast<IUnknown*>(new T);
}

// The class factories, control by control: the control, then its pages.
COleObjectFactory urlFactory(ZOR_THIS_MODULE(), zorWidgetGuid(c_nUrlControl, eROLE_CLASS),
    c_szUrlProgId, createControl<CUrlCtrl>, controlRegistration(IDS_URL, IDB_URL, false));
COleObjectFactory urlPageFactory(ZOR_THIS_MODULE(), COleObjectFactory::eKIND_PROPERTYPAGE,
    zorWidgetGuid(c_nUrlControl, eROLE_PAGE1), nullptr, IDS_URL_PPG, createPage<CUrlPropPage>);
COleObjectFactory urlPage2Factory(ZOR_THIS_MODULE(), COleObjectFactory::eKIND_PROPERTYPAGE,
    zorWidgetGuid(c_nUrlControl, eROLE_PAGE2), nullptr, IDS_URL_PPG2, createPage<CUrlPropPage2>);
COleObjectFactory urlAboutFactory(ZOR_THIS_MODULE(), COleObjectFactory::eKIND_PROPERTYPAGE,
    zorWidgetGuid(c_nUrlControl, eROLE_PAGE3), nullptr, IDS_URL_ABOUTPAGE,
    createPage<CURLAboutPropPage>);

COleObjectFactory lightFactory(ZOR_THIS_MODULE(), zorWidgetGuid(c_nLightControl, eROLE_CLASS),
    c_szLightProgId, createControl<CLightCtrl>, controlRegistration(IDS_LIGHT, IDB_LIGHT, false));
COleObjectFactory lightPageFactory(ZOR_THIS_MODULE(), COleObjectFactory::eKIND_PROPERTYPAGE,
    zorWidgetGuid(c_nLightControl, eROLE_PAGE1), nullptr, IDS_LIGHT_PPG,
    createPage<CLightPropPage>);
COleObjectFactory lightAboutFactory(ZOR_THIS_MODULE(), COleObjectFactory::eKIND_PROPERTYPAGE,
    zorWidgetGuid(c_nLightControl, eROLE_PAGE2), nullptr, IDS_LIGHT_ABOUTPAGE,
    createPage<CLightAboutPropPage>);

COleObjectFactory colorFactory(ZOR_THIS_MODULE(), zorWidgetGuid(c_nColorControl, eROLE_CLASS),
    c_szColorProgId, createControl<CColorCtrl>, controlRegistration(IDS_COLOR, IDB_COLOR, true));
COleObjectFactory colorPageFactory(ZOR_THIS_MODULE(), COleObjectFactory::eKIND_PROPERTYPAGE,
    zorWidgetGuid(c_nColorControl, eROLE_PAGE1), nullptr, IDS_COLOR_PPG,
    createPage<CColorCtlPropPage>);
COleObjectFactory colorAboutFactory(ZOR_THIS_MODULE(), COleObjectFactory::eKIND_PROPERTYPAGE,
    zorWidgetGuid(c_nColorControl, eROLE_PAGE2), nullptr, IDS_COLOR_ABOUTPAGE,
    createPage<CColorAboutPropPage>);

void initWidgets()
{
    CWidgetsModule::instance().InitInstance();
}

} // namespace

CWidgetsModule& CWidgetsModule::instance()
{
    static CWidgetsModule module;
    return module;
}

bool CWidgetsModule::InitInstance()
{
    if (m_initialised)
        return true;
    m_initialised = true;
    AfxOleInit();
    // The pages host the colour and URL controls.
    AfxEnableControlContainer();
    m_registryKey = "Zorvex";
    return true;
}

ZOR_OLE_MODULE_ENTRY_POINTS(zorWidgetsTypeLibrary, initWidgets);
