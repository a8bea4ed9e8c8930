// The lists sample's dialog template, toolbar and texts (the toolbar's images are built from
// toolbar.bmp).

#include "platform/ui/controls.h"
#include "platform/ui/dialogtemplate.h"
#include "platform/ui/messagebox.h"
#include "platform/ui/strings.h"
#include "platform/ui/toolbar.h"
#include "tools/zorlists/resource.h"

ZOR_DIALOG_TABLE({
    {IDD_LISTS, "Zorvex Lists", 440, 240, "MS Sans Serif", 8,
        DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX
            | WS_MAXIMIZEBOX,
        {
            {eDLG_STATIC, IDC_SORT_LABEL, "Sortable list (click a column header to sort):", 7, 5,
                210, 8, SS_LEFT},
            {eDLG_STATIC, IDC_VIRTUAL_LABEL, "Virtual list, 1,000,000 rows:", 227, 5, 200, 8,
                SS_LEFT},
            {eDLG_STATIC, IDC_STATUS, "Ready", 7, 226, 360, 8, SS_LEFT},
            {eDLG_BUTTON, IDOK, "Close", 383, 222, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP},
        }},
});

ZOR_TOOLBAR_TABLE({
    {IDR_LISTS, 16, 15,
        {ID_SORT_NUMBER, ID_SORT_NAME, ID_SORT_DATE, ID_SEPARATOR, ID_GO_END, ID_SEPARATOR,
            ID_REFILL}},
});

// Each command's status-line text, then its tooltip after the line break.
ZOR_STRING_TABLE({
    {ID_SORT_NUMBER, "Sort the list by its number column\nSort by number"},
    {ID_SORT_NAME, "Sort the list by its name column\nSort by name"},
    {ID_SORT_DATE, "Sort the list by its date column\nSort by date"},
    {ID_GO_END, "Show the last row of the virtual list\nGo to the last row"},
    {ID_REFILL, "Fill the sortable list with new rows\nNew rows"},
    {IDC_STATUS, "What the pointer is on"},
});
