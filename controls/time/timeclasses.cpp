// The time control's class factories and type names.

#include "controls/frame/widgetclasses.h"
#include "controls/time/timeaboutproppage.h"
#include "controls/time/timectrl.h"
#include "controls/time/timeproppage.h"
#include "platform/ui/strings.h"

ZOR_STRING_TABLE({
    {IDS_TIME, "zorTimeControl.29"},
    {IDS_TIME_ABOUTPAGE, "zorTimeControl.29 About Page"},
    {IDS_TIME_PPG, "zorTimeControl.29 Property Page"},
});

namespace {

const CWidgetClasses classes(c_nTimeControl, c_szTimeProgId, zorCreateControl<CTimeCtrl>,
    zorWidgetRegistration(IDS_TIME, IDB_TIME, false),
    {{eROLE_PAGE1, IDS_TIME_PPG, zorCreatePage<CTimePropPage>},
        {eROLE_PAGE2, IDS_TIME_ABOUTPAGE, zorCreatePage<CTimeAboutPropPage>}});

} // namespace
