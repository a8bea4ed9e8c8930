#pragma once

// The second font that the colour, URL and progress controls exchange under the name "Font"
// beside the stock font: persisted and restored only, to keep the stream layout.

#include "platform/ole/fontholder.h"

// "MS Sans Serif", 8 points, weight 400, character set 0, underlined.
inline FONTDESC zorPersistedFontDefault()
{
    FONTDESC desc;
    desc.lpstrName = "MS Sans Serif";
    desc.cySize = 80000;
    desc.sWeight = 400;
    desc.sCharset = 0;
    desc.fUnderline = TRUE;
    return desc;
}
