#pragma once

// CCorvaneDlg: the host monitor's main window (template 102) and the monitor's sampling cycle.
//
// The window holds the five host slots with their edit boxes, addresses, latencies, lights,
// "Graph" check boxes and colour controls; the sample interval with the countdown to the next
// pass; the outage panel (host selector, Delete, the shortest outage shown, start and stop
// lines, the outage list); the graph span in days and the latency graph. The lights, colour
// controls and graph are controls of zorwidgets29 hosted by class id and driven through their
// dispatch wrappers only.
//
// Timer 1 ticks every second and counts down to the next sampling pass, which probes slots 0
// to 4 in order on this thread with the timer stopped, so passes never overlap. At the first
// tick of every quarter hour the pending samples are averaged into the database and the graph
// window moves on when its 4- or 12-hour step has come.
//
// Close (OnCancel) is the single way out: OK (Enter), Cancel (Escape), the system menu's Close
// and the end of the session (the platform turns SIGTERM and SIGINT into it) all lead to it. It
// writes a stop record for every slot with a host and then the pending averages. A request to
// close that arrives while the window is inside one of its own handlers (a host resolving, a
// question or a dialog open, a pass running) is carried out when that handler has finished,
// so no handler ever goes on with a closed database.
//
// Decisions of this implementation:
// - The graph span ("Days") is applied at start and saved whenever the span changes, so the
//   user's choice sticks.
// - Before a slot's host changes, the slot's pending samples are written under the old host,
//   so no host's averages are filed under another host.
// - When this system lets the program open no ICMP socket at all (unprivileged, and
//   net.ipv4.ping_group_range admits none of the user's groups), the user is told once what is
//   wrong and the one line that fixes it; until it is fixed no host is probed and nothing is
//   recorded (every host would otherwise be recorded as down), and the status line says why.
//   Each pass looks again, so monitoring resumes by itself once echo is allowed.
// - A request to close the window while it is still initialising is carried out once the
//   initialisation has finished.
// - The host selector is filled again after the start records are written, so hosts typed
//   since the last run are in it from the start, as they are in the outage list.
// - "&Notify on Outages", a check item at the end of the system menu, switches desktop notices
//   of outages and recoveries on and off (COutageNotice); its state is saved at once as
//   "NotifyOnOutages" in "Options". A desktop that shows no notices changes nothing else.
//
// Diagnostic: with ZORVEX_REPORT_FIRST_PAINT=1 in the environment the window writes the line
// "corvane: first paint" to the debugger output (standard error) when it first paints, so a
// start-up measurement can see the moment the window appears.

#include "framework/dialogs/resizabledialog.h"
#include "monitor/graphfeed.h"
#include "monitor/hostslot.h"
#include "monitor/icolor.h"
#include "monitor/igraph.h"
#include "monitor/ilight.h"
#include "monitor/monitordatabase.h"
#include "monitor/outagenotice.h"
#include "monitor/slotview.h"
#include "platform/types/oledatetime.h"

#include <array>
#include <functional>
#include <string>

class CCorvaneApp;
class CComboBox;
class CListBox;
struct IDispatch;

class CCorvaneDlg : public CResizableDialog, public ISlotView
{
public:
    static constexpr int c_nSlots = 5;
    static constexpr UINT_PTR c_nTimerId = 1;
    static constexpr UINT c_nTimerPeriodMs = 1000;

    // The window of the application object's settings, with the help file of the program's
    // directory and the database of the database directory (folder names ending with the path
    // separator; the two are one folder in a run from the build).
    CCorvaneDlg(CCorvaneApp& app, const std::string& programDirectory,
        const std::string& databaseDirectory);
    ~CCorvaneDlg() override;

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    // Both lead to Close.
    void OnOK() override;
    void OnCancel() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // The monitor always agrees to the end of the session.
    BOOL OnQueryEndSession() override;
    // Timer 1; the timer id is not examined.
    void OnTimer(UINT_PTR nIDEvent) override;
    void OnSysCommand(UINT nID, LPARAM lParam) override;
    void OnPaint() override;
    HCURSOR OnQueryDragIcon() override;

    // The monitor's operations, as the window's handlers run them.
    //
    // Probes slot k once, shows the result, records a change of its availability and feeds
    // its live graph point; the new up state (false at once for a slot without an address).
    bool sampleSlot(int slot);
    // One sampling pass over the five slots.
    void samplingPass();
    // The host text of slot k's edit box became final (the box lost the focus).
    void hostEditLostFocus(int slot);
    // The single exit path.
    void close();
    void fillHostSelector();
    void refillOutageList();
    // A plot's settings changed: its check box, colour or host; or the graph window moved.
    void graphChanged(int slot);
    void colorClicked(int slot);
    void setUpGraphWindow();
    // Delete of the host selected in the host selector, after the user confirmed.
    void deleteSelectedHost();
    void onDatabaseCommand();
    void onOptionsCommand();
    void onHelpCommand();
    // "&Notify on Outages" chosen: notices on or off, saved at once.
    void onNotifyOutagesCommand();

