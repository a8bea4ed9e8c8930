// zorwait29: the module of the wait-dialog server: its resources, its type library, its class
// factory and the four entry points.

#include "framework/identity/suiteguid.h"
#include "platform/ole/factory.h"
#include "platform/ui/dialogtemplate.h"
#include "platform/ui/strings.h"
#include "platform/ui/window.h"
#include "servers/zorwait29/resource.h"
#include "servers/zorwait29/waitserver.h"

ZOR_STRING_TABLE({{IDS_WAITSERVER_TYPENAME, "zorWaitServer.29"}});

ZOR_DIALOG_TABLE({
    {IDD_WAIT, "Please Wait", 200, 48, "MS Sans Serif", 8,
        DS_SETFONT | DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION,
        {
            {eDLG_STATIC, IDC_WAIT_ICON, "", 7, 7, 21, 20, SS_ICON},
            {eDLG_STATIC, IDC_WAIT_TEXT, "", 36, 9, 157, 16, SS_LEFT | SS_NOPREFIX},
        }},
});

namespace {

const ZorTypeLibrary* waitTypeLibrary()
{
    static const ZorTypeLibrary library = [] {
        ZorTypeLibrary l;
        l.libid = zorSuiteGuid(0x0100, 1);
        l.major = 1;
        l.minor = 0;
        l.name = "ZORWAITLib";
        l.helpString = "zorWaitServer module";
        l.classes = {&CWaitServer::typeInfo()};
        return l;
    }();
    return &library;
}

// The factories are made at load time; nothing else needs setting up.
void initWaitModule() { }

COleObjectFactory s_waitFactory(ZOR_THIS_MODULE(), COleObjectFactory::eKIND_OBJECT,
    zorSuiteGuid(0x0100, 4), "zorWaitServer.29", IDS_WAITSERVER_TYPENAME,
    [] { return static_cast<IUnknown*>(new CWaitServer); });

} // namespace

ZOR_OLE_MODULE_ENTRY_POINTS(waitTypeLibrary, initWaitModule);
