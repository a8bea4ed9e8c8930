#pragma once

// Message numbers registered by name, for messages that programs which know nothing of each
// other agree on (the notification area's "TaskbarCreated").
//
// The first registration of a name gives it the next free number from 0xC000 on; every later
// registration of the same name, compared without regard to case, gives the same number, for
// as long as the process runs. A null or empty name registers nothing and gives 0.

#include "platform/types/wintypes.h"

constexpr UINT ZOR_FIRST_REGISTERED_MESSAGE = 0xC000;
constexpr UINT ZOR_LAST_REGISTERED_MESSAGE = 0xFFFF;

UINT RegisterWindowMessageA(const char* lpString);
