#pragma once

// The window placement record the settings store reads and writes, and the sizing-frame size
// its defaults are made from.

#include "platform/ui/windowplacement.h"

// The width and height of a sizable window's frame. Window frames belong to the desktop's
// window manager here, so this is the classic value of 4 pixels; it only places a maximised
// window's corner just outside the screen, as the platform does.
constexpr int zorSizingFrameWidth()
{
    return 4;
}

constexpr int zorSizingFrameHeight()
{
    return 4;
}
