#pragma once

// Resource identifiers of the host monitor program: its main window's template and controls,
// its icon, the commands of its system menu and its string table.

#include "platform/types/wintypes.h"

// The main window's template and the program's icon.
constexpr UINT IDD_CORVANE_DIALOG = 102;
constexpr UINT IDR_MAINFRAME = 129;

// Controls of the main window. The controls of the five host rows are listed per slot by
// slotControlIds (monitor/hostslot.h).
constexpr int IDC_OUTAGES = 1002;
constexpr int IDC_SAMPLE_INTERVAL = 1004;
constexpr int IDC_SAMPLE_INTERVAL_SPIN = 1005;
constexpr int IDC_STATUS = 1008;
constexpr int IDC_HOST_SELECTOR = 1031;
constexpr int IDC_DELETE = 1032;
constexpr int IDC_START_STOP = 1033;
constexpr int IDC_DOWN_INTERVAL = 1034;
constexpr int IDC_GRAPH = 1039;
constexpr int IDC_DAYS = 1073;
constexpr int IDC_DAYS_SPIN = 1074;
// Rows without an identifier of their own (labels, frame, lines).
constexpr int IDC_STATIC = -1;

// Commands the main window appends to its system menu.
constexpr UINT IDM_ABOUTBOX = 1035;
constexpr UINT IDM_HELP = 1036;
constexpr UINT IDM_DATABASE = 1037;
constexpr UINT IDM_WEBSITE = 1040;
constexpr UINT IDM_OPTIONS = 32772;
// A check item after them: desktop notices of outages on or off.
constexpr UINT IDM_NOTIFY_OUTAGES = 32773;

// The string table. No text has the identifier of a control: the window's controls show no
// tooltips.
constexpr UINT IDS_MENU_HELP = 200;
constexpr UINT IDS_MENU_WEBSITE = 201;
constexpr UINT IDS_MENU_ABOUT = 202;
constexpr UINT IDS_MENU_DATABASE = 203;
constexpr UINT IDS_MENU_OPTIONS = 204;
constexpr UINT IDS_MENU_NOTIFY_OUTAGES = 205;
constexpr UINT IDS_LOADING = 210;
constexpr UINT IDS_PINGING = 211;
constexpr UINT IDS_ALL_HOSTS = 212;
constexpr UINT IDS_DELETE_QUESTION = 213;
constexpr UINT IDS_ECHO_NOT_PERMITTED = 214;
constexpr UINT IDS_ECHO_STATUS = 215;
