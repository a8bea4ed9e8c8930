#include "monitor/ilight.h"

namespace {
constexpr DISPID c_dispidState = 3;
} // namespace

long ILight::GetState() const
{
    COleVariant value = GetProperty(c_dispidState);
    return value.ChangeType(VT_I4) ? value.lVal : 0;
}

void ILight::SetState(long state)
{
    SetProperty(c_dispidState, COleVariant(state));
}
