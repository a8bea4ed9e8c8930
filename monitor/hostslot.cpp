#include "monitor/hostslot.h"

#include "monitor/slotview.h"
#include "platform/net/hostaddress.h"
#include "platform/net/icmpapi.h"

#include <QtCore/QCoreApplication>
#include <QtCore/QEventLoop>
#include <QtCore/QtGlobal>

#include <atomic>
#include <chrono>
#include <climits>
#include <condition_variable>
#include <cstdio>
#include <memory>
#include <mutex>
#include <new>
#include <system_error>
#include <thread>

namespace {

const SlotControlIds c_slotControls[5] = {
    {1010, 1026, 1013, 1009, 1063, 1068},
    {1022, 1027, 1014, 1021, 1064, 1069},
    {1018, 1028, 1016, 1015, 1065, 1070},
    {1020, 1029, 1017, 1019, 1066, 1071},
    {1024, 1030, 1025, 1023, 1067, 1072},
};

// Counts the work items alive in the process, so tests can see an abandoned item freed.
std::atomic<int> s_liveResolveWorks {0};

// The work item of one resolution, shared by the user-interface thread and one worker thread.
//
// Both sides hold it through a shared pointer: the one that lets go last frees it. When the
// user-interface thread waited long enough it takes the address and lets go, and the worker's
// reference ends with the worker; when it gives up it marks the item abandoned and lets go, and
// the worker, ending later, frees the item. Neither side can free it while the other still
// uses it.
class ResolveWork
{
public:
    explicit ResolveWork(const std::string& host) : m_host(host) { ++s_liveResolveWorks; }
    ~ResolveWork() { --s_liveResolveWorks; }
    ResolveWork(const ResolveWork&) = delete;
    ResolveWork& operator=(const ResolveWork&) = delete;

    // The worker: resolve, store the result, and wake the user-interface thread unless it has
    // stopped waiting. The abandoned flag is read once, after the result is stored; an
    // abandoned item's result is dropped with the item when the worker lets go of it.
    void run()
    {
        const std::uint32_t address = zorResolveHost(m_host);
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_address = address;
            m_ended = true;
        }
        if (!m_abandoned.load())
            m_endedSignal.notify_all();
    }

    // Waits up to the time for the worker to end; true when it has.
    bool waitFor(std::chrono::milliseconds time)
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        return m_endedSignal.wait_for(lock, time, [this] { return m_ended; });
    }

    std::uint32_t address()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_address;
    }

    void abandon() { m_abandoned.store(true); }

private:
    const std::string m_host;
    std::mutex m_mutex;
    std::condition_variable m_endedSignal;
    std::uint32_t m_address {0};
    bool m_ended {false};
    std::atomic<bool> m_abandoned {false};
};

// Pairs begin and end of the owner's wait cursor over a scope.
class WaitCursor
{
public:
    explicit WaitCursor(ISlotView* view) : m_view(view)
    {
        if (m_view)
            m_view->beginWaitCursor();
    }
    ~WaitCursor()
    {
        if (m_view)
            m_view->endWaitCursor();
    }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    ISlotView* m_view {nullptr};
};

} // namespace

const SlotControlIds& slotControlIds(int slot)
{
    Q_ASSERT(slot >= 0 && slot < 5);
    return c_slotControls[slot < 0 ? 0 : (slot > 4 ? 4 : slot)];
}

void HostSlot::bind(ISlotView* owner, const SlotControlIds& ids)
{
    m_owner = owner;
    m_hostEditId = ids.hostEdit;
    m_lightId = ids.light;
    m_latencyLabelId = ids.latencyLabel;
    m_addressLabelId = ids.addressLabel;
    m_graphCheckBoxId = ids.graphCheckBox;
}

int HostSlot::liveResolveWorks()
{
    return s_liveResolveWorks.load();
}

