#pragma once

// Resource identifiers of zorabout29.

constexpr unsigned IDS_ABOUTSERVER_TYPENAME = 1;

constexpr unsigned IDD_ABOUT = 100;
constexpr int IDC_ABOUT_ICON = 1001;
constexpr int IDC_ABOUT_PROGRAM = 1002;
constexpr int IDC_ABOUT_BUILT = 1003;
constexpr int IDC_ABOUT_MODULES = 1004;
