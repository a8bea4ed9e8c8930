#pragma once

// Templates and control ids of the system information control's pages.

#include "platform/types/wintypes.h"

constexpr UINT IDD_SYSINFO_PPG = 102;
constexpr UINT IDD_SYSINFO_ABOUT = 1025;
constexpr int IDC_SYSINFO_BOXBORDER = 3068;
constexpr int IDC_SYSINFO_SHOWTIME = 3069;
constexpr int IDC_SYSINFO_SHOWUPTIME = 3070;
constexpr int IDC_SYSINFO_BACKGROUND = 3071;
constexpr int IDC_SYSINFO_TEXT = 3072;
constexpr UINT IDC_SYSINFO_LINK = 3073;
constexpr UINT IDC_SYSINFO_VERSION = 3080;
