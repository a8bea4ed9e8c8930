// The host monitor's resources: the main window's template and the string table (the icon is
// built from corvane.png by the build).

#include "monitor/hostslot.h"
#include "monitor/icolor.h"
#include "monitor/igraph.h"
#include "monitor/ilight.h"
#include "monitor/resource.h"
#include "platform/ui/controls.h"
#include "platform/ui/dialogtemplate.h"
#include "platform/ui/strings.h"

#include <vector>

namespace {

// The designed properties of the hosted controls, in their persisted form. A light is red
// (off) or green (on) on the button face; the graph has a grid, no caption, a dark blue scale,
// whole milliseconds on its axis and an axis that starts at 0.
constexpr const char* c_lightState = "State=0\n"
                                     "Color=0x000000FF\n"
                                     "ColorOn=0x0000FF00\n"
                                     "Background=0x0F000000\n";
constexpr const char* c_graphState = "ShowCaption=0\n"
                                     "ShowGrid=1\n"
                                     "GraphCaption=Graph\n"
                                     "BackgroundColor=0x0F000000\n"
                                     "ScaleColor=0x00800000\n"
                                     "GraphColor=0x000000FF\n"
                                     "GridColor=0x00808080\n"
                                     "BoxBorder=1\n"
                                     "TextFontFace=MS Sans Serif\n"
                                     "TextFontSize=8\n"
                                     "TextFontBold=0\n"
                                     "TitleFontFace=MS Sans Serif\n"
                                     "TitleFontSize=-13\n"
                                     "TitleFontBold=1\n"
                                     "MinVal0=1\n"
                                     "YDigits=1\n";
// A colour control shows its colour alone (its box is too small for the value's text); the
// colour itself is the slot's stored graph colour, given at start.
constexpr const char* c_colorState = "ShowHexValue=0\n";

// The top of each host row in dialog units; the row's other controls sit 1 to 3 units lower.
constexpr int c_rowTops[5] = {8, 28, 49, 69, 89};
// The etched lines between the rows and above the interval line.
constexpr int c_lineTops[5] = {25, 45, 66, 86, 106};

DialogItem row(eDLGITEM kind, int id, const char* text, int x, int y, int cx, int cy, DWORD style)
{
    return {kind, id, text, x, y, cx, cy, style};
}

DialogItem hostedRow(int id, const char* progId, const char* initState, int x, int y, int cx,
    int cy, DWORD style = 0)
{
    DialogItem item {eDLG_HOSTED, id, "", x, y, cx, cy, style};
    item.classId = progId;
    item.initState = initState;
    return item;
}

std::vector<DialogItem> mainWindowRows()
{
    std::vector<DialogItem> rows;
    rows.push_back(row(eDLG_FRAME, IDC_STATIC, "", 3, 3, 298, 125, SS_ETCHEDFRAME));
    for (int slot = 0; slot < 5; ++slot) {
        const SlotControlIds& ids = slotControlIds(slot);
        const int y = c_rowTops[slot];
        rows.push_back(row(
            eDLG_EDIT, ids.hostEdit, "", 11, y, 99, 14, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP));
        rows.push_back(
            row(eDLG_STATIC, ids.addressLabel, "255.255.255.255", 116, y + 3, 56, 8, SS_LEFT));
        rows.push_back(row(eDLG_STATIC, ids.latencyLabel, "9999 ms", 175, y + 3, 33, 8, SS_RIGHT));
        rows.push_back(hostedRow(ids.light, ILight::c_szProgId, c_lightState, 210, y, 23, 14));
        rows.push_back(row(eDLG_CHECKBOX, ids.graphCheckBox, "Graph", 239, y + 2, 35, 10,
            BS_AUTOCHECKBOX | WS_TABSTOP));
        rows.push_back(hostedRow(
            ids.colour, IColor::c_szProgId, c_colorState, 278, y + 1, 18, 12, WS_TABSTOP));
    }
    for (int top : c_lineTops)
        rows.push_back(row(eDLG_FRAME, IDC_STATIC, "", 7, top, 290, 1, SS_ETCHEDHORZ));

    rows.push_back(row(eDLG_STATIC, IDC_STATIC, "Sample Interval (sec.):", 9, 113, 71, 8, SS_LEFT));
    rows.push_back(row(eDLG_EDIT, IDC_SAMPLE_INTERVAL, "", 81, 110, 36, 14,
        ES_AUTOHSCROLL | ES_READONLY | WS_BORDER | WS_TABSTOP));
    // Attached to the edit box before it, whose text is its number.
    rows.push_back(row(eDLG_UPDOWN, IDC_SAMPLE_INTERVAL_SPIN, "", 110, 110, 11, 14,
        UDS_SETBUDDYINT | UDS_AUTOBUDDY | UDS_ARROWKEYS));
    rows.push_back(row(eDLG_STATIC, IDC_STATUS, "Status", 133, 112, 162, 11, SS_LEFT));

    rows.push_back(row(eDLG_GROUPBOX, IDC_STATIC, "Outages:", 309, 7, 202, 145, 0));
    rows.push_back(row(eDLG_COMBOBOX, IDC_HOST_SELECTOR, "", 318, 23, 135, 108,
        CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP));
    rows.push_back(
        row(eDLG_BUTTON, IDC_DELETE, "&Delete", 458, 23, 40, 13, BS_PUSHBUTTON | WS_TABSTOP));
    rows.push_back(
        row(eDLG_STATIC, IDC_STATIC, "Display outages longer than:", 318, 43, 90, 8, SS_LEFT));
    rows.push_back(row(eDLG_DATETIME, IDC_DOWN_INTERVAL, "", 412, 39, 62, 15,
        DTS_TIMEFORMAT | DTS_UPDOWN | WS_TABSTOP));
    rows.push_back(row(eDLG_STATIC, IDC_STATIC, "mm:ss", 478, 43, 20, 8, SS_LEFT));
    rows.push_back(row(eDLG_CHECKBOX, IDC_START_STOP, "Display Start and Stop messages", 319, 58,
        119, 10, BS_AUTOCHECKBOX | WS_TABSTOP));
    rows.push_back(row(eDLG_LISTBOX, IDC_OUTAGES, "", 317, 72, 183, 75,
        LBS_NOSEL | LBS_USETABSTOPS | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_BORDER | WS_TABSTOP));

    rows.push_back(row(eDLG_STATIC, IDC_STATIC, "Days:", 2, 142, 19, 8, SS_LEFT));
    rows.push_back(row(eDLG_EDIT, IDC_DAYS, "", 23, 139, 29, 14,
        ES_AUTOHSCROLL | ES_READONLY | WS_BORDER | WS_TABSTOP));
    rows.push_back(row(eDLG_UPDOWN, IDC_DAYS_SPIN, "", 54, 139, 11, 14,
        UDS_SETBUDDYINT | UDS_AUTOBUDDY | UDS_ARROWKEYS));
    rows.push_back(
        hostedRow(IDC_GRAPH, IGraph::c_szProgId, c_graphState, 2, 159, 509, 152, WS_TABSTOP));
    return rows;
}

} // namespace

