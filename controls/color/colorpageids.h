#pragma once

// Templates and control ids of the colour control's pages.

#include "platform/types/wintypes.h"

constexpr UINT IDD_COLOR_PPG = 426;
constexpr UINT IDD_COLOR_ABOUT = 424;
constexpr int IDC_SHOWHEXVALUE = 3041;
constexpr int IDC_DEFAULTCOLOR = 3042;
constexpr UINT IDC_COLOR_VERSION = 3043;
constexpr UINT IDC_COLOR_LINK = 3044;
