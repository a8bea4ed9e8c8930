#pragma once

// Resource identifiers of zorwait29.

constexpr unsigned IDS_WAITSERVER_TYPENAME = 1;

constexpr unsigned IDD_WAIT = 100;
constexpr int IDC_WAIT_ICON = 1001;
constexpr int IDC_WAIT_TEXT = 1002;
constexpr int IDC_WAIT_BAR = 1003;
