#pragma once

// The colour convention of every colour property: a value whose top byte is zero is an RGB
// value (red in the low byte); a value above 0xFFFFFF stands for the system colour its top
// byte names, and the low 24 bits only remember what that colour was when it was chosen.

#include "platform/types/wintypes.h"

// The RGB value to draw with: GetSysColor of the top byte for values above 0xFFFFFF, the value
// itself otherwise.
COLORREF zorResolveColor(DWORD value);
