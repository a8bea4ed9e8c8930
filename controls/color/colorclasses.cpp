// The colour control's class factories and type names.

#include "controls/color/coloraboutproppage.h"
#include "controls/color/colorctlproppage.h"
#include "controls/color/colorctrl.h"
#include "controls/frame/widgetclasses.h"
#include "platform/ui/strings.h"

ZOR_STRING_TABLE({
    {IDS_COLOR, "zorColorControl.29"},
    {IDS_COLOR_ABOUTPAGE, "zorColorControl.29 About Page"},
    {IDS_COLOR_PPG, "zorColorControl.29 Property Page"},
});

namespace {

COleObjectFactory colorFactory(ZOR_THIS_MODULE(), zorWidgetGuid(c_nColorControl, eROLE_CLASS),
    c_szColorProgId, zorCreateControl<CColorCtrl>,
    zorWidgetRegistration(IDS_COLOR, IDB_COLOR, true));
COleObjectFactory colorPageFactory(ZOR_THIS_MODULE(), COleObjectFactory::eKIND_PROPERTYPAGE,
    zorWidgetGuid(c_nColorControl, eROLE_PAGE1), nullptr, IDS_COLOR_PPG,
    zorCreatePage<CColorCtlPropPage>);
COleObjectFactory colorAboutFactory(ZOR_THIS_MODULE(), COleObjectFactory::eKIND_PROPERTYPAGE,
    zorWidgetGuid(c_nColorControl, eROLE_PAGE2), nullptr, IDS_COLOR_ABOUTPAGE,
    zorCreatePage<CColorAboutPropPage>);

} // namespace
