#include "platform/types/olevariant.h"

#include "platform/types/textchars.h"

#include <cfloat>
#include <charconv>
#include <cmath>
#include <string_view>

namespace {

constexpr LONGLONG c_currencyScale = 10000;
// The ends of the automation date range as values: 1 January 100 and the end of
// 31 December 9999.
constexpr double c_minDateValue = -657435.0;
constexpr double c_maxDateValue = 2958466.0;

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

std::string_view trimmed(const std::string& text)
{
    std::string_view v(text);
    while (!v.empty() && isBlank(v.front()))
        v.remove_prefix(1);
    while (!v.empty() && isBlank(v.back()))
        v.remove_suffix(1);
    return v;
}

// Rounds to the nearest whole number, halves to the even neighbour, as the automation
// conversions from floating point to integers do.
double roundHalfEven(double x)
{
    if (std::fabs(x - std::trunc(x)) == 0.5)
        return 2.0 * std::round(x / 2.0);
    return std::round(x);
}

// A decimal number as text: [sign] digits [. digits] [e [sign] digits], blanks around allowed,
// at least one digit before the exponent. Nothing else is a number: no grouping, no symbols.
struct DecimalText
{
    bool negative {false};
    std::string digits; // without leading zeros
    int exponent {0}; // value = digits * 10^exponent
    std::string_view plain; // the text without the blanks and a leading "+"
};

bool scanDecimal(std::string_view v, DecimalText& out)
{
    if (v.empty())
        return false;
    std::size_t i = 0;
    if (v[0] == '+' || v[0] == '-') {
        out.negative = v[0] == '-';
        ++i;
    }
    out.plain = v[0] == '+' ? v.substr(1) : v;
    int mantissaDigits = 0;
    int fractionDigits = 0;
    bool inFraction = false;
    for (; i < v.size(); ++i) {
        const char c = v[i];
        if (c >= '0' && c <= '9') {
            ++mantissaDigits;
            if (inFraction)
                ++fractionDigits;
            if (!out.digits.empty() || c != '0')
                out.digits += c;
        } else if (c == '.' && !inFraction) {
            inFraction = true;
        } else {
            break;
        }
    }
    if (mantissaDigits == 0)
        return false;
    long exponent = 0;
    if (i < v.size() && (v[i] == 'e' || v[i] == 'E')) {
        ++i;
        bool negativeExponent = false;
        if (i < v.size() && (v[i] == '+' || v[i] == '-')) {
            negativeExponent = v[i] == '-';
            ++i;
        }
        const std::size_t start = i;
        for (; i < v.size() && v[i] >= '0' && v[i] <= '9'; ++i) {
            if (exponent < 100000)
                exponent = exponent * 10 + (v[i] - '0');
        }
        if (i == start)
            return false;
        if (negativeExponent)
            exponent = -exponent;
    }
    if (i != v.size())
        return false;
    out.exponent = static_cast<int>(exponent) - fractionDigits;
    return true;
}

bool doubleFromText(const std::string& text, double& out)
{
    DecimalText d;
    if (!scanDecimal(trimmed(text), d))
        return false;
    const auto result = std::from_chars(d.plain.data(), d.plain.data() + d.plain.size(), out);
    if (result.ec == std::errc::result_out_of_range
        && static_cast<long long>(d.digits.size()) + d.exponent < 0) {
        out = 0.0; // too small for a double: zero, as the automation conversion gives
        return true;
    }
    return result.ec == std::errc() && result.ptr == d.plain.data() + d.plain.size()
        && std::isfinite(out);
}

// Ten-thousandths of a decimal text, exactly, the fifth decimal rounded half to even.
bool currencyFromText(const std::string& text, LONGLONG& out)
{
    DecimalText d;
    if (!scanDecimal(trimmed(text), d))
        return false;
    if (d.digits.empty()) {
        out = 0;
        return true;
    }
    const unsigned long long limit = d.negative ? 9223372036854775808ULL : 9223372036854775807ULL;
    const long long shift = static_cast<long long>(d.exponent) + 4;
    std::size_t keep = d.digits.size();
    if (shift < 0)
        keep = -shift >= static_cast<long long>(keep) ? 0 : keep - static_cast<std::size_t>(-shift);
    else if (d.digits.size() + static_cast<std::size_t>(shift) > 19)
        return false;
    unsigned long long value = 0;
    for (std::size_t i = 0; i < keep; ++i) {
        if (__builtin_mul_overflow(value, 10ULL, &value)
            || __builtin_add_overflow(
                value, static_cast<unsigned long long>(d.digits[i] - '0'), &value))
            return false;
    }
    if (shift > 0) {
        for (long long i = 0; i < shift; ++i) {
            if (__builtin_mul_overflow(value, 10ULL, &value))
                return false;
        }
    } else if (keep < d.digits.size()) {
        // The dropped digits decide the rounding: above a half up, a half exactly to even.
        const std::string_view dropped = std::string_view(d.digits).substr(keep);
        const bool droppedFromFirst = -shift <= static_cast<long long>(d.digits.size());
        const char first = droppedFromFirst ? dropped[0] : '0';
        bool restNonZero = false;
        for (std::size_t i = droppedFromFirst ? 1 : 0; i < dropped.size(); ++i)
            restNonZero = restNonZero || dropped[i] != '0';
        if (first > '5' || (first == '5' && (restNonZero || value % 2 == 1))) {
            if (__builtin_add_overflow(value, 1ULL, &value))
                return false;
        }
    }
    if (value > limit)
        return false;
    out = d.negative ? static_cast<LONGLONG>(0ULL - value) : static_cast<LONGLONG>(value);
    return true;
}

std::string textFromInteger(long long value)
{
    char buffer[24];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
    return std::string(buffer, end);
}

// Floating point in the C locale with the automation's significant digits (15 for double,
// 7 for single), "E" for the exponent.
std::string textFromReal(double value, int precision)
{
    char buffer[64];
    const auto result = std::to_chars(
        buffer, buffer + sizeof buffer, value, std::chars_format::general, precision);
    std::string text(buffer, result.ptr);
    for (char& c : text) {
        if (c == 'e')
            c = 'E';
    }
    return text;
}

// Currency as a plain number: no grouping, the fraction without trailing zeros ("1234.5").
std::string textFromCurrency(LONGLONG ticks)
{
    const bool negative = ticks < 0;
    const unsigned long long magnitude = negative ? 0ULL - static_cast<unsigned long long>(ticks)
                                                  : static_cast<unsigned long long>(ticks);
    std::string text = negative ? "-" : "";
    text += std::to_string(magnitude / c_currencyScale);
    unsigned long long fraction = magnitude % c_currencyScale;
    if (fraction != 0) {
        int digits = 4;
        while (fraction % 10 == 0) {
            fraction /= 10;
            --digits;
        }
        std::string part = std::to_string(fraction);
        text += '.';
        text.append(static_cast<std::size_t>(digits) - part.size(), '0');
        text += part;
    }
    return text;
}

// A date as text that reads back as the same value: the date in the default locale's
// month-first order with four-digit year, then the time; the date alone at midnight, the time
// alone on 30 December 1899.
bool textFromDate(double value, std::string& out)
{
    const COleDateTime date(value);
    if (date.GetStatus() != COleDateTime::valid)
        return false;
    const bool midnight = date.GetHour() == 0 && date.GetMinute() == 0 && date.GetSecond() == 0;
    const bool dayZero = date.GetYear() == 1899 && date.GetMonth() == 12 && date.GetDay() == 30;
    out = date.Format(dayZero ? "%H:%M:%S" : midnight ? "%m/%d/%Y" : "%m/%d/%Y %H:%M:%S");
    return true;
}

// The source value as one of three exact kinds; the targets convert from these.
struct Number
{
    enum Kind { integer, real, currency } kind {integer};
    long long i {0};
    double r {0.0};
    LONGLONG cy {0};
};

bool numberFrom(const COleVariant& v, Number& n)
{
    switch (v.vt) {
    case VT_EMPTY:
        n.kind = Number::integer;
        n.i = 0;
        return true;
    case VT_UI1:
        n.i = v.bVal;
        return true;
    case VT_I2:
        n.i = v.iVal;
        return true;
    case VT_BOOL:
        n.i = v.boolVal;
        return true;
    case VT_I4:
        n.i = v.lVal;
        return true;
    case VT_R4:
        n.kind = Number::real;
        n.r = v.fltVal;
        return true;
    case VT_R8:
        n.kind = Number::real;
        n.r = v.dblVal;
        return true;
    case VT_DATE:
        n.kind = Number::real;
        n.r = v.date;
        return true;
    case VT_CY:
        n.kind = Number::currency;
        n.cy = v.cyVal.int64;
        return true;
    case VT_BSTR:
        n.kind = Number::real;
        return doubleFromText(v.bstrVal, n.r);
    default:
        return false;
    }
}

// A whole number within [low, high], floating point and currency rounded half to even.
bool integerFrom(const COleVariant& v, long long low, long long high, long long& out)
{
    Number n;
    if (!numberFrom(v, n))
        return false;
    long long value = 0;
    switch (n.kind) {
    case Number::integer:
        value = n.i;
        break;
    case Number::real: {
        const double r = roundHalfEven(n.r);
        if (!(r >= static_cast<double>(low) && r <= static_cast<double>(high)))
            return false;
        value = static_cast<long long>(r);
        break;
    }
    case Number::currency: {
        value = n.cy / c_currencyScale;
        const long long rest = n.cy % c_currencyScale;
        const long long half = c_currencyScale / 2;
        const long long restMagnitude = rest < 0 ? -rest : rest;
        if (restMagnitude > half || (restMagnitude == half && value % 2 != 0))
            value += rest < 0 ? -1 : 1;
        break;
    }
    }
    if (value < low || value > high)
        return false;
    out = value;
    return true;
}

bool realFrom(const COleVariant& v, double& out)
{
    Number n;
    if (!numberFrom(v, n))
        return false;
    switch (n.kind) {
    case Number::integer:
        out = static_cast<double>(n.i);
        break;
    case Number::real:
        out = n.r;
        break;
    case Number::currency:
        out = static_cast<double>(n.cy) / static_cast<double>(c_currencyScale);
        break;
    }
    return true;
}

bool currencyFrom(const COleVariant& v, LONGLONG& out)
{
    if (v.vt == VT_BSTR)
        return currencyFromText(v.bstrVal, out);
    Number n;
    if (!numberFrom(v, n))
        return false;
    switch (n.kind) {
    case Number::integer:
        out = n.i * c_currencyScale;
        return true;
    case Number::currency:
        out = n.cy;
        return true;
    case Number::real: {
        const double r = roundHalfEven(n.r * static_cast<double>(c_currencyScale));
        // 2^63 itself is out of range; every double below it converts exactly.
        if (!(r >= -9223372036854775808.0 && r < 9223372036854775808.0))
            return false;
        out = static_cast<LONGLONG>(r);
        return true;
    }
    }
    return false;
}

bool boolFrom(const COleVariant& v, VARIANT_BOOL& out)
{
    if (v.vt == VT_BSTR) {
        const std::string_view text = trimmed(v.bstrVal);
        if (zorEqualsNoCase(text, "true")) {
            out = VARIANT_TRUE;
            return true;
        }
        if (zorEqualsNoCase(text, "false")) {
            out = VARIANT_FALSE;
            return true;
        }
    }
    Number n;
    if (!numberFrom(v, n))
        return false;
    bool value = false;
    switch (n.kind) {
    case Number::integer:
        value = n.i != 0;
        break;
    case Number::real:
        value = n.r != 0.0;
        break;
    case Number::currency:
        value = n.cy != 0;
        break;
    }
    out = value ? VARIANT_TRUE : VARIANT_FALSE;
    return true;
}

bool textFrom(const COleVariant& v, std::string& out)
{
    switch (v.vt) {
    case VT_EMPTY:
        out.clear();
        return true;
    case VT_UI1:
        out = textFromInteger(v.bVal);
        return true;
    case VT_I2:
        out = textFromInteger(v.iVal);
        return true;
    case VT_BOOL:
        out = textFromInteger(v.boolVal);
        return true;
    case VT_I4:
        out = textFromInteger(v.lVal);
        return true;
    case VT_R4:
        out = textFromReal(v.fltVal, 7);
        return true;
    case VT_R8:
        out = textFromReal(v.dblVal, 15);
        return true;
    case VT_CY:
        out = textFromCurrency(v.cyVal.int64);
        return true;
    case VT_DATE:
        return textFromDate(v.date, out);
    case VT_BSTR:
        out = v.bstrVal;
        return true;
    default:
        return false;
    }
}

bool dateFrom(const COleVariant& v, double& out)
{
    if (v.vt == VT_BSTR) {
        COleDateTime date;
        if (!date.ParseDateTime(v.bstrVal.c_str()))
            return false;
        out = date.m_dt;
        return true;
    }
    double value = 0.0;
    if (!realFrom(v, value) || !(value > c_minDateValue && value < c_maxDateValue))
        return false;
    out = value;
    return true;
}

} // namespace

