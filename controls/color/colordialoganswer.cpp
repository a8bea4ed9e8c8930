#include "controls/color/colordialoganswer.h"

#include "platform/ui/controls.h"
#include "platform/ui/dialog.h"

namespace {
ZorDialogAnswerer s_answerer {nullptr};
} // namespace

extern "C" ZorDialogAnswerer zorWidgetsSetDialogAnswerer(ZorDialogAnswerer answerer)
{
    const ZorDialogAnswerer previous = s_answerer;
    s_answerer = answerer;
    return previous;
}

ZorDialogAnswerer zorWidgetsDialogAnswerer()
{
    return s_answerer;
}

INT_PTR zorRunColorDialog(CDialog* dialog, unsigned templateId)
{
    if (!s_answerer)
        return dialog->DoModal();
    if (!dialog->Create(templateId, nullptr))
        return -1;
    const int button = s_answerer(dialog);
    dialog->SendMessage(WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
    const INT_PTR result = dialog->result();
    dialog->DestroyWindow();
    return result;
}
