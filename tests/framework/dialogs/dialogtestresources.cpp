// The templates and string resources of the dialog bases' tests.

#include "tests/framework/dialogs/dialogtestsupport.h"

#include "platform/ui/controls.h"
#include "platform/ui/dialogtemplate.h"
#include "platform/ui/strings.h"

const char* const kNameTip = "Name or address of the host to watch";
const char* const kIntervalTip = "Seconds between two probes";
const char* const kUnitTip = "Unit of the interval";
const char* const kRemarkTip = "A remark that is stored with the host and shown in the list of "
                               "hosts, long enough to wrap into several lines";

ZOR_STRING_TABLE({
    {IDC_NAME, kNameTip},
    {IDC_INTERVAL, kIntervalTip},
    {IDC_UNIT, kUnitTip},
    {IDC_REMARK, kRemarkTip},
});

namespace {

constexpr DWORD kResizable = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;

} // namespace

ZOR_DIALOG_TABLE({
    {IDD_LAYOUT, "Layout", 200, 120, "MS Sans Serif", 8, kResizable,
        {
            {eDLG_EDIT, IDC_NAME, "", 10, 10, 60, 12, ES_AUTOHSCROLL | WS_TABSTOP},
            {eDLG_LISTBOX, IDC_HOSTS, "", 10, 30, 80, 40,
                LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP},
            {eDLG_STATIC, IDC_LEFT_TEXT, "Left text", 100, 30, 40, 8, SS_LEFT},
            {eDLG_STATIC, IDC_SIMPLE_TEXT, "Simple", 100, 42, 40, 8, SS_SIMPLE},
            {eDLG_STATIC, IDC_SIMPLE_CENTRED, "Simple", 150, 54, 40, 8, SS_SIMPLE | SS_CENTERIMAGE},
            {eDLG_STATIC, IDC_ICON, "", 100, 54, 20, 20, SS_ICON},
            {eDLG_STATIC, IDC_CENTRED_ICON, "", 125, 54, 20, 20, SS_ICON | SS_CENTERIMAGE},
            {eDLG_GROUPBOX, IDC_GROUP, "Options", 10, 75, 80, 30, BS_GROUPBOX},
            {eDLG_CHECKBOX, IDC_LOG, "Log", 15, 87, 40, 10, WS_TABSTOP},
            {eDLG_FRAME, IDC_FRAME, "", 150, 30, 40, 20, SS_ETCHEDFRAME},
            {eDLG_BUTTON, IDC_APPLY, "Apply", 100, 80, 40, 14, BS_PUSHBUTTON | WS_TABSTOP},
            {eDLG_BUTTON, IDOK, "OK", 145, 80, 40, 14, BS_DEFPUSHBUTTON | WS_TABSTOP},
        }},
    {IDD_TOOLTIPS, "Tooltips", 200, 100, "MS Sans Serif", 8, kResizable,
        {
            {eDLG_EDIT, IDC_NAME, "", 10, 10, 60, 12, ES_AUTOHSCROLL | WS_TABSTOP},
            {eDLG_STATIC, IDC_LEFT_TEXT, "Interval", 10, 30, 40, 8, SS_LEFT},
            {eDLG_COMBOBOX, IDC_INTERVAL, "", 60, 28, 50, 60, CBS_DROPDOWN | WS_TABSTOP},
            {eDLG_COMBOBOX, IDC_UNIT, "", 120, 28, 50, 60, CBS_DROPDOWNLIST | WS_TABSTOP},
            {eDLG_EDIT, IDC_REMARK, "", 10, 50, 100, 12, ES_AUTOHSCROLL | WS_TABSTOP},
            {eDLG_BUTTON, IDOK, "OK", 145, 80, 40, 14, BS_DEFPUSHBUTTON | WS_TABSTOP},
        }},
    {IDD_PAGE, "Page", 200, 100, "MS Sans Serif", 8, WS_CHILD,
        {
            {eDLG_EDIT, IDC_NAME, "", 10, 10, 60, 12, ES_AUTOHSCROLL | WS_TABSTOP},
            {eDLG_COMBOBOX, IDC_INTERVAL, "", 60, 28, 50, 60, CBS_DROPDOWN | WS_TABSTOP},
            {eDLG_EDIT, IDC_REMARK, "", 10, 50, 100, 12, ES_AUTOHSCROLL | WS_TABSTOP},
        }},
    {IDD_CENTRED, "Centred", 151, 77, "MS Sans Serif", 8,
        DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU,
        {
            {eDLG_BUTTON, IDOK, "OK", 50, 55, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP},
        }},
});
