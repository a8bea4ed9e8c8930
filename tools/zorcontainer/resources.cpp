// The test container's dialog template (its icon is built from zorcontainer.png).

#include "platform/ui/dialogtemplate.h"
#include "platform/ui/messagebox.h"
#include "platform/ui/strings.h"
#include "platform/ui/window.h"
#include "tools/zorcontainer/resource.h"

ZOR_DIALOG_TABLE({
    {IDD_CONTAINER, "Zorvex Control Test Container", 400, 260, "MS Sans Serif", 8,
        DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX
            | WS_MAXIMIZEBOX,
        {
            {eDLG_STATIC, -1, "&Control:", 7, 9, 30, 8, SS_LEFT},
            {eDLG_COMBOBOX, IDC_CLASSES, "", 40, 7, 196, 100, CBS_DROPDOWNLIST | WS_TABSTOP},
            {eDLG_BUTTON, IDC_INSERT, "&Insert", 243, 7, 50, 14, BS_PUSHBUTTON | WS_TABSTOP},
            {eDLG_BUTTON, IDC_REMOVE, "&Remove", 297, 7, 50, 14, BS_PUSHBUTTON | WS_TABSTOP},
            {eDLG_FRAME, IDC_HOST_AREA, "", 7, 26, 250, 130, SS_ETCHEDFRAME},
            {eDLG_STATIC, -1, "&Members:", 264, 26, 60, 8, SS_LEFT},
            {eDLG_LISTBOX, IDC_MEMBERS, "", 264, 36, 129, 90,
                LBS_NOTIFY | LBS_USETABSTOPS | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_BORDER
                    | WS_TABSTOP},
            {eDLG_EDIT, IDC_VALUE, "", 264, 130, 129, 14, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP},
            {eDLG_BUTTON, IDC_GET, "&Get", 264, 148, 40, 14, BS_PUSHBUTTON | WS_TABSTOP},
            {eDLG_BUTTON, IDC_SET, "&Set", 308, 148, 40, 14, BS_PUSHBUTTON | WS_TABSTOP},
            {eDLG_BUTTON, IDC_INVOKE, "In&voke", 352, 148, 41, 14, BS_PUSHBUTTON | WS_TABSTOP},
            {eDLG_STATIC, -1, "&Events:", 7, 162, 60, 8, SS_LEFT},
            {eDLG_LISTBOX, IDC_EVENTS, "", 7, 172, 250, 60,
                LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_BORDER | WS_TABSTOP},
            {eDLG_BUTTON, IDC_PROPERTIES, "&Properties...", 264, 172, 129, 14,
                BS_PUSHBUTTON | WS_TABSTOP},
            {eDLG_EDIT, IDC_FILE, "", 264, 190, 129, 14, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP},
            {eDLG_BUTTON, IDC_SAVE, "S&ave", 264, 208, 62, 14, BS_PUSHBUTTON | WS_TABSTOP},
            {eDLG_BUTTON, IDC_LOAD, "&Load", 331, 208, 62, 14, BS_PUSHBUTTON | WS_TABSTOP},
            {eDLG_STATIC, IDC_STATUS, "", 7, 241, 330, 8, SS_LEFT | SS_NOPREFIX},
            {eDLG_BUTTON, IDCANCEL, "Close", 343, 239, 50, 14, BS_PUSHBUTTON | WS_TABSTOP},
        }},
});
