#pragma once

// One of the monitor's five host slots: everything known about one monitored host, and the
// operations that give the slot a host, probe the host with echo requests and show the result
// in the slot's controls.
//
// The slot names its controls by dialog control id and reaches them through its owner, the
// main window, as an ISlotView. Everything here runs on the user-interface thread; only the
// resolution of a host text runs on a worker thread of its own, which set host waits for in
// 100-ms steps while the thread's pending events are dispatched.

#include <array>
#include <cstdint>
#include <functional>
#include <string>

class ISlotView;

// The dialog control ids of one slot's controls.
struct SlotControlIds
{
    int hostEdit {0};
    int addressLabel {0};
    int latencyLabel {0};
    int light {0};
    int graphCheckBox {0};
    int colour {0};
};

// The control ids of slot 0 to 4 in the main window.
const SlotControlIds& slotControlIds(int slot);

// One echo request: 0 when nothing answered, else the round-trip time in milliseconds, at
// least 1.
using EchoFunction = std::function<int(std::uint32_t address, int timeoutMs)>;

struct HostSlot
{
    static constexpr int RECENT_LATENCIES = 10;
    static constexpr int MAX_SAMPLES = 90;
    // Set host waits for the resolution at most this many times this long (about 5 seconds).
    static constexpr int RESOLVE_WAITS = 50;
    static constexpr int RESOLVE_WAIT_MS = 100;

    // Set when a host is assigned; cleared after the slot's first probe.
    bool m_firstProbe {true};
    // The host answered the last probe.
    bool m_up {false};
    int m_hostEditId {0};
    int m_lightId {0};
    // The last ten successful probe results in ms, oldest first; cleared on a host change.
    std::array<int, RECENT_LATENCIES> m_recentLatencies {};
    int m_latencyLabelId {0};
    // The resolved IPv4 address in network byte order; 0 = none, and the slot is not probed.
    std::uint32_t m_address {0};
    int m_addressLabelId {0};
    int m_graphCheckBoxId {0};
    // The dotted-decimal text of the address.
    std::string m_addressText;
    // The host name or address as typed.
    std::string m_hostText;
    // Probe results since the last 15-minute write, and how many of them are valid.
    std::array<int, MAX_SAMPLES> m_samples {};
    int m_sampleCount {0};
    ISlotView* m_owner {nullptr};

    // Ties the slot to its owner and its controls.
    void bind(ISlotView* owner, const SlotControlIds& ids);

    // Assigns a host text and resolves it: a dotted address as typed, else the first IPv4
    // address of the name. A resolution that takes longer than the 50 waits is abandoned and
    // the slot keeps probing the address it had.
    void setHost(const std::string& text);
    // Sends `repeat` echo requests one after the other and records their average.
    void probe(int timeoutMs, int repeat, const EchoFunction& echo = &HostSlot::echo);
    // One echo request with an empty payload through the platform's ICMP service.
    static int echo(std::uint32_t address, int timeoutMs);
    // The average of the positive recent latencies; 0 when there is none.
    int latencyAverage() const;
    // Shows the slot's state in its controls.
    void updateDisplay();

    // The resolution work items alive now, in any slot: an abandoned one lives until its
    // worker ends.
    static int liveResolveWorks();
};
