// The template of the picker's page: five rows of a label and an auto-scrolling edit box.

#include "framework/controls/pagerows.h"
#include "pathpick/pathpickids.h"
#include "platform/ui/window.h"

namespace {

DialogItem editRow(int id, int y)
{
    return {eDLG_EDIT, id, "", 58, y, 140, 14, ES_AUTOHSCROLL | WS_TABSTOP};
}

DialogTemplate generalTemplate()
{
    return zorPageTemplate(IDD_PATHPICK_PPG, "General",
        {zorLabelRow(-1, "Default Path:", 13, 10, 42, 8), editRow(IDC_PATHPICK_DEFAULTPATH, 7),
            zorLabelRow(-1, "Default File:", 17, 30, 38, 8), editRow(IDC_PATHPICK_DEFAULTFILE, 27),
            zorLabelRow(-1, "File:", 41, 50, 14, 8), editRow(IDC_PATHPICK_FILE, 47),
            zorLabelRow(-1, "File Prompt:", 17, 70, 38, 8), editRow(IDC_PATHPICK_FILEPROMPT, 67),
            zorLabelRow(-1, "Dialog Title:", 17, 90, 38, 8),
            editRow(IDC_PATHPICK_DIALOGTITLE, 87)});
}

} // namespace

ZOR_DIALOG_TABLE({
    generalTemplate(),
});
