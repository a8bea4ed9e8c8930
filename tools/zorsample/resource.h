#pragma once

// Resource identifiers of the sample program.

#include "platform/types/wintypes.h"

constexpr UINT IDD_SAMPLE = 100;
constexpr UINT IDI_SAMPLE = 128;

constexpr int IDC_HOST_LABEL = 1000;
constexpr int IDC_HOST = 1001;
constexpr int IDC_HOSTS_GROUP = 1002;
constexpr int IDC_HOSTS = 1003;
constexpr int IDC_ADD = 1004;
constexpr int IDC_REMOVE = 1005;
constexpr int IDC_STATUS = 1006;