// --- COleCurrency ---

COleCurrency::COleCurrency(long nUnits, long nFractionalUnits)
{
    m_cur.int64 = static_cast<LONGLONG>(nUnits) * c_currencyScale + nFractionalUnits;
}

std::string COleCurrency::Format() const
{
    const bool negative = m_cur.int64 < 0;
    const unsigned long long magnitude = negative
        ? 0ULL - static_cast<unsigned long long>(m_cur.int64)
        : static_cast<unsigned long long>(m_cur.int64);
    const std::string units = std::to_string(magnitude / c_currencyScale);
    std::string text = negative ? "-" : "";
    for (std::size_t i = 0; i < units.size(); ++i) {
        if (i > 0 && (units.size() - i) % 3 == 0)
            text += ',';
        text += units[i];
    }
    std::string fraction = std::to_string(magnitude % c_currencyScale + c_currencyScale).substr(1);
    while (fraction.size() > 2 && fraction.back() == '0')
        fraction.pop_back();
    text += '.';
    text += fraction;
    return text;
}

// --- COleVariant ---

COleVariant::COleVariant(const char* lpszSrc)
    : vt(VT_BSTR), bstrVal(lpszSrc != nullptr ? lpszSrc : "")
{ }

COleVariant::COleVariant(const std::string& strSrc) : vt(VT_BSTR), bstrVal(strSrc) { }

