#pragma once

// The module object of zorpathpick29: the frame's start (control layer, control container,
// registry key "Zorvex") and the module's settings store for "Zorvex", "PathPick", "2.00",
// in which the picker keeps nothing.

#include "framework/controls/controlmodule.h"
#include "framework/settings/profile.h"

class CPathPickModule : public CControlModule
{
public:
    static CPathPickModule& instance();

    // Idempotent; every entry point calls it.
    bool InitInstance();
    const CProfile& profile() const { return m_profile; }

private:
    CPathPickModule() = default;

    CProfile m_profile;
};
