// The sample's dialog template and tooltip texts (its icon is built from zorsample.png).

#include "framework/frame/zorapp.h"
#include "platform/ui/dialogtemplate.h"
#include "platform/ui/messagebox.h"
#include "platform/ui/strings.h"
#include "tools/zorsample/resource.h"

ZOR_DIALOG_TABLE({
    {IDD_SAMPLE, "Zorvex Sample", 280, 180, "MS Sans Serif", 8,
        DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX
            | WS_MAXIMIZEBOX,
        {
            {eDLG_STATIC, IDC_HOST_LABEL, "&Host name:", 7, 9, 44, 8, SS_LEFT},
            {eDLG_EDIT, IDC_HOST, "", 54, 7, 156, 14, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP},
            {eDLG_GROUPBOX, IDC_HOSTS_GROUP, "Monitored hosts", 7, 27, 203, 127, 0},
            {eDLG_LISTBOX, IDC_HOSTS, "", 14, 39, 189, 108,
                LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_BORDER | WS_TABSTOP},
            {eDLG_STATIC, IDC_STATUS, "", 7, 162, 203, 8, SS_LEFT},
            {eDLG_BUTTON, IDOK, "OK", 223, 7, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP},
            {eDLG_BUTTON, IDCANCEL, "Cancel", 223, 24, 50, 14, BS_PUSHBUTTON | WS_TABSTOP},
            {eDLG_BUTTON, IDC_ADD, "&Add", 223, 48, 50, 14, BS_PUSHBUTTON | WS_TABSTOP},
            {eDLG_BUTTON, IDC_REMOVE, "&Remove", 223, 65, 50, 14, BS_PUSHBUTTON | WS_TABSTOP},
            {eDLG_BUTTON, static_cast<int>(ID_POPUP_HELP), "&Help", 223, 159, 50, 14,
                BS_PUSHBUTTON | WS_TABSTOP},
        }},
});

// Tooltips: the text of each control's identifier.
ZOR_STRING_TABLE({
    {IDOK, "Keep the list and close"},
    {IDCANCEL, "Close without keeping changes"},
    {IDC_HOST, "Type a host name or an address, then press Add"},
    {IDC_HOSTS, "The hosts to watch"},
    {IDC_ADD, "Add the host typed above to the list"},
    {IDC_REMOVE, "Remove the selected host from the list"},
    {ID_POPUP_HELP, "Open the help file"},
});
