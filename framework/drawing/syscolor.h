#pragma once

// The table of the 25 named system colours and the rule that resolves a colour value.
//
// A colour value whose top byte is 0 is a plain RGB colour (red in the low byte); any other top
// byte refers to the system colour of that index, the low 24 bits keeping only the value it had
// when it was chosen. Colour properties store such references so that a control follows the
// desktop's colour scheme.
//
// The table is exported as data: other modules index m_colorNameVal directly, row by row, so
// the row layout (value, name, short name), the number of rows and their order (sorted by short
// name; the row is the colour's position in every list shown to the user) are fixed.

#include "platform/types/wintypes.h"

#include <string>

// One row of the colour table.
struct NAMEVAL
{
    int value; // the system colour index, as GetSysColor takes it
    const char* name; // long description
    const char* shortName; // upper-case short name
};

class CSysColor
{
public:
    virtual ~CSysColor() = default;

    // The number of rows of m_colorNameVal.
    static constexpr int c_nColors = 25;

    // The 25 rows, sorted by short name.
    static NAMEVAL* m_colorNameVal;

    // The long description of a row; empty outside 0 to 24.
    static std::string getName(int row);
    // The short name of a row; empty outside 0 to 24.
    static std::string getShortName(int row);
    // The current RGB value of the row's system colour; system colour 0 outside 0 to 24.
    static COLORREF getRGB(int row);
    // The row's system colour index; 0 outside 0 to 24.
    static int getSysColorVal(int row);
    // The colour a value stands for: the value itself when its top byte is 0, else the
    // current value of the system colour its top byte names.
    static COLORREF getColor(DWORD colorRef);
    // "0x" and blue, green, red as two hexadecimal digits each: pure red gives "0x0000FF".
    static std::string formatHex(COLORREF color);
};
