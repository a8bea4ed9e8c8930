#pragma once

// The module object of zorpicture29. Its start adds to the frame's: the imaging library,
// initialised once for the process's life, and the module's settings store for "Zorvex",
// "JPEG", "2.00" (the control keeps nothing in it).

#include "framework/controls/controlmodule.h"
#include "framework/settings/profile.h"

class CPictureModule : public CControlModule
{
public:
    static CPictureModule& instance();

    // Idempotent; every entry point calls it.
    void start();
    const CProfile& profile() const { return m_profile; }

private:
    CPictureModule() = default;

    bool m_started {false};
    CProfile m_profile;
};
