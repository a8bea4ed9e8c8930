#include "monitor/corvanedlg.h"

#include "framework/diagnostics/diagnostics.h"
#include "monitor/availability.h"
#include "monitor/corvaneapp.h"
#include "monitor/maintenancedlg.h"
#include "monitor/monitorfiles.h"
#include "monitor/optionsdlg.h"
#include "monitor/probesettings.h"
#include "monitor/resource.h"
#include "monitor/slotsampler.h"
#include "platform/gdi/syscolor.h"
#include "platform/net/icmpapi.h"
#include "platform/ole/dispatchimpl.h"
#include "platform/ole/factory.h"
#include "platform/shell/htmlhelp.h"
#include "platform/ui/controls.h"
#include "platform/ui/resources.h"
#include "platform/ui/strings.h"
#include "platform/ui/winapp.h"

#include <QtCore/QEventLoop>
#include <QtCore/QTimer>
#include <QtWidgets/QWidget>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include <sys/stat.h>

namespace {

// The outside wait dialog and its four methods.
constexpr const char* c_waitServerId = "zorWaitServer.29";
constexpr DISPID c_waitShow = 1;
constexpr DISPID c_waitText = 2;
constexpr DISPID c_waitClose = 3;
constexpr DISPID c_waitProgress = 4;

// Where the window rectangle is kept.
constexpr const char* c_positionSection = "Position";
constexpr const char* c_positionEntry = "CorvaneDlg";

// The outage list's one tab stop, in dialog units.
constexpr int c_outageTabStop = 100;

// The first sampling pass comes this many seconds after the window is shown.
constexpr int c_firstPassDelay = 10;

// The item data of the host selector's "<all>" entry.
constexpr LONG c_allHosts = -1;

// The environment switch of the first-paint diagnostic.
constexpr const char* c_firstPaintSwitch = "ZORVEX_REPORT_FIRST_PAINT";

std::string resourceText(UINT id)
{
    char text[1024] = {};
    LoadStringA(nullptr, id, text, sizeof text);
    return text;
}

bool fileExists(const std::string& path)
{
    struct stat info = {};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// The number the text begins with (its leading digits); 0 when it begins with none.
int leadingNumber(const std::string& text)
{
    long value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            break;
        value = std::min(value * 10 + (c - '0'), 1000000L);
    }
    return static_cast<int>(value);
}

// Whether this process may send echo requests at all: an ICMP socket of either kind opens. A
// refusal for another reason than the missing right (no descriptors left, say) is not this
// condition; the probes then simply fail.
bool icmpPermitted()
{
    const HANDLE icmp = IcmpCreateFile();
    if (icmp == INVALID_HANDLE_VALUE)
        return zorIcmpLastError() != static_cast<DWORD>(ERROR_ACCESS_DENIED);
    IcmpCloseHandle(icmp);
    return true;
}

} // namespace

CCorvaneDlg::CBusyScope::CBusyScope(CCorvaneDlg& dialog) : m_dialog(dialog)
{
    ++m_dialog.m_nBusy;
}

CCorvaneDlg::CBusyScope::~CBusyScope()
{
    if (--m_dialog.m_nBusy == 0 && m_dialog.m_bClosePending) {
        m_dialog.m_bClosePending = false;
        m_dialog.close();
    }
}

CCorvaneDlg::CCorvaneDlg(
    CCorvaneApp& app, const std::string& programDirectory, const std::string& databaseDirectory)
    : CResizableDialog(IDD_CORVANE_DIALOG, nullptr)
    , m_app(app)
    , m_directory(programDirectory)
    , m_databaseDirectory(databaseDirectory)
    , m_graphFeed(m_slots, m_database, m_graph)
    , m_downInterval(COleDateTime::GetCurrentTime())
    , m_echo(&HostSlot::echo)
    , m_echoPermitted(&icmpPermitted)
{
    for (int slot = 0; slot < c_nSlots; ++slot)
        m_slots[slot].bind(this, slotControlIds(slot));
    m_hIcon = m_app.LoadIcon(IDR_MAINFRAME);
    const ProbeSettings probe = readProbeSettings(m_app);
    m_nTimeoutMs = probe.timeoutMs;
    m_nRepeat = probe.repeat;
    registerHandlers();
}

