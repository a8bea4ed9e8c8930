#pragma once

// The sample program's application: the framework's application frame with one resizable
// dialog as its main window.

#include "framework/frame/zorapp.h"

class CSampleApp : public CzorApp
{
public:
    CSampleApp();

    // Runs the frame's start-up, then the dialog; the program ends when it closes.
    BOOL InitInstance() override;

    UINT getIconId() override;
    const char* const* getModuleList() override;
    std::string getBuildTime() override;
};
