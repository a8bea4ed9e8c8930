// The link's class factories and type names.

#include "controls/frame/widgetclasses.h"
#include "controls/url/urlaboutproppage.h"
#include "controls/url/urlctrl.h"
#include "controls/url/urlproppage.h"
#include "controls/url/urlproppage2.h"
#include "platform/ui/strings.h"

ZOR_STRING_TABLE({
    {IDS_URL, "zorURLControl.29"},
    {IDS_URL_ABOUTPAGE, "zorURLControl.29 About Page"},
    {IDS_URL_PPG, "zorURLControl.29 Property Page"},
    {IDS_URL_PPG2, "zorURLControl.29 Property Page 2"},
});

namespace {

const CWidgetClasses classes(c_nUrlControl, c_szUrlProgId, zorCreateControl<CUrlCtrl>,
    zorWidgetRegistration(IDS_URL, IDB_URL, false),
    {{eROLE_PAGE1, IDS_URL_PPG, zorCreatePage<CUrlPropPage>},
        {eROLE_PAGE2, IDS_URL_PPG2, zorCreatePage<CUrlPropPage2>},
        {eROLE_PAGE3, IDS_URL_ABOUTPAGE, zorCreatePage<CURLAboutPropPage>}});

} // namespace