void HostSlot::setHost(const std::string& text)
{
    Q_ASSERT(m_owner);
    WaitCursor waitCursor(m_owner);

    m_hostText = text;
    m_firstProbe = true;
    m_up = false;
    m_recentLatencies.fill(0);

    auto work = std::make_shared<ResolveWork>(m_hostText);
    bool started = true;
    try {
        std::thread([work] { work->run(); }).detach();
    } catch (const std::system_error&) {
        // No thread to resolve on: the slot goes on as after a resolution that took too long.
        started = false;
    }

    bool ended = false;
    for (int wait = 0; started && wait < RESOLVE_WAITS; ++wait) {
        ended = work->waitFor(std::chrono::milliseconds(RESOLVE_WAIT_MS));
        if (ended)
            break;
        // Input and timer ticks are served while the resolution runs, on this thread.
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }

    if (ended) {
        m_address = work->address();
        m_addressText = zorDottedAddress(m_address);
        if (m_owner) {
            m_owner->setAddressLabelText(m_addressLabelId, m_addressText);
            m_owner->setHostEditText(m_hostEditId, m_hostText);
        }
        updateDisplay();
    } else {
        // The previous address, its text and its label stay, and probing goes on with them.
        updateDisplay();
        work->abandon();
    }
}

void HostSlot::probe(int timeoutMs, int repeat, const EchoFunction& echo)
{
    if (m_address == 0)
        return;
    WaitCursor waitCursor(m_owner);

    int sum = 0;
    int answered = 0;
    for (int i = 0; i < repeat; ++i) {
        const int roundTrip = echo(m_address, timeoutMs);
        if (roundTrip != 0) {
            sum += roundTrip;
            ++answered;
        }
    }
    const int result = answered > 0 ? sum / answered : 0;
    m_up = result > 0;
    if (m_up) {
        for (int i = 0; i + 1 < RECENT_LATENCIES; ++i)
            m_recentLatencies[i] = m_recentLatencies[i + 1];
        m_recentLatencies[RECENT_LATENCIES - 1] = result;
    }
    updateDisplay();
    if (m_sampleCount < MAX_SAMPLES)
        m_samples[m_sampleCount++] = result;
}

int HostSlot::echo(std::uint32_t address, int timeoutMs)
{
    const HANDLE icmp = IcmpCreateFile();
    if (icmp == INVALID_HANDLE_VALUE)
        return 0;
    alignas(ICMP_ECHO_REPLY) unsigned char reply[zorIcmpReplySize(0)] {};
    ICMP_ECHO_REPLY* record = new (reply) ICMP_ECHO_REPLY;
    record->RoundTripTime = 0xFFFFFFFF;
    const DWORD replies = IcmpSendEcho(icmp, address, nullptr, 0, nullptr, reply, sizeof reply,
        static_cast<DWORD>(timeoutMs < 0 ? 0 : timeoutMs));
    IcmpCloseHandle(icmp);

    // No record, a failure status, or the preset time still in place: no answer.
    if (replies == 0 || record->Status != IP_SUCCESS || record->RoundTripTime > INT_MAX)
        return 0;
    return record->RoundTripTime >= 1 ? static_cast<int>(record->RoundTripTime) : 1;
}

int HostSlot::latencyAverage() const
{
    int sum = 0;
    int count = 0;
    for (int latency : m_recentLatencies) {
        if (latency > 0) {
            sum += latency;
            ++count;
        }
    }
    return sum / (count > 0 ? count : 1);
}

void HostSlot::updateDisplay()
{
    Q_ASSERT(m_owner);
    if (!m_owner)
        return;
    if (m_hostText.empty()) {
        m_owner->showLight(m_lightId, false);
        m_owner->showLatencyLabel(m_latencyLabelId, false);
        m_owner->showAddressLabel(m_addressLabelId, false);
        m_owner->showGraphCheckBox(m_graphCheckBoxId, false);
        return;
    }
    m_owner->showLight(m_lightId, true);
    m_owner->showLatencyLabel(m_latencyLabelId, true);
    m_owner->showAddressLabel(m_addressLabelId, true);
    m_owner->showGraphCheckBox(m_graphCheckBoxId, true);
    m_owner->setLightState(m_lightId, m_up ? 1 : 0);
    if (!m_up) {
        m_owner->showLatencyLabel(m_latencyLabelId, false);
        return;
    }
    char text[32];
    std::snprintf(text, sizeof text, "%d ms", latencyAverage());
    m_owner->setLatencyLabelText(m_latencyLabelId, text);
}
