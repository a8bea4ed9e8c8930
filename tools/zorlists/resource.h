#pragma once

// Resource identifiers of the lists sample.

#include "platform/types/wintypes.h"

constexpr UINT IDD_LISTS = 100;
constexpr UINT IDR_LISTS = 200;

constexpr int IDC_SORT_LABEL = 1000;
constexpr int IDC_VIRTUAL_LABEL = 1001;
constexpr int IDC_SORTLIST = 1002;
constexpr int IDC_VIRTUALLIST = 1003;
constexpr int IDC_STATUS = 1004;

// Toolbar commands.
constexpr UINT ID_SORT_NUMBER = 32771;
constexpr UINT ID_SORT_NAME = 32772;
constexpr UINT ID_SORT_DATE = 32773;
constexpr UINT ID_GO_END = 32774;
constexpr UINT ID_REFILL = 32775;
