#pragma once

// Texts for traces: variant values, database field types, query definition types and flags.

#include "platform/types/olevariant.h"

#include <string>

class CCrack
{
public:
    // The value of a variant as text, by its type code; kinds without a value text give the
    // type code's name ("VT_DISPATCH"), unknown codes the empty text.
    static std::string strVARIANT(const COleVariant& var);
    // The name of a database field type ("Long", "Text"); "Unknown" for any other.
    static const char* strFieldType(short sType);
    // The name of a query definition type ("Select", "Crosstab"); "Unknown" for any other.
    static const char* strQueryDefType(short sType);
    // "TRUE" for non-zero, "FALSE" for 0.
    static const char* strBOOL(int bFlag);
};