CCorvaneDlg::~CCorvaneDlg()
{
    for (int slot = 0; slot < c_nSlots; ++slot)
        onControlEvent(this, static_cast<UINT>(slotControlIds(slot).colour), DISPID_CLICK, {});
    stopWaitServer();
    // The window goes while this object is whole, so its own handlers see it go.
    if (GetSafeHwnd())
        DestroyWindow();
}

void CCorvaneDlg::registerHandlers()
{
    for (int slot = 0; slot < c_nSlots; ++slot) {
        const SlotControlIds& ids = slotControlIds(slot);
        onCommand(static_cast<UINT>(ids.hostEdit), EN_KILLFOCUS,
            [this, slot] { hostEditLostFocus(slot); });
        onCommand(
            static_cast<UINT>(ids.graphCheckBox), BN_CLICKED, [this, slot] { graphChanged(slot); });
        onControlEvent(
            this, static_cast<UINT>(ids.colour), DISPID_CLICK, [this, slot](const DISPPARAMS&) {
                CBusyScope busy(*this);
                colorClicked(slot);
            });
    }
    onCommand(IDC_SAMPLE_INTERVAL, EN_CHANGE,
        [this] { sampleIntervalChanged(GetDlgItemText(IDC_SAMPLE_INTERVAL)); });
    // The spin is about to change the interval: the text as it stands now.
    onNotify(IDC_SAMPLE_INTERVAL_SPIN, UDN_DELTAPOS, [this](NMHDR*, LRESULT* result) {
        sampleIntervalChanged(GetDlgItemText(IDC_SAMPLE_INTERVAL));
        *result = 0;
    });
    onCommand(IDC_DAYS, EN_CHANGE, [this] { graphSpanChanged(); });
    onCommand(IDC_HOST_SELECTOR, CBN_SELCHANGE, [this] { hostSelectionChanged(); });
    onCommand(IDC_DELETE, BN_CLICKED, [this] { deleteSelectedHost(); });
    onCommand(IDC_START_STOP, BN_CLICKED, [this] { startStopClicked(); });
    onNotify(IDC_DOWN_INTERVAL, DTN_DATETIMECHANGE, [this](NMHDR*, LRESULT* result) {
        downIntervalChanged();
        *result = 0;
    });
}

// --- initialisation ------------------------------------------------------------------------

