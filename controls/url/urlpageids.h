#pragma once

// Templates and control ids of the link's pages.

#include "platform/types/wintypes.h"

constexpr UINT IDD_URL_PPG = 200;
constexpr UINT IDD_URL_PPG2 = 1023;
constexpr UINT IDD_URL_ABOUT = 1022;
constexpr int IDC_URL = 3049;
constexpr int IDC_BOX = 3093;
constexpr int IDC_JUSTIFY = 3050;
constexpr int IDC_LINKCOLOR = 3051;
constexpr int IDC_VISITEDCOLOR = 3099;
constexpr int IDC_BACKGROUNDCOLOR = 3053;
constexpr UINT IDC_URL_VERSION = 3092;
constexpr UINT IDC_URL_LINK = 3049;
