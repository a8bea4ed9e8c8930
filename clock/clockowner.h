#pragma once

// What the analog face needs of the window it belongs to: a client drawing context, on which
// the once-a-second update moves the second hand without repainting the rest; invalidation of
// the whole window, for a full repaint; and the device the window is shown on, for the layout.

#include "clock/clockgeometry.h"
#include "platform/types/rect.h"

#include <functional>

class CDC;

class CClockOwner
{
public:
    virtual ~CClockOwner() = default;

    // Runs `draw` on a context over the picture the window shows now; what it draws within
    // `area` (client coordinates) appears without the rest being drawn again. Nothing runs
    // when the window has no picture yet or a full repaint is already due.
    virtual void drawOnClient(const std::function<void(CDC*)>& draw, const CRect& area) = 0;
    // Invalidates the whole window with its background erased.
    virtual void invalidateOwner() = 0;
    virtual ZorClockDevice clientDevice() const = 0;
};