BOOL CCorvaneDlg::OnInitDialog()
{
    // The settings the window shows, from the application object.
    m_bStartStop = m_app.m_bStartStop ? TRUE : FALSE;
    m_downInterval = COleDateTime(static_cast<double>(m_app.m_nDownInterval) / 86400.0);
    for (int slot = 0; slot < c_nSlots; ++slot)
        m_graphEnabled[slot] = m_app.m_bGraph[slot] ? TRUE : FALSE;
    m_nGraphSpan = m_app.m_nDays;
    m_outageNotice.setEnabled(m_app.m_bNotifyOnOutages);

    // The controls' values and the layout, in which the graph alone grows with the window.
    CResizableDialog::OnInitDialog();
    attachControls();
    addAnchor(IDC_GRAPH, anchorTopLeft, anchorBottomRight);

    // The plot colours.
    for (int slot = 0; slot < c_nSlots; ++slot)
        m_colors[slot].SetValue(m_app.m_graphColor[slot]);

    // A second start of the program brings this window to the front.
    m_app.createOneInstanceWindow(this);

    // The shortest outage shown as minutes and seconds.
    if (auto* picker = dynamic_cast<CDateTimeCtrl*>(GetDlgItem(IDC_DOWN_INTERVAL)))
        picker->SetFormat("mm:ss");

    // The system menu's commands and the window's icons.
    extendSystemMenu();
    if (m_hIcon && widget())
        widget()->setWindowIcon(zorQIcon(m_hIcon));

    // The spin controls.
    if (auto* days = dynamic_cast<CSpinButtonCtrl*>(GetDlgItem(IDC_DAYS_SPIN))) {
        days->SetRange(CCorvaneApp::c_nMinDays, CCorvaneApp::c_nMaxDays);
        days->SetPos(m_nGraphSpan);
    }
    if (auto* interval = dynamic_cast<CSpinButtonCtrl*>(GetDlgItem(IDC_SAMPLE_INTERVAL_SPIN))) {
        interval->SetRange(CCorvaneApp::c_nMinSampleInterval, CCorvaneApp::c_nMaxSampleInterval);
        interval->SetPos(m_app.m_nSampleInterval);
    }

    // The wait dialog over the rest of the start.
    if (!startWaitServer())
        return FALSE;

    // The database.
    if (!m_database.open(m_databaseDirectory)) {
        abandon();
        return FALSE;
    }

    // The first pass comes ten seconds after the window is shown.
    m_nTicks = m_app.m_nSampleInterval - c_firstPassDelay;

    // The outage panel.
    if (CListBox* list = outageList())
        list->SetTabStops(1, &c_outageTabStop);
    fillHostSelector();
    refillOutageList();

    // The hosts, each with its start record.
    for (int slot = 0; slot < c_nSlots; ++slot) {
        waitServerCall(c_waitProgress, {COleVariant(static_cast<long>(20 * slot + 20))});
        const std::string& host = m_app.m_sHost[slot];
        m_slots[slot].setHost(host);
        if (host.empty()) {
            // An empty slot has no plot.
            m_graphEnabled[slot] = FALSE;
            CheckDlgButton(slotControlIds(slot).graphCheckBox, BST_UNCHECKED);
        }
        if (!m_slots[slot].m_hostText.empty())
            writeStatus(m_database, m_slots[slot].m_hostText, true, true);
        pause(m_nStartupPauseMs);
    }

    // The wait dialog goes.
    stopWaitServer();

    // The graph.
    setUpGraphWindow();

    // The outage list of all hosts. The selector is filled again first: the start records
    // have just added the hosts typed since the last run, which the outage list shows.
    if (CWnd* remove = GetDlgItem(IDC_DELETE))
        remove->EnableWindow(FALSE);
    fillHostSelector();
    if (CComboBox* selector = hostSelector())
        selector->SetCurSel(0);
    refillOutageList();
    updateDeleteButton();

    // Running.
    m_bInitialised = true;
    SetTimer(c_nTimerId, c_nTimerPeriodMs);
    enableSaveRestore(c_positionSection, c_positionEntry);
    m_bInitialising = false;
    return TRUE;
}

void CCorvaneDlg::DoDataExchange(CDataExchange* pDX)
{
    CResizableDialog::DoDataExchange(pDX);
    for (int slot = 0; slot < c_nSlots; ++slot)
        DDX_Check(pDX, slotControlIds(slot).graphCheckBox, m_graphEnabled[slot]);
    DDX_Check(pDX, IDC_START_STOP, m_bStartStop);
    DDX_DateTimeCtrl(pDX, IDC_DOWN_INTERVAL, m_downInterval);
    DDX_Text(pDX, IDC_DAYS, m_nGraphSpan);
}

void CCorvaneDlg::attachControls()
{
    m_graph.attachTo(this, IDC_GRAPH);
    for (int slot = 0; slot < c_nSlots; ++slot) {
        const SlotControlIds& ids = slotControlIds(slot);
        m_lights[slot].attachTo(this, static_cast<UINT>(ids.light));
        m_colors[slot].attachTo(this, static_cast<UINT>(ids.colour));
    }
}

