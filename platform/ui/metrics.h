#pragma once

// The desktop's metrics and work area as the suite asks for them.

#include "platform/types/wintypes.h"

// System metrics the suite asks for.
constexpr int SM_CXSCREEN = 0;
constexpr int SM_CYSCREEN = 1;
constexpr int SM_CXVSCROLL = 2;
constexpr int SM_CYHSCROLL = 3;
constexpr int SM_CXICON = 11;
constexpr int SM_CYICON = 12;
constexpr int SM_CXCURSOR = 13;
constexpr int SM_CYCURSOR = 14;
constexpr int SM_CXSMICON = 49;
constexpr int SM_CYSMICON = 50;
// The scroll-bar sizes come from the desktop's style (16 when it gives none); icons are 32 and
// small icons 16 pixels; the screen is the primary screen.
int GetSystemMetrics(int nIndex);

// The desktop's work area (the primary screen less panels and docks), for SPI_GETWORKAREA.
constexpr UINT SPI_GETWORKAREA = 0x0030;
BOOL SystemParametersInfoA(UINT uiAction, UINT uiParam, void* pvParam, UINT fWinIni);
