#pragma once

// The control ids of the up-time control's pages.

#include "controls/time/timepageids.h"

constexpr ZorTimePageIds c_upTimePageIds {3032, 3062, 3063, 3064, 3095, 3065, 3096, 3066};
constexpr UINT IDD_UPTIME_ABOUT = 3033;
constexpr UINT IDC_UPTIME_VERSION = 3067;
constexpr UINT IDC_UPTIME_LINK = 3068;
