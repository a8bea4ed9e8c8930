#include "controls/frame/colorvalue.h"

#include "platform/gdi/syscolor.h"

COLORREF zorResolveColor(DWORD value)
{
    if (value > 0xFFFFFF)
        return GetSysColor(static_cast<int>(value >> 24));
    return value;
}
