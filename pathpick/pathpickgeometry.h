#pragma once

// Where the picker paints: the text field and the square "..." button inside the bounds the
// frame passes, as plain arithmetic that a test can check without a window.

#include "platform/types/rect.h"

struct ZorPathPickLayout
{
    // The text field's rectangle (framed) and the button's (also the target of clicks).
    CRect text;
    CRect button;
    bool operator==(const ZorPathPickLayout&) const = default;
};

// Inside the sunken box over `bounds`: the text field and a square button at its right end
// whose side is the field's height, both one pixel in and one pixel down. A control taller
// than wide gives the text field a negative width; the caller paints on regardless.
ZorPathPickLayout zorPathPickLayout(const CRect& bounds);
