#pragma once

// The window message record that the message pump hands out and the tracer prints.

#include "platform/types/rect.h"
#include "platform/types/wintypes.h"

struct MSG
{
    HWND hwnd {nullptr};
    UINT message {0};
    WPARAM wParam {0};
    LPARAM lParam {0};
    DWORD time {0};
    POINT pt {};
};

// The first message number that programs may use for their own messages.
constexpr UINT WM_USER = 0x400;
