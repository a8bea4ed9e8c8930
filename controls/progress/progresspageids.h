#pragma once

// Templates and control ids of the progress control's pages.

#include "platform/types/wintypes.h"

constexpr UINT IDD_PROGRESS_PPG = 202;
constexpr UINT IDD_PROGRESS_ABOUT = 100;
constexpr int IDC_PROGRESS_RANGE = 3074;
constexpr int IDC_PROGRESS_RANGESPIN = 3075;
constexpr int IDC_PROGRESS_POSITION = 3076;
constexpr int IDC_PROGRESS_SHOWPERCENT = 3077;
constexpr int IDC_PROGRESS_FOREGROUND = 3078;
constexpr int IDC_PROGRESS_BACKGROUND = 3079;
constexpr int IDC_PROGRESS_TEXTCOLOR = 3080;
constexpr int IDC_PROGRESS_FOREGROUND2 = 3081;
constexpr int IDC_PROGRESS_POSITIONSPIN = 3098;
// The About page's version text and link.
constexpr UINT IDC_PROGRESS_VERSION = 3082;
constexpr UINT IDC_PROGRESS_LINK = 3083;
