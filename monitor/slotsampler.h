#pragma once

// One sampling pass's work for one host slot: probe it, show the result and record a change
// of its availability. The main window runs this for slots 0 to 4 in order on every pass; the
// live graph point is fed by the window afterwards, for a slot whose graph is enabled.

#include "monitor/hostslot.h"

class CMonitorDatabase;
class COutageNotice;

struct SampleOutcome
{
    // The slot's new up state (false at once for a slot without an address).
    bool up {false};
    // A status record was written: the outage list needs refilling.
    bool recorded {false};
};

// Probes the slot with the timeout and repeat count and writes an up or down record when the
// state changed, or a down record when the first probe of a monitoring period finds the host
// not up, so that every period in the history begins with a definite state.
SampleOutcome sampleSlot(HostSlot& slot, CMonitorDatabase& database, int timeoutMs, int repeat,
    const EchoFunction& echo = &HostSlot::echo, COutageNotice* notice = nullptr);
