#pragma once

// Resource identifiers of the test container.

constexpr unsigned IDI_CONTAINER = 128;
constexpr unsigned IDD_CONTAINER = 100;

constexpr int IDC_CLASSES = 1001;
constexpr int IDC_INSERT = 1002;
constexpr int IDC_REMOVE = 1003;
constexpr int IDC_HOST_AREA = 1004;
constexpr int IDC_MEMBERS = 1005;
constexpr int IDC_VALUE = 1006;
constexpr int IDC_GET = 1007;
constexpr int IDC_SET = 1008;
constexpr int IDC_INVOKE = 1009;
constexpr int IDC_EVENTS = 1010;
constexpr int IDC_PROPERTIES = 1011;
constexpr int IDC_FILE = 1012;
constexpr int IDC_SAVE = 1013;
constexpr int IDC_LOAD = 1014;
constexpr int IDC_STATUS = 1015;
constexpr int IDC_CONTROL = 1100;
