#pragma once

// Answering the colour control's dialogs without showing them: an answerer, when installed,
// is given each dialog once it is created (not shown) and returns the id of the button to press
// (IDOK, IDCANCEL or a switch button). Programs that test hosts of the colour control install
// one through the module's exported zorWidgetsSetDialogAnswerer; without one the dialogs run
// modally.

#include "platform/types/wintypes.h"

class CDialog;

using ZorDialogAnswerer = int (*)(CDialog* dialog);

extern "C" __attribute__((visibility("default"))) ZorDialogAnswerer zorWidgetsSetDialogAnswerer(
    ZorDialogAnswerer answerer);

// The installed answerer, or null.
ZorDialogAnswerer zorWidgetsDialogAnswerer();

// Runs a dialog of the colour control: modally, or created and answered by the answerer (the
// chosen button is pressed through WM_COMMAND, so the dialog ends as a click would end it).
// Returns the dialog's result.
INT_PTR zorRunColorDialog(CDialog* dialog, unsigned templateId);
