#pragma once

// The module object of zorwidgets29.

#include "framework/controls/controlmodule.h"

class CWidgetsModule : public CControlModule
{
public:
    static CWidgetsModule& instance();

private:
    CWidgetsModule() = default;
};
