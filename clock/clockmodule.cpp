#include "clock/clockmodule.h"

#include "clock/clockctrl.h"
#include "clock/clockids.h"
#include "clock/clockproppage.h"
#include "clock/clocktypelib.h"
#include "framework/controls/aboutproppage.h"
#include "platform/ole/factory.h"
#include "platform/ui/strings.h"

ZOR_STRING_TABLE({
    {IDS_CLOCK, "zorClockControl.29"},
    {IDS_CLOCK_PPG, "zorClockPropPage.29"},
    {IDS_CLOCK_GENERAL, "General"},
    {IDS_CLOCK_ABOUT, "About"},
});

namespace {

// The clock registers as insertable, apartment-threaded, with the miscellaneous status 0x20191
// and the module's type library.
ZorControlRegistration clockRegistration()
{
    return {.typeNameId = IDS_CLOCK,
        .toolboxBitmapId = IDB_CLOCK,
        .insertable = true,
        .typeLibrary = LIBID_zorClock,
        .major = c_wClockTypeLibMajor,
        .minor = c_wClockTypeLibMinor};
}

// The class factories, registered for as long as the module is loaded: the control, then its
// General and About pages.
const COleObjectFactory clockFactory(
    ZOR_THIS_MODULE(), CLSID_zorClock, c_szClockProgId,
    [] { return static_cast<IUnknown*>(static_cast<CDispatchImpl*>(new CClockCtrl)); },
    clockRegistration());
const COleObjectFactory pageFactory(ZOR_THIS_MODULE(), COleObjectFactory::eKIND_PROPERTYPAGE,
    CLSID_zorClockPropPage, nullptr, IDS_CLOCK_PPG,
    [] { return static_cast<IUnknown*>(new CClockPropPage); });
const COleObjectFactory aboutFactory(ZOR_THIS_MODULE(), COleObjectFactory::eKIND_PROPERTYPAGE,
    CLSID_zorClockAboutPropPage, nullptr, IDS_CLOCK_ABOUT, [] {
        return static_cast<IUnknown*>(
            new CZorAboutPropPage(IDD_CLOCK_ABOUT, IDC_CLOCK_VERSION, IDS_CLOCK_ABOUT));
    });

void initClock()
{
    CClockModule::instance().InitInstance();
}

} // namespace

CClockModule& CClockModule::instance()
{
    static CClockModule module;
    return module;
}

ZOR_OLE_MODULE_ENTRY_POINTS(zorClockTypeLibrary, initClock);
