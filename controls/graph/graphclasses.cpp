// The graph's class factories and type names. The graph is marked safe for scripting and for
// initialisation from persisted data.

#include "controls/frame/widgetclasses.h"
#include "controls/graph/graphaboutproppage.h"
#include "controls/graph/graphctrl.h"
#include "controls/graph/graphproppage.h"
#include "controls/graph/graphproppage2.h"
#include "platform/ui/strings.h"

ZOR_STRING_TABLE({
    {IDS_GRAPH, "zorGraphControl.29"},
    {IDS_GRAPH_ABOUTPAGE, "zorGraphControl.29 About Page"},
    {IDS_GRAPH_PPG, "zorGraphControl.29 Property Page"},
    {IDS_GRAPH_PPG2, "zorGraphControl.29 Property Page 2"},
});

namespace {

const CWidgetClasses classes(c_nGraphControl, c_szGraphProgId, zorCreateControl<CGraphCtrl>,
    zorWidgetRegistration(IDS_GRAPH, IDB_GRAPH, true),
    {{eROLE_PAGE1, IDS_GRAPH_PPG, zorCreatePage<CGraphPropPage>},
        {eROLE_PAGE2, IDS_GRAPH_PPG2, zorCreatePage<CGraphPropPage2>},
        {eROLE_PAGE3, IDS_GRAPH_ABOUTPAGE, zorCreatePage<CGraphAboutPropPage>}});

} // namespace
