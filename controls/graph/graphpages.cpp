// The templates of the graph's pages.

#include "controls/frame/widgetids.h"
#include "controls/graph/graphpageids.h"
#include "framework/controls/aboutproppage.h"
#include "framework/controls/pagerows.h"
#include "platform/ui/window.h"

ZOR_DIALOG_TABLE({
    zorPageTemplate(IDD_GRAPH_PPG, "Colors",
        {zorLabelRow(-1, "Background Color:", 10, 12, 70, 8),
            zorHostedColorRow(
                IDC_GRAPH_BACKGROUNDCOLOR, 85, 10, 80, 14, "ShowHexValue=1\nRGBColor=0x00FFFFFF\n"),
            zorLabelRow(-1, "Scale Color:", 10, 32, 70, 8),
            zorHostedColorRow(
                IDC_GRAPH_SCALECOLOR, 85, 30, 80, 14, "ShowHexValue=1\nRGBColor=0x00000000\n"),
            zorLabelRow(-1, "Graph Color:", 10, 52, 70, 8),
            zorHostedColorRow(
                IDC_GRAPH_GRAPHCOLOR, 85, 50, 80, 14, "ShowHexValue=1\nRGBColor=0x00FF0000\n"),
            zorLabelRow(-1, "Grid Color:", 10, 72, 70, 8),
            zorHostedColorRow(
                IDC_GRAPH_GRIDCOLOR, 85, 70, 80, 14, "ShowHexValue=1\nRGBColor=0x00FFFF00\n")}),
    zorPageTemplate(IDD_GRAPH_PPG2, "General",
        {zorLabelRow(-1, "Caption:", 10, 12, 40, 8),
            {eDLG_EDIT, IDC_GRAPH_CAPTION, "", 55, 10, 185, 12, ES_AUTOHSCROLL | WS_TABSTOP},
            {eDLG_CHECKBOX, IDC_GRAPH_SHOWCAPTION, "Show Caption", 55, 30, 80, 10, WS_TABSTOP},
            {eDLG_CHECKBOX, IDC_GRAPH_BOXBORDER, "&3d Border", 55, 45, 80, 10, WS_TABSTOP},
            {eDLG_CHECKBOX, IDC_GRAPH_SHOWGRID, "&Show Grid", 55, 60, 80, 10, WS_TABSTOP}}),
    CZorAboutPropPage::makeTemplate(IDD_GRAPH_ABOUT, IDI_GRAPH, IDC_GRAPH_VERSION, IDC_GRAPH_LINK),
});
