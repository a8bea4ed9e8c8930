#pragma once

// The component layer's start in a process: the application (or a module that hosts controls)
// calls these once before it creates controls by class id.

#include "platform/types/wintypes.h"

// The component layer: initialised once per process; TRUE on success. The layer needs no
// setting up beyond what its own objects do when first used, so the call succeeds.
BOOL AfxOleInit();
// Allows dialogs to host controls by class id: installs the control site's factory of
// hosted-control template rows (zorHostedControlFactory answers it from then on).
void AfxEnableControlContainer();
