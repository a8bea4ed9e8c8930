#include "controls/frame/widgetsmodule.h"

#include "controls/frame/widgetids.h"
#include "controls/frame/widgetstypelib.h"
#include "platform/ole/factory.h"
#include "platform/ui/strings.h"

ZOR_STRING_TABLE({
    {IDS_GENERAL, "General"},
    {IDS_ABOUT, "About"},
    {IDS_COLORS, "Colors"},
});

namespace {

void initWidgets()
{
    CWidgetsModule::instance().InitInstance();
}

} // namespace

CWidgetsModule& CWidgetsModule::instance()
{
    static CWidgetsModule module;
    return module;
}

ZOR_OLE_MODULE_ENTRY_POINTS(zorWidgetsTypeLibrary, initWidgets);
