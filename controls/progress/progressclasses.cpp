// The progress control's class factories and type names.

#include "controls/frame/widgetclasses.h"
#include "controls/progress/progressaboutproppage.h"
#include "controls/progress/progressctl.h"
#include "controls/progress/progressproppage.h"
#include "platform/ui/strings.h"

ZOR_STRING_TABLE({
    {IDS_PROGRESS, "zorProgressControl.29"},
    {IDS_PROGRESS_ABOUTPAGE, "zorProgressControl.29 About Page"},
    {IDS_PROGRESS_PPG, "zorProgressControl.29 Property Page"},
});

namespace {

const CWidgetClasses classes(c_nProgressControl, c_szProgressProgId, zorCreateControl<CProgressCtl>,
    zorWidgetRegistration(IDS_PROGRESS, IDB_PROGRESS, false),
    {{eROLE_PAGE1, IDS_PROGRESS_PPG, zorCreatePage<CProgressPropPage>},
        {eROLE_PAGE2, IDS_PROGRESS_ABOUTPAGE, zorCreatePage<CProgressAboutPropPage>}});

} // namespace
