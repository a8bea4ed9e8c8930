#pragma once

// The geometry of the light's drawing, as plain functions: the square the disc fills and the
// lamp inside the bezel.

#include "platform/types/rect.h"

// The bounds made square and centred: the longer side shrunk by half the difference on each
// side (divisions toward zero).
CRect zorLightSquare(const CRect& bounds);
// The lamp inside the bezel: the square shrunk by a twentieth of its width and height on each
// side.
CRect zorLightLamp(const CRect& square);
