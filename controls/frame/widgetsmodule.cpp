#include "controls/frame/widgetsmodule.h"

#include "controls/frame/widgetids.h"
#include "controls/frame/widgetstypelib.h"
#include "platform/ole/factory.h"
#include "platform/ole/oleinit.h"
#include "platform/ui/strings.h"
#include "platform/ui/winapp.h"

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

bool CWidgetsModule::InitInstance()
{
    if (m_initialised)
        return true;
    m_initialised = true;
    AfxOleInit();
    // The pages host the colour and URL controls.
    AfxEnableControlContainer();
    m_registryKey = "Zorvex";
    return true;
}

ZOR_OLE_MODULE_ENTRY_POINTS(zorWidgetsTypeLibrary, initWidgets);
