#pragma once

// The control ids of the time and up-time controls' General pages, which are laid out alike,
// and of their About pages.

#include "platform/types/wintypes.h"

struct ZorTimePageIds
{
    UINT templateId {0};
    int textColor {0};
    int backgroundColor {0};
    int justify {0};
    int useTimer {0};
    int timerInterval {0};
    int spin {0};
    int boxBorder {0};
};

constexpr ZorTimePageIds c_timePageIds {3031, 3054, 3055, 3056, 3057, 3058, 3059, 3060};
constexpr UINT IDD_TIME_ABOUT = 1030;
constexpr UINT IDC_TIME_VERSION = 3061;
constexpr UINT IDC_TIME_LINK = 3067;
