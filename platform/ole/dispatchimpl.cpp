// Table-driven dispatch: member lookup, argument conversion and the platform's error codes.

#include "platform/ole/dispatchimpl.h"

#include <QtCore/QtGlobal>

#include <cmath>
#include <strings.h>

namespace {

// Converts an argument to the member's declared type. Colours (VT_UI4) keep all 32 bits of a
// signed long, since callers often hold a system-colour reference in a long.
bool convertArgument(COleVariant& value, VARTYPE type)
{
    if (type == VT_VARIANT || value.vt == type)
        return true;
    if (type == VT_UI4) {
        COleVariant number = value;
        if (number.ChangeType(VT_I4)) {
            value.Clear();
            value.vt = VT_UI4;
            value.ulVal = static_cast<ULONG>(number.lVal);
            return true;
        }
        number = value;
        if (!number.ChangeType(VT_R8) || !(number.dblVal >= 0.0 && number.dblVal <= 4294967295.0))
            return false;
        const double rounded = std::nearbyint(number.dblVal);
        value.Clear();
        value.vt = VT_UI4;
        value.ulVal = static_cast<ULONG>(rounded);
        return true;
    }
    return value.ChangeType(type);
}

} // namespace

HRESULT CDispatchImpl::QueryInterface(REFIID riid, void** ppvObject)
{
    if (!ppvObject)
        return E_POINTER;
    *ppvObject = nullptr;
    bool known = riid == IID_IUnknown || riid == IID_IDispatch;
    for (const IID& iid : m_interfaces)
        known = known || iid == riid;
    if (!known)
        return E_NOINTERFACE;
    AddRef();
    *ppvObject = static_cast<IDispatch*>(this);
    return S_OK;
}

ULONG CDispatchImpl::AddRef()
{
    return ++m_refs;
}

ULONG CDispatchImpl::Release()
{
    const ULONG refs = --m_refs;
    if (refs == 0)
        deleteObject();
    return refs;
}

HRESULT CDispatchImpl::GetIDsOfNames(const char* name, DISPID* dispid)
{
    if (!dispid)
        return E_POINTER;
    *dispid = DISPID_UNKNOWN;
    if (!name)
        return DISP_E_UNKNOWNNAME;
    for (const Entry& entry : m_entries) {
        if (strcasecmp(entry.name.c_str(), name) == 0) {
            *dispid = entry.dispid;
            return S_OK;
        }
    }
    return DISP_E_UNKNOWNNAME;
}

HRESULT CDispatchImpl::Invoke(
    DISPID dispid, WORD wFlags, const DISPPARAMS& params, COleVariant* pVarResult)
{
    const Entry* entry = find(dispid);
    if (!entry)
        return DISP_E_MEMBERNOTFOUND;

    if (entry->call) {
        if (!(wFlags & DISPATCH_METHOD))
            return DISP_E_MEMBERNOTFOUND;
        if (params.args.size() != entry->params.size())
            return DISP_E_BADPARAMCOUNT;
        DISPPARAMS converted = params;
        for (std::size_t i = 0; i < converted.args.size(); ++i) {
            if (!convertArgument(converted.args[i], entry->params[i]))
                return DISP_E_TYPEMISMATCH;
        }
        COleVariant result;
        const HRESULT hr = entry->call(converted, &result);
        if (pVarResult)
            *pVarResult = SUCCEEDED(hr) ? result : COleVariant();
        return hr;
    }

    if (wFlags & DISPATCH_PROPERTYPUT) {
        if (!entry->put)
            return DISP_E_MEMBERNOTFOUND;
        if (params.args.size() != 1)
            return DISP_E_BADPARAMCOUNT;
        COleVariant value = params.args.front();
        if (!convertArgument(value, entry->type))
            return DISP_E_TYPEMISMATCH;
        return entry->put(value);
    }
    // A property get may come flagged as a method call too, as scripting callers send it.
    if (wFlags & (DISPATCH_PROPERTYGET | DISPATCH_METHOD)) {
        if (!entry->get)
            return DISP_E_MEMBERNOTFOUND;
        if (!params.args.empty())
            return DISP_E_BADPARAMCOUNT;
        COleVariant value = entry->get();
        if (pVarResult)
            *pVarResult = std::move(value);
        return S_OK;
    }
    return DISP_E_MEMBERNOTFOUND;
}

void CDispatchImpl::addProperty(
    DISPID dispid, const char* name, VARTYPE type, Getter get, Putter put)
{
    Entry entry;
    entry.dispid = dispid;
    entry.name = name ? name : "";
    entry.type = type;
    entry.get = std::move(get);
    entry.put = std::move(put);
    m_entries.push_back(std::move(entry));
}

void CDispatchImpl::addMethod(DISPID dispid, const char* name, VARTYPE resultType,
    std::vector<VARTYPE> paramTypes, Method call)
{
    Entry entry;
    entry.dispid = dispid;
    entry.name = name ? name : "";
    entry.type = resultType;
    entry.params = std::move(paramTypes);
    entry.call = std::move(call);
    m_entries.push_back(std::move(entry));
}

const ZorMemberInfo* CDispatchImpl::declaredMember(DISPID dispid) const
{
    if (m_members)
        return m_members->find(dispid);
    return m_typeInfo ? m_typeInfo->dispatch.find(dispid) : nullptr;
}

void CDispatchImpl::addDeclaredProperty(DISPID dispid, Getter get, Putter put)
{
    const ZorMemberInfo* member = declaredMember(dispid);
    Q_ASSERT(member && member->kind == ZorMemberInfo::eKIND_PROPERTY);
    if (!member)
        return;
    addProperty(dispid, member->name.c_str(), member->type, std::move(get), std::move(put));
}

void CDispatchImpl::addDeclaredMethod(DISPID dispid, Method call)
{
    const ZorMemberInfo* member = declaredMember(dispid);
    Q_ASSERT(member && member->kind == ZorMemberInfo::eKIND_METHOD);
    if (!member)
        return;
    std::vector<VARTYPE> types;
    types.reserve(member->params.size());
    for (const ZorParamInfo& param : member->params)
        types.push_back(param.type);
    addMethod(dispid, member->name.c_str(), member->type, std::move(types), std::move(call));
}

std::vector<DISPID> CDispatchImpl::dispatchIds() const
{
    std::vector<DISPID> ids;
    ids.reserve(m_entries.size());
    for (const Entry& entry : m_entries)
        ids.push_back(entry.dispid);
    return ids;
}

const CDispatchImpl::Entry* CDispatchImpl::find(DISPID dispid) const
{
    for (const Entry& entry : m_entries) {
        if (entry.dispid == dispid)
            return &entry;
    }
    return nullptr;
}

HRESULT zorInvoke(IDispatch* object, DISPID dispid, WORD wFlags, std::vector<COleVariant> args,
    COleVariant* result)
{
    if (!object)
        return E_POINTER;
    DISPPARAMS params;
    params.args = std::move(args);
    return object->Invoke(dispid, wFlags, params, result);
}

HRESULT zorGetProperty(IDispatch* object, DISPID dispid, COleVariant* value)
{
    return zorInvoke(object, dispid, DISPATCH_PROPERTYGET, {}, value);
}

HRESULT zorPutProperty(IDispatch* object, DISPID dispid, const COleVariant& value)
{
    return zorInvoke(object, dispid, DISPATCH_PROPERTYPUT, {value}, nullptr);
}
