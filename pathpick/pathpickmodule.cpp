#include "pathpick/pathpickmodule.h"

#include "pathpick/pathpickctrl.h"
#include "pathpick/pathpickids.h"
#include "pathpick/pathpickproppage.h"
#include "pathpick/pathpicktypelib.h"
#include "platform/ole/factory.h"
#include "platform/ui/strings.h"

ZOR_STRING_TABLE({
    {IDS_PATHPICK, "zorPathPickControl.29"},
    {IDS_PATHPICK_PPG, "zorPathPickControl.29 Property Page"},
    {IDS_PATHPICK_GENERAL, "General"},
});

namespace {

// The picker registers as not insertable, apartment-threaded, with the miscellaneous status
// 0x20191 and the module's type library.
ZorControlRegistration pathPickRegistration()
{
    return {.typeNameId = IDS_PATHPICK,
        .toolboxBitmapId = IDB_PATHPICK,
        .typeLibrary = LIBID_zorPathPick,
        .major = c_wPathPickTypeLibMajor,
        .minor = c_wPathPickTypeLibMinor};
}

// The class factories, registered for as long as the module is loaded: the control and its
// only page.
const COleObjectFactory pathPickFactory(
    ZOR_THIS_MODULE(), CLSID_zorPathPick, c_szPathPickProgId,
    [] { return static_cast<IUnknown*>(static_cast<CDispatchImpl*>(new CPathPickCtrl)); },
    pathPickRegistration());
const COleObjectFactory pageFactory(ZOR_THIS_MODULE(), COleObjectFactory::eKIND_PROPERTYPAGE,
    CLSID_zorPathPickPropPage, nullptr, IDS_PATHPICK_PPG,
    [] { return static_cast<IUnknown*>(new CPathPickPropPage); });

void initPathPick()
{
    CPathPickModule::instance().InitInstance();
}

} // namespace

CPathPickModule& CPathPickModule::instance()
{
    static CPathPickModule module;
    return module;
}

bool CPathPickModule::InitInstance()
{
    if (initialised())
        return true;
    CControlModule::InitInstance();
    m_profile.initProfile("Zorvex", "PathPick", "2.00");
    return true;
}

ZOR_OLE_MODULE_ENTRY_POINTS(zorPathPickTypeLibrary, initPathPick);
