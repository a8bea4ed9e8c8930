// The templates of the clock's pages.

#include "clock/clockaboutproppage.h"
#include "clock/clockids.h"
#include "platform/ui/window.h"

namespace {

DialogItem label(const char* text, int x, int y, int cx, int cy)
{
    return {eDLG_STATIC, -1, text, x, y, cx, cy, SS_LEFT};
}

// A hosted colour control showing its hexadecimal value, starting with the field's default.
DialogItem colorRow(int id, int x, int y, int cx, int cy, const char* initState)
{
    DialogItem item {eDLG_HOSTED, id, "", x, y, cx, cy, WS_TABSTOP};
    item.classId = c_szClockColorProgId;
    item.initState = initState;
    return item;
}

DialogTemplate generalTemplate()
{
    DialogTemplate tmpl;
    tmpl.id = IDD_CLOCK_PPG;
    tmpl.caption = "General";
    tmpl.cx = 250;
    tmpl.cy = 110;
    tmpl.style = WS_CHILD;
    tmpl.items = {label("&Time Zone", 7, 7, 35, 8),
        {eDLG_COMBOBOX, IDC_CLOCK_ZONE, "", 7, 15, 236, 209,
            CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP},
        label("Foreground:", 17, 41, 39, 8),
        colorRow(IDC_CLOCK_FOREGROUND, 59, 38, 73, 15, "ShowHexValue=1\nRGBColor=0x00800000\n"),
        label("Background:", 14, 63, 42, 8),
        colorRow(IDC_CLOCK_BACKGROUND, 59, 60, 73, 15, "ShowHexValue=1\nRGBColor=0x00C0C0C0\n"),
        label("Shadow:", 27, 84, 29, 8),
        colorRow(IDC_CLOCK_SHADOW, 59, 81, 73, 15, "ShowHexValue=1\nRGBColor=0x00FFFFFF\n"),
        {eDLG_CHECKBOX, IDC_CLOCK_BORDER, "&Border", 180, 52, 37, 10, WS_TABSTOP},
        {eDLG_CHECKBOX, IDC_CLOCK_DIGITAL, "&Digital", 180, 69, 51, 10, WS_TABSTOP},
        {eDLG_CHECKBOX, IDC_CLOCK_SHOWDATE, "&Show Date", 180, 86, 51, 10, WS_TABSTOP}};
    return tmpl;
}

} // namespace

ZOR_DIALOG_TABLE({
    generalTemplate(),
    CClockAboutPropPage::makeTemplate(),
});
