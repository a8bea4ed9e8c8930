#pragma once

// Templates and control ids of the graph's pages.

#include "platform/types/wintypes.h"

constexpr UINT IDD_GRAPH_PPG = 3034;
constexpr UINT IDD_GRAPH_PPG2 = 3035;
constexpr UINT IDD_GRAPH_ABOUT = 1021;
constexpr int IDC_GRAPH_BACKGROUNDCOLOR = 3082;
constexpr int IDC_GRAPH_SCALECOLOR = 3083;
constexpr int IDC_GRAPH_GRAPHCOLOR = 3084;
constexpr int IDC_GRAPH_GRIDCOLOR = 3085;
constexpr int IDC_GRAPH_CAPTION = 3086;
constexpr int IDC_GRAPH_SHOWCAPTION = 3087;
constexpr int IDC_GRAPH_BOXBORDER = 3088;
constexpr int IDC_GRAPH_SHOWGRID = 3089;
constexpr UINT IDC_GRAPH_VERSION = 3090;
constexpr UINT IDC_GRAPH_LINK = 3091;
