#pragma once

// The test container's application: the framework's application frame with the container
// dialog as its main window. The command line (containeroptions.h) can script it.

#include "framework/frame/zorapp.h"
#include "tools/zorcontainer/containeroptions.h"

class CContainerApp : public CzorApp
{
public:
    CContainerApp();

    // Reads the command line's words (what Qt left of it) into the options InitInstance
    // follows; false with *error set for a wrong line.
    bool readCommandLine(const std::vector<std::string>& words, std::string* error);

    BOOL InitInstance() override;
    int ExitInstance() override;

    UINT getIconId() override;
    const char* const* getModuleList() override;
    std::string getBuildTime() override;

private:
    ContainerOptions m_options;
    int m_nExitCode {0};
};
