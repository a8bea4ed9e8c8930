#pragma once

// The clock's time zones: the table of the 30 zones the General page offers, and the offset
// that turns the machine's local time into the time of a chosen zone.
//
// The machine's zone is read the way the platform's time-zone record gives it: a bias (minutes
// to add to local standard time to reach UTC), the extra bias of standard time and of daylight
// time, and whether daylight time is in force now. On Linux these come from the
// system's zone data (honouring TZ): the zone's standard offset, and the offset of the local
// time now with its daylight flag (localtime_r).

#include "platform/types/wintypes.h"

#include <ctime>
#include <span>

struct ZorClockZone
{
    LONG minutes {0}; // the zone's offset from UTC
    const char* text {""}; // as the list shows it, trailing blanks included
};

// The 30 zones in the list's order, from UTC+12 down to UTC-11.
std::span<const ZorClockZone> zorClockZones();

struct ZorZoneBias
{
    LONG bias {0};
    LONG standardBias {0};
    LONG daylightBias {0};
    bool daylight {false};
};

// The machine's zone record at the instant `now`.
ZorZoneBias zorMachineZoneBias(std::time_t now);

// Minutes to add to the machine's local time to show the time of zone `zone` (minutes east of
// UTC): zone plus the bias plus the bias of the time in force. The chosen zone keeps no
// daylight rule of its own.
LONG zorOffsetMinutes(LONG zone, const ZorZoneBias& machine);