void CCorvaneDlg::extendSystemMenu()
{
    CMenu* menu = GetSystemMenu(FALSE);
    if (!menu)
        return;
    menu->AppendMenu(MF_SEPARATOR);
    menu->AppendMenu(MF_STRING, IDM_HELP, resourceText(IDS_MENU_HELP).c_str());
    menu->AppendMenu(MF_STRING, IDM_WEBSITE, resourceText(IDS_MENU_WEBSITE).c_str());
    menu->AppendMenu(MF_SEPARATOR);
    menu->AppendMenu(MF_STRING, IDM_ABOUTBOX, resourceText(IDS_MENU_ABOUT).c_str());
    menu->AppendMenu(MF_STRING, IDM_DATABASE, resourceText(IDS_MENU_DATABASE).c_str());
    menu->AppendMenu(MF_STRING, IDM_OPTIONS, resourceText(IDS_MENU_OPTIONS).c_str());
    menu->AppendMenu(MF_STRING | (m_app.m_bNotifyOnOutages ? MF_CHECKED : 0), IDM_NOTIFY_OUTAGES,
        resourceText(IDS_MENU_NOTIFY_OUTAGES).c_str());
}

bool CCorvaneDlg::startWaitServer()
{
    if (FAILED(zorCreateDispatch(c_waitServerId, &m_pWaitServer)) || !m_pWaitServer) {
        m_pWaitServer = nullptr;
        boxOut(__FILE__, __LINE__, MB_ICONSTOP, "Can't initialize Wait dialog server.");
        abandon();
        return false;
    }
    // The icon travels as the program's icon resource id and the owner window as a 64-bit
    // integer: neither handle fits the server's 32-bit arguments here.
    COleVariant owner;
    owner.vt = VT_I8;
    owner.llVal = static_cast<LONGLONG>(reinterpret_cast<std::intptr_t>(GetSafeHwnd()));
    waitServerCall(c_waitShow,
        {COleVariant(static_cast<long>(IDR_MAINFRAME)), COleVariant(1L), owner, COleVariant(1L)});
    waitServerCall(c_waitText, {COleVariant(resourceText(IDS_LOADING))});
    return true;
}

void CCorvaneDlg::waitServerCall(DISPID dispid, std::vector<COleVariant> args)
{
    if (m_pWaitServer)
        zorInvoke(m_pWaitServer, dispid, DISPATCH_METHOD, std::move(args));
}

void CCorvaneDlg::stopWaitServer()
{
    if (!m_pWaitServer)
        return;
    waitServerCall(c_waitClose);
    zorRelease(m_pWaitServer);
}

