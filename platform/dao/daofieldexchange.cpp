#include "platform/dao/daofieldexchange.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace {

LONGLONG integerOf(const DaoValue& v)
{
    switch (v.kind) {
    case DaoValue::integer:
        return v.i;
    case DaoValue::real:
        return std::isfinite(v.d) ? static_cast<LONGLONG>(v.d) : 0;
    case DaoValue::text:
        return std::strtoll(v.s.c_str(), nullptr, 10);
    case DaoValue::null:
        break;
    }
    return 0;
}

DaoValue integerValue(LONGLONG i)
{
    DaoValue v;
    v.kind = DaoValue::integer;
    v.i = i;
    return v;
}

void loadLong(const DaoValue& v, LONG& value)
{
    value = static_cast<LONG>(integerOf(v));
}

void loadBool(const DaoValue& v, BOOL& value)
{
    value = (v.kind == DaoValue::real ? v.d != 0.0 : integerOf(v) != 0) ? TRUE : FALSE;
}

void loadDateTime(const DaoValue& v, COleDateTime& value)
{
    if (v.kind == DaoValue::real) {
        value = COleDateTime(v.d);
    } else if (v.kind == DaoValue::integer) {
        value = COleDateTime(static_cast<double>(v.i));
    } else if (v.kind == DaoValue::text) {
        value.ParseDateTime(v.s.c_str());
    } else {
        value = COleDateTime();
        value.SetStatus(COleDateTime::null);
    }
}

void loadText(const DaoValue& v, std::string& value)
{
    if (v.kind == DaoValue::text) {
        value = v.s;
    } else if (v.kind == DaoValue::integer) {
        value = std::to_string(v.i);
    } else if (v.kind == DaoValue::real) {
        // Written in the C locale whatever the process's locale is.
        char buffer[32];
        const auto end
            = std::to_chars(buffer, buffer + sizeof buffer, v.d, std::chars_format::general, 15);
        value.assign(buffer, end.ptr);
    } else {
        value.clear();
    }
}

// Collects the name and the member, or tells whether the call has a value to exchange.
bool named(CDaoFieldExchange* pFX, const char* lpszName, DaoBinding::Kind kind, void* member)
{
    if (pFX->m_nOperation == CDaoFieldExchange::collectNames) {
        pFX->m_names.emplace_back(lpszName ? lpszName : "");
        pFX->m_bindings.push_back({kind, member});
        return false;
    }
    return true;
}

} // namespace

void zorDaoLoad(const DaoBinding& binding, const DaoValue& value)
{
    switch (binding.kind) {
    case DaoBinding::longValue:
        loadLong(value, *static_cast<LONG*>(binding.member));
        break;
    case DaoBinding::boolValue:
        loadBool(value, *static_cast<BOOL*>(binding.member));
        break;
    case DaoBinding::dateTime:
        loadDateTime(value, *static_cast<COleDateTime*>(binding.member));
        break;
    case DaoBinding::text:
        loadText(value, *static_cast<std::string*>(binding.member));
        break;
    }
}

void DFX_Long(CDaoFieldExchange* pFX, const char* lpszName, LONG& value)
{
    if (!named(pFX, lpszName, DaoBinding::longValue, &value))
        return;
    switch (pFX->m_nOperation) {
    case CDaoFieldExchange::loadFields:
        loadLong(pFX->nextLoaded(), value);
        break;
    case CDaoFieldExchange::storeFields:
        pFX->m_values.push_back(integerValue(value));
        break;
    case CDaoFieldExchange::setDefaults:
        value = 0;
        break;
    case CDaoFieldExchange::collectNames:
        break;
    }
}

void DFX_Bool(CDaoFieldExchange* pFX, const char* lpszName, BOOL& value)
{
    if (!named(pFX, lpszName, DaoBinding::boolValue, &value))
        return;
    switch (pFX->m_nOperation) {
    case CDaoFieldExchange::loadFields:
        loadBool(pFX->nextLoaded(), value);
        break;
    case CDaoFieldExchange::storeFields:
        pFX->m_values.push_back(integerValue(value ? 1 : 0));
        break;
    case CDaoFieldExchange::setDefaults:
        value = FALSE;
        break;
    case CDaoFieldExchange::collectNames:
        break;
    }
}

void DFX_DateTime(CDaoFieldExchange* pFX, const char* lpszName, COleDateTime& value)
{
    if (!named(pFX, lpszName, DaoBinding::dateTime, &value))
        return;
    switch (pFX->m_nOperation) {
    case CDaoFieldExchange::loadFields:
        loadDateTime(pFX->nextLoaded(), value);
        break;
    case CDaoFieldExchange::storeFields: {
        DaoValue v;
        if (value.GetStatus() == COleDateTime::valid) {
            v.kind = DaoValue::real;
            v.d = value.m_dt;
        }
        pFX->m_values.push_back(std::move(v));
        break;
    }
    case CDaoFieldExchange::setDefaults:
        value = COleDateTime();
        value.SetStatus(COleDateTime::null);
        break;
    case CDaoFieldExchange::collectNames:
        break;
    }
}

void DFX_Text(CDaoFieldExchange* pFX, const char* lpszName, std::string& value)
{
    if (!named(pFX, lpszName, DaoBinding::text, &value))
        return;
    switch (pFX->m_nOperation) {
    case CDaoFieldExchange::loadFields:
        loadText(pFX->nextLoaded(), value);
        break;
    case CDaoFieldExchange::storeFields: {
        DaoValue v;
        v.kind = DaoValue::text;
        v.s = value;
        pFX->m_values.push_back(std::move(v));
        break;
    }
    case CDaoFieldExchange::setDefaults:
        value.clear();
        break;
    case CDaoFieldExchange::collectNames:
        break;
    }
}
