#pragma once

// A light of the main window (a host's state), reached only through its dispatch interface.

#include "platform/ole/site.h"

class ILight : public CZorControlWrapper
{
public:
    static constexpr const char* c_szProgId = "zorLightControl.29";

    long GetState() const;
    // 1 on (green), 0 off (red).
    void SetState(long state);
};