COleVariant::COleVariant(BYTE nSrc) : vt(VT_UI1)
{
    bVal = nSrc;
}

COleVariant::COleVariant(short nSrc, VARTYPE vtSrc)
{
    if (vtSrc == VT_BOOL) {
        vt = VT_BOOL;
        boolVal = nSrc != 0 ? VARIANT_TRUE : VARIANT_FALSE;
    } else {
        vt = VT_I2;
        iVal = nSrc;
    }
}

COleVariant::COleVariant(long lSrc, VARTYPE vtSrc)
{
    if (vtSrc == VT_BOOL) {
        vt = VT_BOOL;
        boolVal = lSrc != 0 ? VARIANT_TRUE : VARIANT_FALSE;
    } else if (vtSrc == VT_ERROR) {
        vt = VT_ERROR;
        scode = static_cast<LONG>(lSrc);
    } else {
        vt = VT_I4;
        lVal = static_cast<LONG>(lSrc);
    }
}

COleVariant::COleVariant(float fltSrc) : vt(VT_R4)
{
    fltVal = fltSrc;
}

COleVariant::COleVariant(double dblSrc) : vt(VT_R8)
{
    dblVal = dblSrc;
}

COleVariant::COleVariant(const COleCurrency& curSrc) : vt(VT_CY)
{
    cyVal = curSrc.m_cur;
}

