// The up-time control's class factories and type names.

#include "controls/frame/widgetclasses.h"
#include "controls/uptime/uptimeaboutproppage.h"
#include "controls/uptime/uptimectrl.h"
#include "controls/uptime/uptimeproppage.h"
#include "platform/ui/strings.h"

ZOR_STRING_TABLE({
    {IDS_UPTIME, "zorUpTimeControl.29"},
    {IDS_UPTIME_ABOUTPAGE, "zorUpTimeControl.29 About Page"},
    {IDS_UPTIME_PPG, "zorUpTimeControl.29 Property Page"},
});

namespace {

const CWidgetClasses classes(c_nUpTimeControl, c_szUpTimeProgId, zorCreateControl<CUPTimeCtrl>,
    zorWidgetRegistration(IDS_UPTIME, IDB_UPTIME, false),
    {{eROLE_PAGE1, IDS_UPTIME_PPG, zorCreatePage<CUPTimePropPage>},
        {eROLE_PAGE2, IDS_UPTIME_ABOUTPAGE, zorCreatePage<CUpTimeAboutPropPage>}});

} // namespace
