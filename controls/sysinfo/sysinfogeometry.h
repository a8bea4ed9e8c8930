#pragma once

// Where the system information control draws: the report centred above the time line, the
// current time at the bottom left and the up-time at the bottom right.

#include "platform/types/rect.h"

// The time's rectangle in a control of width w and height h: (6, h - 20) to (w / 2, h - 6).
CRect zorSysInfoTimeRect(int w, int h);
// The up-time's rectangle: ((w - 6) / 2, h - 20) to (w - 6, h - 6).
CRect zorSysInfoUpTimeRect(int w, int h);
// The report's rectangle: the measured text moved to the middle of the area, never above or
// left of the area's corner when the text is larger than the area.
CRect zorSysInfoReportRect(const CRect& area, const CSize& measured);
