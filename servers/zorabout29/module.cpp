// zorabout29: the module of the about-box server: its resources, its type library, its class
// factory and the four entry points.

#include "framework/identity/suiteguid.h"
#include "platform/ole/factory.h"
#include "platform/ui/dialogtemplate.h"
#include "platform/ui/messagebox.h"
#include "platform/ui/strings.h"
#include "platform/ui/window.h"
#include "servers/zorabout29/aboutserver.h"
#include "servers/zorabout29/resource.h"

ZOR_STRING_TABLE({{IDS_ABOUTSERVER_TYPENAME, "zorAboutServer.29"}});

ZOR_DIALOG_TABLE({
    {IDD_ABOUT, "About", 260, 150, "MS Sans Serif", 8,
        DS_SETFONT | DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU,
        {
            {eDLG_STATIC, IDC_ABOUT_ICON, "", 7, 7, 21, 20, SS_ICON},
            {eDLG_STATIC, IDC_ABOUT_PROGRAM, "", 36, 8, 217, 16, SS_LEFT | SS_NOPREFIX},
            {eDLG_STATIC, IDC_ABOUT_BUILT, "", 36, 26, 217, 8, SS_LEFT | SS_NOPREFIX},
            {eDLG_LISTBOX, IDC_ABOUT_MODULES, "", 7, 40, 246, 84,
                LBS_NOSEL | LBS_USETABSTOPS | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_BORDER},
            {eDLG_BUTTON, IDOK, "OK", 105, 129, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP},
        }},
});

namespace {

const ZorTypeLibrary* aboutTypeLibrary()
{
    static const ZorTypeLibrary library = [] {
        ZorTypeLibrary l;
        l.libid = zorSuiteGuid(0x0101, 1);
        l.major = 1;
        l.minor = 0;
        l.name = "ZORABOUTLib";
        l.helpString = "zorAboutServer module";
        l.classes = {&CAboutServer::typeInfo()};
        return l;
    }();
    return &library;
}

// The factories are made at load time; nothing else needs setting up.
void initAboutModule() { }

COleObjectFactory s_aboutFactory(ZOR_THIS_MODULE(), COleObjectFactory::eKIND_OBJECT,
    zorSuiteGuid(0x0101, 4), "zorAboutServer.29", IDS_ABOUTSERVER_TYPENAME,
    [] { return static_cast<IUnknown*>(new CAboutServer); });

} // namespace

ZOR_OLE_MODULE_ENTRY_POINTS(aboutTypeLibrary, initAboutModule);
