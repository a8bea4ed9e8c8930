// The tray sample's icon menu (its icon is built from zortray.png).

#include "framework/frame/trayiconframe.h"
#include "platform/ui/menutable.h"
#include "tools/zortray/resource.h"

ZOR_MENU_TABLE({
    {IDR_TRAYMENU,
        {
            {MF_POPUP, 0, "Tray"},
            {MF_STRING, CTrayIconFrame::ID_POPUP_RESTORE, "&Restore"},
            {MF_SEPARATOR},
            {MF_STRING, CTrayIconFrame::ID_POPUP_EXIT, "E&xit"},
            {MF_END},
        }},
});