    // Seams for tests.
    //
    // The echo request every probe sends (default: the platform's ICMP service). An echo given
    // here is taken as permitted; setEchoPermission afterwards decides otherwise.
    void setEchoFunction(EchoFunction echo)
    {
        m_echo = std::move(echo);
        m_echoPermitted = [] { return true; };
    }
    // Whether this process may send echo requests at all (default: an ICMP socket of either
    // kind can be opened).
    void setEchoPermission(std::function<bool()> permitted)
    {
        m_echoPermitted = std::move(permitted);
    }
    // The pause after each slot's assignment during initialisation (default 100 ms).
    void setStartupPause(int milliseconds) { m_nStartupPauseMs = milliseconds; }
    // How the window runs its Options and Database Maintenance dialogs (default DoModal).
    void setModalRunner(std::function<INT_PTR(CDialog&)> runner) { m_runModal = std::move(runner); }

    // What the window holds, for tests.
    const std::array<HostSlot, c_nSlots>& hostSlots() const { return m_slots; }
    CMonitorDatabase& database() { return m_database; }
    int tickCounter() const { return m_nTicks; }
    int probeTimeout() const { return m_nTimeoutMs; }
    int probeRepeat() const { return m_nRepeat; }
    int graphSpan() const { return m_nGraphSpan; }
    bool isClosed() const { return m_bClosed; }

    // ISlotView: the slots' controls.
    void setHostEditText(int hostEditId, const std::string& text) override;
    void setAddressLabelText(int addressLabelId, const std::string& text) override;
    void setLatencyLabelText(int latencyLabelId, const std::string& text) override;
    void showLight(int lightId, bool show) override;
    void showLatencyLabel(int latencyLabelId, bool show) override;
    void showAddressLabel(int addressLabelId, bool show) override;
    void showGraphCheckBox(int graphCheckBoxId, bool show) override;
    void setLightState(int lightId, long state) override;
    void beginWaitCursor() override;
    void endWaitCursor() override;

private:
    // Counts the window's handlers running now; a close requested inside one waits for the
    // outermost to finish.
    class CBusyScope
    {
    public:
        explicit CBusyScope(CCorvaneDlg& dialog);
        ~CBusyScope();
        CBusyScope(const CBusyScope&) = delete;
        CBusyScope& operator=(const CBusyScope&) = delete;

    private:
        CCorvaneDlg& m_dialog;
    };

    void registerHandlers();
    void attachControls();
    void extendSystemMenu();
    // The steps of the initialisation that need the wait server; false after a fatal failure
    // (the dialog has then ended).
    bool startWaitServer();
    void waitServerCall(DISPID dispid, std::vector<COleVariant> args = {});
    void stopWaitServer();
    void pause(int milliseconds);
    // Ends the dialog without Close after a fatal failure of the initialisation.
    void abandon();

    void sampleIntervalChanged(const std::string& text);
    void graphSpanChanged();
    void startStopClicked();
    void downIntervalChanged();
    void hostSelectionChanged();
    void updateDeleteButton();
    void showCountdown();
    void quarterHourTick();
    // Sample slot k without asking whether echo requests may be sent.
    bool probeSlot(int slot);
    // False when echo requests cannot be sent at all; tells the user once.
    bool echoUsable();
    void reportFirstPaint();
    INT_PTR runModal(CDialog& dialog);

    CComboBox* hostSelector() const;
    CListBox* outageList() const;

    CCorvaneApp& m_app;
    std::string m_directory;
    std::string m_databaseDirectory;

    std::array<HostSlot, c_nSlots> m_slots;
    CMonitorDatabase m_database;
    IGraph m_graph;
    std::array<ILight, c_nSlots> m_lights;
    std::array<IColor, c_nSlots> m_colors;
    CGraphFeed m_graphFeed;
    COutageNotice m_outageNotice;

    // Seconds since the last sampling pass.
    int m_nTicks {0};
    int m_nTimeoutMs {1000};
    int m_nRepeat {3};
    int m_nGraphSpan {1};
    // Exchanged with the controls: the "Graph" check boxes, the start and stop check box and
    // the shortest outage shown as a time of day.
    std::array<int, c_nSlots> m_graphEnabled {};
    int m_bStartStop {FALSE};
    COleDateTime m_downInterval;
    // The quarter hour the timer saw last; the zero date at first, so the first tick writes
    // the averages and sets up the graph window.
    COleDateTime m_lastBucket;

    // Set from construction to the end of the initialisation: the interval is not saved then.
    bool m_bInitialising {true};
    // Set near the end of the initialisation: from then on a span change moves the graph.
    bool m_bInitialised {false};
    bool m_bClosed {false};
    bool m_bClosePending {false};
    int m_nBusy {0};
    int m_nWaitCursors {0};
    HCURSOR m_previousCursor {nullptr};
    bool m_bEchoWarned {false};
    bool m_bEchoBlocked {false};
    bool m_bPainted {false};
    HICON m_hIcon {nullptr};
    IDispatch* m_pWaitServer {nullptr};

    EchoFunction m_echo;
    std::function<bool()> m_echoPermitted;
    int m_nStartupPauseMs {100};
    std::function<INT_PTR(CDialog&)> m_runModal;
};
