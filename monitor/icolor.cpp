#include "monitor/icolor.h"

namespace {

constexpr DISPID c_dispidRGBColor = 4;

DWORD colorOf(COleVariant value)
{
    if (value.vt == VT_UI4)
        return value.ulVal;
    return value.ChangeType(VT_I4) ? static_cast<DWORD>(value.lVal) : 0;
}

} // namespace

DWORD IColor::GetRGBColor() const
{
    return colorOf(GetProperty(c_dispidRGBColor));
}

DWORD IColor::GetValue() const
{
    return colorOf(GetProperty(DISPID_VALUE));
}

void IColor::SetValue(DWORD color)
{
    COleVariant value;
    value.vt = VT_UI4;
    value.ulVal = color;
    SetProperty(DISPID_VALUE, value);
}