void CCorvaneDlg::pause(int milliseconds)
{
    if (milliseconds <= 0)
        return;
    // The wait dialog paints meanwhile.
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

void CCorvaneDlg::abandon()
{
    stopWaitServer();
    m_bClosed = true;
    EndDialog(IDCANCEL);
}

// --- the sampling cycle --------------------------------------------------------------------

void CCorvaneDlg::OnTimer(UINT_PTR)
{
    if (m_bClosed)
        return;
    ++m_nTicks;
    if (m_nTicks >= m_app.m_nSampleInterval)
        samplingPass();
    showCountdown();
    quarterHourTick();
}

void CCorvaneDlg::samplingPass()
{
    // Ticks missed during the pass are not made up.
    KillTimer(c_nTimerId);
    SetDlgItemText(IDC_STATUS, resourceText(IDS_PINGING).c_str());
    if (echoUsable()) {
        for (int slot = 0; slot < c_nSlots; ++slot)
            probeSlot(slot);
    }
    if (!m_bClosed)
        SetTimer(c_nTimerId, c_nTimerPeriodMs);
    m_nTicks = 0;
}

void CCorvaneDlg::showCountdown()
{
    if (m_bEchoBlocked) {
        SetDlgItemText(IDC_STATUS, resourceText(IDS_ECHO_STATUS).c_str());
        return;
    }
    const int remaining = m_app.m_nSampleInterval - m_nTicks;
    char text[64];
    if (remaining < 60)
        std::snprintf(text, sizeof text, "%d seconds until next ping", remaining);
    else
        std::snprintf(text, sizeof text, "%d:%.2d until next ping", remaining / 60, remaining % 60);
    SetDlgItemText(IDC_STATUS, text);
}

void CCorvaneDlg::quarterHourTick()
{
    const COleDateTime bucket = CGraphFeed::quarterBucket(COleDateTime::GetCurrentTime());
    if (bucket == m_lastBucket)
        return;
    m_lastBucket = bucket;
    m_graphFeed.writeAverages();
    setUpGraphWindow();
}

bool CCorvaneDlg::sampleSlot(int slot)
{
    if (m_slots[slot].m_address == 0 || !echoUsable())
        return false;
    return probeSlot(slot);
}

bool CCorvaneDlg::probeSlot(int slot)
{
    const SampleOutcome outcome
        = ::sampleSlot(m_slots[slot], m_database, m_nTimeoutMs, m_nRepeat, m_echo, &m_outageNotice);
    if (outcome.recorded)
        refillOutageList();
    if (m_slots[slot].m_address != 0 && m_graphEnabled[slot])
        m_graphFeed.livePoint(slot);
    return outcome.up;
}

bool CCorvaneDlg::echoUsable()
{
    const bool anyAddress = std::any_of(
        m_slots.begin(), m_slots.end(), [](const HostSlot& s) { return s.m_address != 0; });
    if (!anyAddress || m_echoPermitted()) {
        m_bEchoBlocked = false;
        return true;
    }
    m_bEchoBlocked = true;
    if (!m_bEchoWarned) {
        m_bEchoWarned = true;
        boxOut(__FILE__, __LINE__, MB_ICONEXCLAMATION, "%s",
            resourceText(IDS_ECHO_NOT_PERMITTED).c_str());
    }
    return false;
}

void CCorvaneDlg::hostEditLostFocus(int slot)
{
    if (m_bClosed)
        return;
    const std::string text = GetDlgItemText(slotControlIds(slot).hostEdit);
    m_app.m_sHost[slot] = text;
    m_app.putChars(
        eKEY_CURRENT_USER, CCorvaneApp::c_szOptions, CCorvaneApp::hostValueName(slot), text);

    HostSlot& hostSlot = m_slots[slot];
    // Byte for byte: a change of letter case is a change.
    if (text == hostSlot.m_hostText)
        return;
    // The samples taken so far belong to the old host.
    m_graphFeed.writeAverages(slot);
    if (!hostSlot.m_hostText.empty())
        writeStatus(m_database, hostSlot.m_hostText, false, true);
    hostSlot.setHost(text);
    if (!text.empty())
        writeStatus(m_database, text, true, true);

    fillHostSelector();
    refillOutageList();
    graphChanged(slot);
    sampleSlot(slot);
}

void CCorvaneDlg::close()
{
    if (m_bClosed)
        return;
    if (m_nBusy > 0) {
        m_bClosePending = true;
        return;
    }
    m_bClosed = true;
    KillTimer(c_nTimerId);
    for (const HostSlot& slot : m_slots) {
        if (!slot.m_hostText.empty())
            writeStatus(m_database, slot.m_hostText, false, true);
    }
    m_graphFeed.writeAverages();
    m_database.close();
    EndDialog(IDCANCEL);
}

void CCorvaneDlg::OnOK()
{
    close();
}

void CCorvaneDlg::OnCancel()
{
    close();
}

LRESULT CCorvaneDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    CBusyScope busy(*this);
    if (message == WM_ENDSESSION) {
        if (wParam)
            close();
        return 0;
    }
    return CResizableDialog::WindowProc(message, wParam, lParam);
}

BOOL CCorvaneDlg::OnQueryEndSession()
{
    return TRUE;
}

// --- the graph -----------------------------------------------------------------------------

void CCorvaneDlg::setUpGraphWindow()
{
    m_graphFeed.setUpWindow(m_nGraphSpan, [this](int slot) { graphChanged(slot); });
}

