#pragma once

// The logical font: what a program asks of a font. The device context picks the face (through
// the substitution table of the font service) and the pixel size from it; the settings store
// reads and writes it field by field.

#include "platform/types/wintypes.h"

constexpr int LF_FACESIZE = 32;

struct LOGFONT
{
    LONG lfHeight {0};
    LONG lfWidth {0};
    LONG lfEscapement {0};
    LONG lfOrientation {0};
    LONG lfWeight {0};
    BYTE lfItalic {0};
    BYTE lfUnderline {0};
    BYTE lfStrikeOut {0};
    BYTE lfCharSet {0};
    BYTE lfOutPrecision {0};
    BYTE lfClipPrecision {0};
    BYTE lfQuality {0};
    BYTE lfPitchAndFamily {0};
    char lfFaceName[LF_FACESIZE] {};
};
using LOGFONTA = LOGFONT;
