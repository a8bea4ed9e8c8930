#pragma once

// The window placement record: the normal rectangle, the show state and the placement flags of
// a top-level window, laid out as the platform's, as the settings store reads and writes it
// field by field.

#include "platform/types/rect.h"
#include "platform/types/wintypes.h"

struct WINDOWPLACEMENT
{
    UINT length {sizeof(WINDOWPLACEMENT)};
    UINT flags {0};
    UINT showCmd {0};
    POINT ptMinPosition;
    POINT ptMaxPosition;
    RECT rcNormalPosition;
};

// Placement flags.
constexpr UINT WPF_SETMINPOSITION = 0x0001;
constexpr UINT WPF_RESTORETOMAXIMIZED = 0x0002;
