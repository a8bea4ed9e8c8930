#include "framework/controls/pagerows.h"

#include "framework/identity/suitecontrols.h"
#include "platform/ui/window.h"

DialogItem zorLabelRow(int id, const char* text, int x, int y, int cx, int cy)
{
    return {eDLG_STATIC, id, text, x, y, cx, cy, SS_LEFT};
}

DialogItem zorHostedRow(
    int id, const char* progId, const char* initState, int x, int y, int cx, int cy, DWORD style)
{
    DialogItem item {eDLG_HOSTED, id, "", x, y, cx, cy, style};
    item.classId = progId;
    item.initState = initState;
    return item;
}

DialogItem zorHostedColorRow(int id, int x, int y, int cx, int cy, const char* initState)
{
    return zorHostedRow(id, c_szColorProgId, initState, x, y, cx, cy, WS_TABSTOP);
}

DialogTemplate zorPageTemplate(UINT id, const char* caption, std::vector<DialogItem> items)
{
    DialogTemplate tmpl;
    tmpl.id = id;
    tmpl.caption = caption;
    tmpl.cx = 250;
    tmpl.cy = 110;
    tmpl.style = WS_CHILD;
    tmpl.items = std::move(items);
    return tmpl;
}
