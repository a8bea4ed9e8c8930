// The light's class factories and type names.

#include "controls/frame/widgetclasses.h"
#include "controls/light/lightaboutproppage.h"
#include "controls/light/lightctrl.h"
#include "controls/light/lightproppage.h"
#include "platform/ui/strings.h"

ZOR_STRING_TABLE({
    {IDS_LIGHT, "zorLightControl.29"},
    {IDS_LIGHT_ABOUTPAGE, "zorLightControl.29 About Page"},
    {IDS_LIGHT_PPG, "zorLightControl.29 Property Page"},
});

namespace {

COleObjectFactory lightFactory(ZOR_THIS_MODULE(), zorWidgetGuid(c_nLightControl, eROLE_CLASS),
    c_szLightProgId, zorCreateControl<CLightCtrl>,
    zorWidgetRegistration(IDS_LIGHT, IDB_LIGHT, false));
COleObjectFactory lightPageFactory(ZOR_THIS_MODULE(), COleObjectFactory::eKIND_PROPERTYPAGE,
    zorWidgetGuid(c_nLightControl, eROLE_PAGE1), nullptr, IDS_LIGHT_PPG,
    zorCreatePage<CLightPropPage>);
COleObjectFactory lightAboutFactory(ZOR_THIS_MODULE(), COleObjectFactory::eKIND_PROPERTYPAGE,
    zorWidgetGuid(c_nLightControl, eROLE_PAGE2), nullptr, IDS_LIGHT_ABOUTPAGE,
    zorCreatePage<CLightAboutPropPage>);

} // namespace
