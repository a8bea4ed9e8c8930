#pragma once

// CzorApp: the application base class of the framework.
//
// It bundles the platform's application object with the settings store, the one-instance
// guard and the operating-system test, and gives every application of the suite the same
// start-up sequence (initInstance), version checks of the modules it depends on, a readme page
// shown once on the first run, and the commands Help, Web Site and About.
//
//     class CCorvaneApp : public CzorApp
//     {
//     public:
//         CCorvaneApp() : CzorApp("Zorvex", "Corvane", "V2.01", 63, 129, readmeAddress) { }
//         BOOL InitInstance() override
//         {
//             if (!initInstance("2002.06.11.00"))
//                 return FALSE;
//             ...
//         }
//     };
//
// Commands: the main window routes the frame's three commands to onAppCommand (from its
// OnCmdMsg and from the handler of its system menu), which runs onPopupHelp for
// ID_POPUP_HELP (34001), onPopupWebsite for ID_POPUP_WEBSITE (34002) and onAppAbout for the
// platform's ID_APP_ABOUT (57664), and answers false for any other command.
//
// The readme flag is "Readme" in section "Options" under the current-user root (a bool,
// true until the first run has opened the readme address or found none).
//
// The help file is the application name followed by ".chm" in the program's directory; it
// opens in the desktop's help viewer.
//
// The about box is the outside server "zorAboutServer.29", created through the component
// layer; when it cannot be created, About does nothing.

#include "framework/frame/checkosversion.h"
#include "framework/frame/oneinstance.h"
#include "framework/settings/profile.h"
#include "platform/ui/winapp.h"

#include <string>

// The frame's commands.
constexpr UINT ID_POPUP_HELP = 34001;
constexpr UINT ID_POPUP_WEBSITE = 34002;

class CzorApp : public CWinApp, public CProfile, public COneInstance, public CCheckOSVersion
{
public:
    // Stores the six values and makes this object the application object (m_pzorApp).
    CzorApp(const char* company, const char* appName, const char* version, int osMask, UINT iconId,
        const char* readmeAddress);
    ~CzorApp() override;

    // The start-up sequence; non-zero on success. The application calls it first in its own
    // start-up and ends when it returns 0.
    int initInstance(const char* minimumVersion);

    // Enables the hosting of controls by class id.
    virtual void initContainer();
    // checkModuleVersion for every entry of getModuleList in order; false at the first
    // failure.
    virtual bool checkVersions(const char* minimumVersion);
    // What every application supplies: its icon resource, the modules whose versions are
    // tested at start (closed by an empty entry) and the text of its build date and time.
    virtual UINT getIconId() = 0;
    virtual const char* const* getModuleList() = 0;
    virtual std::string getBuildTime() = 0;

    // True when the module is found and its four-part version text is not smaller than the
    // minimum; otherwise the user is told why, with a stop box.
    static bool checkModuleVersion(const char* moduleName, const char* minimumVersion);

    // Opens the readme address. With firstRunOnly the readme opens only while "Readme" is
    // true, which it then clears.
    void showReadme(bool firstRunOnly);

    // The command handlers.
    void onPopupHelp();
    void onPopupWebsite();
    void onAppAbout();
    // Runs the handler of one of the frame's commands; true when the command was one of them.
    bool onAppCommand(UINT nID);

    int ExitInstance() override;

    // The one application object.
    static CzorApp* m_pzorApp;

private:
    // The readme step the start-up timer runs once, a second after a successful start.
    static void onReadmeTimer(HWND hWnd, UINT message, UINT_PTR idEvent, DWORD time);
    // Asks the shell to open the readme address, with the main window as owner.
    void openReadmeAddress() const;

    std::string m_appName;
    std::string m_company;
    std::string m_version;
    int m_nOSMask {0};
    UINT m_nIconId {0};
    std::string m_readmeAddress;
    // The start-up timer while it is pending, so a destroyed application stops it.
    UINT_PTR m_nReadmeTimer {0};
};
