#pragma once

// Templates and control ids of the light's pages.

#include "platform/types/wintypes.h"

constexpr UINT IDD_LIGHT_PPG = 306;
constexpr UINT IDD_LIGHT_ABOUT = 3030;
constexpr int IDC_OFFCOLOR = 3045;
constexpr int IDC_BACKGROUND = 3046;
constexpr int IDC_ONCOLOR = 3047;
constexpr UINT IDC_LIGHT_VERSION = 3047;
constexpr UINT IDC_LIGHT_LINK = 3048;
