#include "platform/ui/controls_p.h"

#include <memory>

CWnd* zorCreateHostedRow(CWnd* dialog, const DialogItem& item, const CRect& rect, DWORD style)
{
    if (const ZorHostedControlFactory factory = zorHostedControlFactory()) {
        if (CWnd* hosted = factory(dialog, item, rect))
            return hosted;
    }
    // Without a factory, or when the control could not be made, an empty site keeps the
    // row's place and id.
    auto site = std::make_unique<CWnd>();
    if (!site->CreateEx(
            item.exStyle, "ZorHostedSite", "", style, rect, dialog, static_cast<UINT>(item.id)))
        return nullptr;
    if (!(style & WS_VISIBLE))
        site->ShowWindow(SW_HIDE);
    return site.release();
}
