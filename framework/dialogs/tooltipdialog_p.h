#pragma once

// What the tooltip dialog and the tooltip page share: the walk over a dialog's controls that
// gives each control the tooltip of its string resource.

#include "platform/types/wintypes.h"

class CToolTipCtrl;
class CWnd;

// Adds every window of the sibling chain that starts at pWndFirst as a tool of the control,
// with the text of the string resource (in the current resource module) of the window's
// identifier, or of nInheritedId when that is not 0. A window without such a text gets no
// tool. The children of a combo box share the combo box's identifier, so its edit field and
// list show its tooltip.
void zorLoadToolTips(CToolTipCtrl& toolTip, CWnd* pWndFirst, UINT nInheritedId);