ZOR_DIALOG_TABLE({
    {IDD_CORVANE_DIALOG, "Corvane", 515, 318, "MS Sans Serif", 8,
        DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX,
        mainWindowRows(), WS_EX_APPWINDOW},
});

ZOR_STRING_TABLE({
    {IDS_MENU_HELP, "&Help..."},
    {IDS_MENU_WEBSITE, "&Web Site..."},
    {IDS_MENU_ABOUT, "&About..."},
    {IDS_MENU_DATABASE, "&Database..."},
    {IDS_MENU_OPTIONS, "&Options..."},
    {IDS_MENU_NOTIFY_OUTAGES, "&Notify on Outages"},
    {IDS_LOADING, "Loading..."},
    {IDS_PINGING, "Pinging host"},
    {IDS_ALL_HOSTS, "<all>"},
    {IDS_DELETE_QUESTION, "Delete "},
    {IDS_ECHO_NOT_PERMITTED,
        "Corvane cannot send echo requests: this system lets it open neither a datagram ICMP "
        "socket (net.ipv4.ping_group_range admits none of your groups) nor a raw one. Until "
        "that changes, no host is probed and no availability is recorded.\r\n\r\n"
        "This line lets every user send echo requests (a file in /etc/sysctl.d/ keeps it "
        "after a restart):\r\n\r\n"
        "sudo sysctl -w net.ipv4.ping_group_range=\"0 2147483647\""},
    {IDS_ECHO_STATUS, "Echo requests not permitted"},
});
