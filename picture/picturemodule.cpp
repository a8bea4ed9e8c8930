#include "picture/picturemodule.h"

#include "picture/jpegctrl.h"
#include "picture/jpegproppage.h"
#include "picture/pictureids.h"
#include "picture/picturetypelib.h"
#include "platform/imaging/imaging.h"
#include "platform/ole/factory.h"
#include "platform/ui/strings.h"

ZOR_STRING_TABLE({
    {IDS_JPEG, "zorJPEGControl.29"},
    {IDS_JPEG_PPG, "zorJPEGControl.29 Property Page"},
    {IDS_JPEG_PPG_CAPTION, "General"},
});

namespace {

// The picture registers as not insertable, apartment-threaded, with the miscellaneous status
// 0x20191 and the module's type library.
ZorControlRegistration jpegRegistration()
{
    return {.typeNameId = IDS_JPEG,
        .toolboxBitmapId = IDB_JPEG,
        .typeLibrary = LIBID_JPEGLib,
        .major = c_wJPEGTypeLibMajor,
        .minor = c_wJPEGTypeLibMinor};
}

// The class factories, registered for as long as the module is loaded: the control, then its
// only page (no About page).
const COleObjectFactory jpegFactory(
    ZOR_THIS_MODULE(), CLSID_JPEG, c_szJPEGProgId,
    [] { return static_cast<IUnknown*>(static_cast<CDispatchImpl*>(new CJPEGCtrl)); },
    jpegRegistration());
const COleObjectFactory pageFactory(ZOR_THIS_MODULE(), COleObjectFactory::eKIND_PROPERTYPAGE,
    CLSID_JPEGPropPage, c_szJPEGPropPageName, IDS_JPEG_PPG,
    [] { return static_cast<IUnknown*>(new CJPEGPropPage); });

void initPicture()
{
    CPictureModule::instance().start();
}

} // namespace

CPictureModule& CPictureModule::instance()
{
    static CPictureModule module;
    return module;
}

void CPictureModule::start()
{
    if (m_started)
        return;
    m_started = true;
    InitInstance();
    _ISInitialize("Zorvex");
    m_profile.initProfile("Zorvex", "JPEG", "2.00");
}

ZOR_OLE_MODULE_ENTRY_POINTS(zorJPEGTypeLibrary, initPicture);
