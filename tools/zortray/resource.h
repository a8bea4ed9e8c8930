#pragma once

// Resource identifiers of the tray sample.

#include "platform/types/wintypes.h"

constexpr UINT IDI_TRAY = 128;
constexpr UINT IDR_TRAYMENU = 200;