void CCorvaneDlg::graphChanged(int slot)
{
    UpdateData(TRUE);
    const bool enabled = m_graphEnabled[slot] != 0;
    m_app.m_bGraph[slot] = enabled;
    m_app.putBool(
        eKEY_CURRENT_USER, CCorvaneApp::c_szGraph, CCorvaneApp::slotValueName(slot), enabled);

    if (CWnd* color = GetDlgItem(slotControlIds(slot).colour))
        color->ShowWindow(enabled && m_slots[slot].m_address != 0 ? SW_SHOW : SW_HIDE);
    if (enabled) {
        m_graph.setPlotColor(slot, m_colors[slot].GetRGBColor());
        m_graphFeed.replot(slot);
    } else {
        m_graph.clearPlot(slot);
    }
    m_graph.repaint();
}

void CCorvaneDlg::colorClicked(int slot)
{
    const COLORREF color = m_colors[slot].GetValue();
    m_app.m_graphColor[slot] = color;
    m_app.putColor(
        eKEY_CURRENT_USER, CCorvaneApp::c_szGraphColor, CCorvaneApp::slotValueName(slot), color);
    graphChanged(slot);
}

void CCorvaneDlg::graphSpanChanged()
{
    if (!m_bInitialised || m_bClosed)
        return;
    if (!UpdateData(TRUE))
        return;
    m_nGraphSpan = std::clamp(m_nGraphSpan, CCorvaneApp::c_nMinDays, CCorvaneApp::c_nMaxDays);
    m_app.m_nDays = m_nGraphSpan;
    m_app.putInt(eKEY_CURRENT_USER, CCorvaneApp::c_szOptions, CCorvaneApp::c_szDays, m_nGraphSpan);
    setUpGraphWindow();
}

void CCorvaneDlg::sampleIntervalChanged(const std::string& text)
{
    if (m_bInitialising)
        return;
    m_app.m_nSampleInterval = leadingNumber(text);
    m_app.putInt(eKEY_CURRENT_USER, CCorvaneApp::c_szOptions, CCorvaneApp::c_szSampleInterval,
        m_app.m_nSampleInterval);
}

// --- the outage panel ----------------------------------------------------------------------

CComboBox* CCorvaneDlg::hostSelector() const
{
    return dynamic_cast<CComboBox*>(GetDlgItem(IDC_HOST_SELECTOR));
}

CListBox* CCorvaneDlg::outageList() const
{
    return dynamic_cast<CListBox*>(GetDlgItem(IDC_OUTAGES));
}

void CCorvaneDlg::fillHostSelector()
{
    CComboBox* selector = hostSelector();
    if (!selector)
        return;
    std::string remembered;
    if (const int selected = selector->GetCurSel(); selected != CB_ERR)
        selector->GetLBText(selected, remembered);

    selector->ResetContent();
    const int all = selector->AddString(resourceText(IDS_ALL_HOSTS).c_str());
    selector->SetItemData(all, static_cast<DWORD_PTR>(static_cast<std::intptr_t>(c_allHosts)));
    std::vector<HostRow> hosts;
    // After an error (shown) the hosts read before it stay.
    m_database.listHosts(hosts);
    for (const HostRow& host : hosts) {
        const int index = selector->AddString(host.host.c_str());
        selector->SetItemData(index, static_cast<DWORD_PTR>(host.hostId));
    }

    selector->SetCurSel(0);
    if (!remembered.empty()) {
        const int found = selector->FindStringExact(-1, remembered.c_str());
        if (found != CB_ERR)
            selector->SetCurSel(found);
    }
}

void CCorvaneDlg::refillOutageList()
{
    CListBox* list = outageList();
    if (!list)
        return;
    LONG onlyHostId = c_allHosts;
    if (CComboBox* selector = hostSelector(); selector && selector->GetCurSel() > 0) {
        onlyHostId = static_cast<LONG>(
            static_cast<std::intptr_t>(selector->GetItemData(selector->GetCurSel())));
    }
    OutageListOptions options;
    options.showStartStop = m_app.m_bStartStop;
    options.shortestOutage = m_app.m_nDownInterval;
    list->ReplaceContent(buildOutageList(m_database, options, onlyHostId));
}

