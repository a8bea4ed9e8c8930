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

const CWidgetClasses classes(c_nColorControl, c_szColorProgId, zorCreateControl<CColorCtrl>,
    zorWidgetRegistration(IDS_COLOR, IDB_COLOR, true),
    {{eROLE_PAGE1, IDS_COLOR_PPG, zorCreatePage<CColorCtlPropPage>},
        {eROLE_PAGE2, IDS_COLOR_ABOUTPAGE, zorCreatePage<CColorAboutPropPage>}});

} // namespace
