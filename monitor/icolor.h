#pragma once

// A colour control of the main window (a plot's colour), reached only through its dispatch
// interface.

#include "platform/ole/site.h"

class IColor : public CZorControlWrapper
{
public:
    static constexpr const char* c_szProgId = "zorColorControl.29";

    // The colour as drawn: RGBColor, with a system-colour reference as the control gives it.
    DWORD GetRGBColor() const;
    // The stored value: the control's default value.
    DWORD GetValue() const;
    void SetValue(DWORD color);
};
