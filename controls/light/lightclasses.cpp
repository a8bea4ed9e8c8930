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

const CWidgetClasses classes(c_nLightControl, c_szLightProgId, zorCreateControl<CLightCtrl>,
    zorWidgetRegistration(IDS_LIGHT, IDB_LIGHT, false),
    {{eROLE_PAGE1, IDS_LIGHT_PPG, zorCreatePage<CLightPropPage>},
        {eROLE_PAGE2, IDS_LIGHT_ABOUTPAGE, zorCreatePage<CLightAboutPropPage>}});

} // namespace
