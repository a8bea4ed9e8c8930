// The system information control's class factories and type names.

#include "controls/frame/widgetclasses.h"
#include "controls/sysinfo/sysinfoaboutproppage.h"
#include "controls/sysinfo/sysinfoctrl.h"
#include "controls/sysinfo/sysinfoproppage.h"
#include "platform/ui/strings.h"

ZOR_STRING_TABLE({
    {IDS_SYSINFO, "zorSysInfoControl.29"},
    {IDS_SYSINFO_ABOUTPAGE, "zorSysInfoControl.29 About Page"},
    {IDS_SYSINFO_PPG, "zorSysInfoControl.29 Property Page"},
});

namespace {

const CWidgetClasses classes(c_nSysInfoControl, c_szSysInfoProgId,
    zorCreateControl<CSystemInfoCtrl>, zorWidgetRegistration(IDS_SYSINFO, IDB_SYSINFO, false),
    {{eROLE_PAGE1, IDS_SYSINFO_PPG, zorCreatePage<CSystemInfoPropPage>},
        {eROLE_PAGE2, IDS_SYSINFO_ABOUTPAGE, zorCreatePage<CSysInfoAboutPropPage>}});

} // namespace
