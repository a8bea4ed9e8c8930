#pragma once

// The test container's application: the framework's application frame with the container
// dialog as its main window. The command line (containeroptions.h) can script it.

#include "framework/frame/zorapp.h"

class CContainerApp : public CzorApp
{
public:
    CContainerApp();

    BOOL InitInstance() override;
    int ExitInstance() override;

    UINT getIconId() override;
    const char* const* getModuleList() override;
    std::string getBuildTime() override;

private:
    int m_nExitCode {0};
};
