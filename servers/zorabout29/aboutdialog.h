#pragma once

// CAboutDialog: the about box: the program's icon, its path and build time, and one line per
// listed module with the version found for it.

#include "platform/ui/dialog.h"

#include <string>
#include <vector>

class CAboutDialog : public CDialog
{
public:
    CAboutDialog(std::string programPath, std::string buildTime, HICON icon,
        std::vector<std::string> moduleLines);

    // The modal box; IDOK when closed. With ZORVEX_SERVER_NOSHOW=1 the box is created,
    // filled and destroyed without a message loop, and the result is IDOK when it could be
    // created.
    INT_PTR showBox(CWnd* pOwner);

    BOOL OnInitDialog() override;

private:
    std::string m_programPath;
    std::string m_buildTime;
    HICON m_icon {nullptr};
    std::vector<std::string> m_moduleLines;
};
