#pragma once

// The texts and the layout the time and up-time controls share, as plain functions.

#include "platform/types/rect.h"
#include "platform/types/wintypes.h"

#include <string>

// The step the interval arithmetic uses: TimerInterval, or 1 for a value below 1 (the
// alignment divides by it).
LONG zorTimeStep(LONG interval);
// The refresh timer's period in milliseconds: the step times 1000, at most 0x7FFFFFFF.
UINT zorTimerElapse(LONG interval);

// The up-time text: the seconds aligned down to the step, as " %D day %H:%M:%S " when the
// aligned value is one whole day and " %D days %H:%M:%S " otherwise (blanks included; hours,
// minutes and seconds of the rest two-digit).
std::string zorUpTimeText(long long upSeconds, LONG interval);

// The time control's text: the local time of day with its seconds aligned down to the step
// (seconds minus seconds mod step), as " %H:%M:%S " (24-hour, blanks included).
std::string zorTimeText(int hour, int minute, int second, LONG interval);

// Where a text of `text` size goes in the drawing area `area` (inside the frame when there is
// one): dx and dy are half the room left (0 when the text is larger); Justify 0 puts the text at
// the area's left, 1 offsets it by dx, any other value by twice dx; vertically it is offset by
// dy. *format receives the DrawText alignment (DT_LEFT, DT_CENTER or DT_RIGHT).
CRect zorTimeTextRect(const CRect& area, const CSize& text, LONG justify, UINT* format);
