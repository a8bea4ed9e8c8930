#pragma once

// The module object of zordial29.

#include "framework/controls/controlmodule.h"

class CClockModule : public CControlModule
{
public:
    static CClockModule& instance();

private:
    CClockModule() = default;
};
