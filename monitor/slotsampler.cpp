#include "monitor/slotsampler.h"

#include "monitor/availability.h"
#include "monitor/outagenotice.h"

SampleOutcome sampleSlot(HostSlot& slot, CMonitorDatabase& database, int timeoutMs, int repeat,
    const EchoFunction& echo, COutageNotice* notice)
{
    SampleOutcome outcome;
    if (slot.m_address == 0)
        return outcome;

    const bool wasUp = slot.m_up;
    slot.probe(timeoutMs, repeat, echo);
    slot.updateDisplay();

    if (slot.m_up != wasUp) {
        writeStatus(database, slot.m_hostText, slot.m_up, false);
        outcome.recorded = true;
        if (notice)
            notice->availabilityRecorded(slot.m_hostText, slot.m_up, slot.m_firstProbe);
    }
    // A first probe that finds the host up is already a change from the initial false; one
    // that finds it down is not, and still gets its record.
    if (slot.m_firstProbe && !slot.m_up) {
        writeStatus(database, slot.m_hostText, false, false);
        outcome.recorded = true;
        if (notice)
            notice->availabilityRecorded(slot.m_hostText, false, true);
    }
    slot.m_firstProbe = false;

    outcome.up = slot.m_up;
    return outcome;
}
