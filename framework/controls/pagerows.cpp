#include "framework/controls/pagerows.h"

#include "framework/identity/suitecontrols.h"
#include "platform/ui/window.h"

DialogItem zorLabelRow(int id, const char* text, int x, int y, int cx, int cy)
{
    DialogItem item;
    item.kind = eDLG_STATIC;
    item.id = id;
    item.text = text;
    item.x = x;
    item.y = y;
    item.cx = cx;
    item.cy = cy;
    item.style = SS_LEFT;
    return item;
}

DialogItem zorHostedColorRow(int id, int x, int y, int cx, int cy, const char* initState)
{
    DialogItem item;
    item.kind = eDLG_HOSTED;
    item.id = id;
    item.x = x;
    item.y = y;
    item.cx = cx;
    item.cy = cy;
    item.style = WS_TABSTOP;
    item.classId = c_szColorProgId;
    item.initState = initState;
    return item;
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