COleVariant::COleVariant(const COleDateTime& dateSrc) : vt(VT_DATE)
{
    date = dateSrc.m_dt;
}

COleVariant COleVariant::makeBool(bool b)
{
    return COleVariant(static_cast<short>(b ? 1 : 0), VT_BOOL);
}

COleVariant COleVariant::makeNull()
{
    COleVariant v;
    v.vt = VT_NULL;
    return v;
}

COleVariant COleVariant::makeDispatch(IDispatch* pdisp)
{
    COleVariant v;
    v.vt = VT_DISPATCH;
    v.pdispVal = pdisp;
    return v;
}

void COleVariant::Clear()
{
    vt = VT_EMPTY;
    llVal = 0;
    bstrVal.clear();
}

bool COleVariant::ChangeType(VARTYPE vartype)
{
    if (vartype == vt)
        return true;
    if (vartype == VT_EMPTY) {
        Clear();
        return true;
    }
    if (vt == VT_NULL || vt == VT_DISPATCH)
        return false; // a null has no value to convert; an object is not a scalar

    COleVariant result;
    long long integer = 0;
    switch (vartype) {
    case VT_UI1:
        if (vt == VT_BOOL)
            integer = static_cast<BYTE>(boolVal); // true is all bits set: 255
        else if (!integerFrom(*this, 0, 255, integer))
            return false;
        result = COleVariant(static_cast<BYTE>(integer));
        break;
    case VT_I2:
        if (!integerFrom(*this, -32768, 32767, integer))
            return false;
        result = COleVariant(static_cast<short>(integer));
        break;
    case VT_I4:
        if (!integerFrom(*this, -2147483647LL - 1, 2147483647LL, integer))
            return false;
        result = COleVariant(static_cast<long>(integer));
        break;
    case VT_R4: {
        double value = 0.0;
        if (!realFrom(*this, value) || std::fabs(value) > FLT_MAX)
            return false;
        result = COleVariant(static_cast<float>(value));
        break;
    }
    case VT_R8: {
        double value = 0.0;
        if (!realFrom(*this, value))
            return false;
        result = COleVariant(value);
        break;
    }
    case VT_CY: {
        CY cy {0};
        if (!currencyFrom(*this, cy.int64))
            return false;
        result = COleVariant(COleCurrency(cy));
        break;
    }
    case VT_BOOL: {
        VARIANT_BOOL value = VARIANT_FALSE;
        if (!boolFrom(*this, value))
            return false;
        result = makeBool(value != VARIANT_FALSE);
        break;
    }
    case VT_DATE: {
        double value = 0.0;
        if (!dateFrom(*this, value))
            return false;
        result.vt = VT_DATE;
        result.date = value;
        break;
    }
    case VT_BSTR: {
        std::string text;
        if (!textFrom(*this, text))
            return false;
        result = COleVariant(text);
        break;
    }
    default:
        return false;
    }
    *this = result;
    return true;
}

bool COleVariant::operator==(const COleVariant& o) const
{
    if (vt != o.vt)
        return false;
    switch (vt) {
    case VT_EMPTY:
    case VT_NULL:
        return true;
    case VT_BSTR:
        return bstrVal == o.bstrVal;
    case VT_UI1:
        return bVal == o.bVal;
    case VT_I2:
        return iVal == o.iVal;
    case VT_BOOL:
        return boolVal == o.boolVal;
    case VT_I4:
    case VT_ERROR:
        return lVal == o.lVal;
    case VT_R4:
        return fltVal == o.fltVal;
    case VT_R8:
    case VT_DATE:
        return dblVal == o.dblVal;
    case VT_CY:
        return cyVal.int64 == o.cyVal.int64;
    case VT_DISPATCH:
        return pdispVal == o.pdispVal; // the same object, not equal contents
    default:
        return llVal == o.llVal;
    }
}