void CCorvaneDlg::updateDeleteButton()
{
    CComboBox* selector = hostSelector();
    if (CWnd* remove = GetDlgItem(IDC_DELETE))
        remove->EnableWindow(selector && selector->GetCurSel() > 0);
}

void CCorvaneDlg::hostSelectionChanged()
{
    refillOutageList();
    updateDeleteButton();
}

void CCorvaneDlg::deleteSelectedHost()
{
    CComboBox* selector = hostSelector();
    // "<all>" cannot be deleted.
    if (!selector || selector->GetCurSel() <= 0)
        return;
    std::string host;
    selector->GetLBText(selector->GetCurSel(), host);
    const std::string question = resourceText(IDS_DELETE_QUESTION) + host;
    if (boxOut(
            __FILE__, __LINE__, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2, "%s", question.c_str())
        == IDNO)
        return;
    m_database.deleteHost(host);
    fillHostSelector();
    selector->SetCurSel(0);
    refillOutageList();
    updateDeleteButton();
}

void CCorvaneDlg::startStopClicked()
{
    UpdateData(TRUE);
    m_app.m_bStartStop = m_bStartStop != 0;
    m_app.putBool(eKEY_CURRENT_USER, CCorvaneApp::c_szOptions, CCorvaneApp::c_szStartStop,
        m_app.m_bStartStop);
    refillOutageList();
}

void CCorvaneDlg::downIntervalChanged()
{
    auto* picker = dynamic_cast<CDateTimeCtrl*>(GetDlgItem(IDC_DOWN_INTERVAL));
    COleDateTime value;
    if (!picker || picker->GetTime(value) != GDT_VALID)
        return;
    // The picker shows a time of day; its date, whatever it is, is no part of the duration.
    m_downInterval = value;
    const double timeOfDay = value.m_dt - std::floor(value.m_dt);
    m_app.m_nDownInterval = shortestOutageSeconds(timeOfDay);
    m_app.putInt(eKEY_CURRENT_USER, CCorvaneApp::c_szOptions, CCorvaneApp::c_szDownInterval,
        m_app.m_nDownInterval);
    refillOutageList();
}

// --- the system menu -----------------------------------------------------------------------

void CCorvaneDlg::OnSysCommand(UINT nID, LPARAM lParam)
{
    switch (nID) {
    case IDM_ABOUTBOX:
        m_app.onAppAbout();
        return;
    case IDM_HELP:
        onHelpCommand();
        return;
    case IDM_DATABASE:
        onDatabaseCommand();
        return;
    case IDM_WEBSITE:
        m_app.showReadme(false);
        return;
    case IDM_OPTIONS:
        onOptionsCommand();
        return;
    case IDM_NOTIFY_OUTAGES:
        onNotifyOutagesCommand();
        return;
    default:
        CResizableDialog::OnSysCommand(nID, lParam);
        return;
    }
}

void CCorvaneDlg::onHelpCommand()
{
    const std::string path = monitorHelpFilePath(m_directory);
    if (!fileExists(path)) {
        boxOut(__FILE__, __LINE__, MB_ICONSTOP, "Can't find help file %s", path.c_str());
        return;
    }
    HtmlHelpA(nullptr, path.c_str(), HH_DISPLAY_TOPIC, 0);
}

void CCorvaneDlg::onDatabaseCommand()
{
    // No sampling while the dialog is open; the tick counter keeps its value.
    KillTimer(c_nTimerId);
    CMaintenanceDlg maintenance(m_database, this);
    if (runModal(maintenance) == IDOK) {
        beginWaitCursor();
        // Closes the database, compacts the file and opens it again.
        m_database.compact();
        fillHostSelector();
        refillOutageList();
        updateDeleteButton();
        endWaitCursor();
    }
    if (!m_bClosed)
        SetTimer(c_nTimerId, c_nTimerPeriodMs);
}

