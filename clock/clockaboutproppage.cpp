#include "clock/clockaboutproppage.h"

#include "clock/clockids.h"
#include "framework/version/moduleversion.h"
#include "platform/ui/window.h"

namespace {

// The link: the maker's address in blue, purple once visited, on button face, left-aligned,
// in "MS Sans Serif" 8.25.
constexpr const char* c_szLinkState
    = "URL=" ZOR_CLOCK_MAKER_URL "\nBox=0\nColor=0x00FF0000\nVisitedColor=0x00800080"
      "\nBackgroundColor=0x0F000000\nJustify=0"
      "\nFont=MS Sans Serif,8.25,400,0,0,0,0\n";

// The icon row's text names the icon resource.
constexpr const char* c_szIcon = "#129";
static_assert(IDI_CLOCK == 129);

DialogItem row(eDLGITEM kind, int id, const char* text, int x, int y, int cx, int cy, DWORD style)
{
    DialogItem item;
    item.kind = kind;
    item.id = id;
    item.text = text;
    item.x = x;
    item.y = y;
    item.cx = cx;
    item.cy = cy;
    item.style = style;
    return item;
}

} // namespace

CClockAboutPropPage::CClockAboutPropPage() : COlePropertyPage(IDD_CLOCK_ABOUT, IDS_CLOCK_ABOUT) { }

CClockAboutPropPage::~CClockAboutPropPage() = default;

BOOL CClockAboutPropPage::OnInitDialog()
{
    COlePropertyPage::OnInitDialog();
    // The version of this module, not of the program that hosts the page.
    SetDlgItemText(IDC_CLOCK_VERSION, getModuleVersion(ZOR_THIS_MODULE()).c_str());
    return TRUE;
}

DialogTemplate CClockAboutPropPage::makeTemplate()
{
    DialogTemplate tmpl;
    tmpl.id = IDD_CLOCK_ABOUT;
    tmpl.caption = "About";
    tmpl.cx = 250;
    tmpl.cy = 110;
    tmpl.style = WS_CHILD;
    DialogItem link = row(eDLG_HOSTED, IDC_CLOCK_LINK, "", 40, 52, 150, 10, WS_TABSTOP);
    link.classId = c_szClockUrlProgId;
    link.initState = c_szLinkState;
    tmpl.items = {row(eDLG_STATIC, -1, c_szIcon, 10, 10, 20, 20, SS_ICON),
        row(eDLG_STATIC, IDC_CLOCK_VERSION, "Version", 40, 10, 200, 8, SS_LEFT),
        row(eDLG_STATIC, -1,
            "Copyright (C) 1998-2026 Zorvex. All rights reserved.\n"
            "This module may be used only under the terms of its licence.",
            40, 26, 200, 18, SS_LEFT),
        link};
    return tmpl;
}
