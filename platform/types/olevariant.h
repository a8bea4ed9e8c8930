#pragma once

// The automation variant: a type code and a value. Texts are single-byte std::string.
// Type codes are the automation ones (VT_EMPTY 0 ... VT_CLSID 72).

#include "platform/types/oledatetime.h"
#include "platform/types/wintypes.h"

#include <string>

// Dispatch interfaces travel in variants as plain, non-owning pointers (the component layer
// declares the interface).
struct IDispatch;

using VARTYPE = unsigned short;

enum VARENUM : VARTYPE {
    VT_EMPTY = 0,
    VT_NULL = 1,
    VT_I2 = 2,
    VT_I4 = 3,
    VT_R4 = 4,
    VT_R8 = 5,
    VT_CY = 6,
    VT_DATE = 7,
    VT_BSTR = 8,
    VT_DISPATCH = 9,
    VT_ERROR = 10,
    VT_BOOL = 11,
    VT_VARIANT = 12,
    VT_UNKNOWN = 13,
    VT_DECIMAL = 14,
    VT_I1 = 16,
    VT_UI1 = 17,
    VT_UI2 = 18,
    VT_UI4 = 19,
    VT_I8 = 20,
    VT_UI8 = 21,
    VT_INT = 22,
    VT_UINT = 23,
    VT_VOID = 24,
    VT_HRESULT = 25,
    VT_PTR = 26,
    VT_SAFEARRAY = 27,
    VT_CARRAY = 28,
    VT_USERDEFINED = 29,
    VT_LPSTR = 30,
    VT_LPWSTR = 31,
    VT_FILETIME = 64,
    VT_BLOB = 65,
    VT_STREAM = 66,
    VT_STORAGE = 67,
    VT_STREAMED_OBJECT = 68,
    VT_STORED_OBJECT = 69,
    VT_BLOB_OBJECT = 70,
    VT_CF = 71,
    VT_CLSID = 72,
};

using VARIANT_BOOL = SHORT;
constexpr VARIANT_BOOL VARIANT_TRUE = -1;
constexpr VARIANT_BOOL VARIANT_FALSE = 0;

// Currency: a 64-bit count of ten-thousandths.
struct CY
{
    LONGLONG int64;
};

// Currency with the formatting of the user's default locale.
class COleCurrency
{
public:
    COleCurrency() = default;
    COleCurrency(CY cySrc) : m_cur(cySrc) { }
    COleCurrency(long nUnits, long nFractionalUnits); // fraction in ten-thousandths

    // Units and four decimal places in the default locale (decimal point ".", grouping ","
    // by threes, a leading "-" when negative), the trailing zeros of the fraction dropped down
    // to two places ("1,234.50", "-0.0005").
    std::string Format() const;

    CY m_cur {0};
};

class COleVariant
{
public:
    COleVariant() = default; // VT_EMPTY
    COleVariant(const COleVariant&) = default;
    COleVariant& operator=(const COleVariant&) = default;

    COleVariant(const char* lpszSrc); // VT_BSTR
    COleVariant(const std::string& strSrc); // VT_BSTR
    COleVariant(BYTE nSrc); // VT_UI1
    COleVariant(short nSrc, VARTYPE vtSrc = VT_I2); // VT_I2 or VT_BOOL
    COleVariant(long lSrc, VARTYPE vtSrc = VT_I4); // VT_I4, VT_ERROR or VT_BOOL
    COleVariant(int nSrc, VARTYPE vtSrc = VT_I4) : COleVariant(static_cast<long>(nSrc), vtSrc) { }
    COleVariant(float fltSrc); // VT_R4
    COleVariant(double dblSrc); // VT_R8
    COleVariant(const COleCurrency& curSrc); // VT_CY
    COleVariant(const COleDateTime& dateSrc); // VT_DATE
    // A bool would silently become VT_I4 1 through the int form: use makeBool.
    COleVariant(bool) = delete;
    static COleVariant makeBool(bool b); // VT_BOOL
    static COleVariant makeNull(); // VT_NULL
    static COleVariant makeDispatch(IDispatch* pdisp); // VT_DISPATCH, not counted

    void Clear(); // back to VT_EMPTY

    // Converts in place to another type code with the automation coercion rules for the
    // scalar kinds (VT_UI1, VT_I2, VT_I4, VT_R4, VT_R8, VT_CY, VT_BOOL, VT_DATE, VT_BSTR, from
    // VT_EMPTY too); returns false and leaves the value unchanged when the conversion is not
    // possible. Floating point and currency become integers rounded half to even; a value
    // outside the target's range fails. Text is read whole (blanks around it allowed, no
    // grouping or symbols) or not at all; "True"/"False" read as bool, and a date text as
    // ParseDateTime reads it. Numbers are written in the C locale whatever the process's
    // locale: integers plainly, doubles to 15 and singles to 7 significant digits ("1E+20"),
    // currency without trailing zeros ("1234.5"), bool as "-1" or "0", a date as
    // "06/05/2002 14:07:09" (the date alone at midnight, the time alone on 30 December 1899).
    // VT_EMPTY can be reached from anything; a VT_NULL, a VT_ERROR or any other kind cannot
    // be converted. A VT_DISPATCH converts only to itself and to VT_EMPTY.
    bool ChangeType(VARTYPE vartype);

    bool operator==(const COleVariant& o) const;
    bool operator!=(const COleVariant& o) const { return !(*this == o); }

    VARTYPE vt {VT_EMPTY};
    union {
        LONGLONG llVal {0};
        BYTE bVal;
        SHORT iVal;
        LONG lVal;
        float fltVal;
        double dblVal;
        VARIANT_BOOL boolVal;
        LONG scode;
        double date;
        CY cyVal;
        char cVal;
        USHORT uiVal;
        ULONG ulVal;
        ULONGLONG ullVal;
        int intVal;
        unsigned int uintVal;
        IDispatch* pdispVal; // VT_DISPATCH: not counted, the holder keeps its own reference
    };
    std::string bstrVal; // the text of a VT_BSTR
};