void CCorvaneDlg::onOptionsCommand()
{
    COptionsDlg options(this, &m_app);
    if (runModal(options) != IDOK)
        return;
    const ProbeSettings probe = readProbeSettings(m_app);
    m_nTimeoutMs = probe.timeoutMs;
    m_nRepeat = probe.repeat;
}

void CCorvaneDlg::onNotifyOutagesCommand()
{
    const bool notify = !m_app.m_bNotifyOnOutages;
    m_app.m_bNotifyOnOutages = notify;
    m_app.putBool(
        eKEY_CURRENT_USER, CCorvaneApp::c_szOptions, CCorvaneApp::c_szNotifyOnOutages, notify);
    m_outageNotice.setEnabled(notify);
    if (CMenu* menu = GetSystemMenu(FALSE))
        menu->CheckMenuItem(IDM_NOTIFY_OUTAGES, MF_BYCOMMAND | (notify ? MF_CHECKED : 0));
}

INT_PTR CCorvaneDlg::runModal(CDialog& dialog)
{
    return m_runModal ? m_runModal(dialog) : dialog.DoModal();
}

// --- painting ------------------------------------------------------------------------------

void CCorvaneDlg::OnPaint()
{
    reportFirstPaint();
    if (!IsIconic()) {
        CResizableDialog::OnPaint();
        return;
    }
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    CBrush background(GetSysColor(COLOR_3DFACE));
    dc.FillRect(&client, &background);
    const int x = (client.Width() - GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (client.Height() - GetSystemMetrics(SM_CYICON) + 1) / 2;
    DrawIcon(&dc, x, y, m_hIcon);
}

HCURSOR CCorvaneDlg::OnQueryDragIcon()
{
    // The query answers with a cursor handle; the platform takes the icon for one here.
    return reinterpret_cast<HCURSOR>(m_hIcon);
}

void CCorvaneDlg::reportFirstPaint()
{
    if (m_bPainted)
        return;
    m_bPainted = true;
    const char* report = std::getenv(c_firstPaintSwitch);
    if (report && std::string(report) == "1")
        consoleOut("corvane: first paint");
}

// --- the slots' controls -------------------------------------------------------------------

void CCorvaneDlg::setHostEditText(int hostEditId, const std::string& text)
{
    SetDlgItemText(hostEditId, text.c_str());
}

void CCorvaneDlg::setAddressLabelText(int addressLabelId, const std::string& text)
{
    SetDlgItemText(addressLabelId, text.c_str());
}

void CCorvaneDlg::setLatencyLabelText(int latencyLabelId, const std::string& text)
{
    SetDlgItemText(latencyLabelId, text.c_str());
}

void CCorvaneDlg::showLight(int lightId, bool show)
{
    if (CWnd* light = GetDlgItem(lightId))
        light->ShowWindow(show ? SW_SHOW : SW_HIDE);
}

void CCorvaneDlg::showLatencyLabel(int latencyLabelId, bool show)
{
    if (CWnd* label = GetDlgItem(latencyLabelId))
        label->ShowWindow(show ? SW_SHOW : SW_HIDE);
}

void CCorvaneDlg::showAddressLabel(int addressLabelId, bool show)
{
    if (CWnd* label = GetDlgItem(addressLabelId))
        label->ShowWindow(show ? SW_SHOW : SW_HIDE);
}

void CCorvaneDlg::showGraphCheckBox(int graphCheckBoxId, bool show)
{
    if (CWnd* check = GetDlgItem(graphCheckBoxId))
        check->ShowWindow(show ? SW_SHOW : SW_HIDE);
}

void CCorvaneDlg::setLightState(int lightId, long state)
{
    for (int slot = 0; slot < c_nSlots; ++slot) {
        if (slotControlIds(slot).light == lightId)
            m_lights[slot].SetState(state);
    }
}

void CCorvaneDlg::beginWaitCursor()
{
    if (m_nWaitCursors++ == 0)
        m_previousCursor = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
}

void CCorvaneDlg::endWaitCursor()
{
    if (m_nWaitCursors > 0 && --m_nWaitCursors == 0)
        SetCursor(m_previousCursor);
}
