#include "framework/diagnostics/crack.h"

#include <cstdio>
#include <iterator>

namespace {

std::string format(const char* fmt, auto... args)
{
    char text[64] = {};
    std::snprintf(text, sizeof text, fmt, args...);
    return text;
}

// Names of the type codes 18 to 31 and 64 to 72, in code order.
const char* const s_codes18to31[]
    = {"VT_UI2", "VT_UI4", "VT_I8", "VT_UI8", "VT_INT", "VT_UINT", "VT_VOID", "VT_HRESULT",
        "VT_PTR", "VT_SAFEARRAY", "VT_CARRAY", "VT_USERDEFINED", "VT_LPSTR", "VT_LPWSTR"};
const char* const s_codes64to72[] = {"VT_FILETIME", "VT_BLOB", "VT_STREAM", "VT_STORAGE",
    "VT_STREAMED_OBJECT", "VT_STORED_OBJECT", "VT_BLOB_OBJECT", "VT_CF", "VT_CLSID"};

} // namespace

std::string CCrack::strVARIANT(const COleVariant& var)
{
    switch (var.vt) {
    case VT_EMPTY:
    case VT_NULL:
        return {};
    case VT_I2:
        return format("%hd", var.iVal);
    case VT_I4:
        return format("%d", static_cast<int>(var.lVal));
    case VT_R4:
        return format("%e", static_cast<double>(var.fltVal));
    case VT_R8:
        return format("%e", var.dblVal);
    case VT_CY:
        return COleCurrency(var.cyVal).Format();
    case VT_DATE:
        return COleDateTime(var.date).Format("%m/%d/%y");
    case VT_BSTR:
        return var.bstrVal;
    case VT_DISPATCH:
        return "VT_DISPATCH";
    case VT_ERROR:
        return "VT_ERROR";
    case VT_BOOL:
        return strBOOL(var.boolVal);
    case VT_VARIANT:
        return "VT_VARIANT";
    case VT_UNKNOWN:
        return "VT_UNKNOWN";
    case VT_I1:
        return "VT_I1";
    case VT_UI1:
        return format("0x%02hX", static_cast<unsigned short>(var.bVal));
    default:
        break;
    }
    if (var.vt >= VT_UI2 && var.vt <= VT_LPWSTR)
        return s_codes18to31[var.vt - VT_UI2];
    if (var.vt >= VT_FILETIME && var.vt <= VT_CLSID)
        return s_codes64to72[var.vt - VT_FILETIME];
    return {};
}

const char* CCrack::strFieldType(short sType)
{
    switch (sType) {
    case 1:
        return "Bool";
    case 2:
        return "Byte";
    case 3:
        return "Integer";
    case 4:
        return "Long";
    case 5:
        return "Currency";
    case 6:
        return "Single";
    case 7:
        return "Double";
    case 8:
        return "Date";
    case 10:
        return "Text";
    case 11:
        return "Long Binary";
    case 12:
        return "Memo";
    case 15:
        return "GUID";
    default:
        return "Unknown";
    }
}

const char* CCrack::strQueryDefType(short sType)
{
    switch (sType) {
    case 0:
        return "Select";
    case 16:
        return "Crosstab";
    case 32:
        return "Delete";
    case 48:
        return "Update";
    case 64:
        return "Append";
    case 80:
        return "MakeTable";
    case 96:
        return "DDL";
    case 112:
        return "SQLPassThrough";
    case 128:
        return "Set Operation";
    case 144:
        return "SPTBulk";
    case 240:
        return "Action";
    default:
        return "Unknown";
    }
}

const char* CCrack::strBOOL(int bFlag)
{
    return bFlag ? "TRUE" : "FALSE";
}
