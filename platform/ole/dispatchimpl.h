#pragma once

// CDispatchImpl: IDispatch for a C++ object from a table of its members, as a control's
// dispatch map describes them. Each entry has the member's dispid, name, type and the
// functions that get, put or call it; Invoke converts arguments to the declared types
// (COleVariant::ChangeType) and answers with the platform's error codes. Entries come in the
// order of the class's type information, which the table also produces.

#include "platform/ole/com.h"
#include "platform/ole/typeinfo.h"

#include <atomic>
#include <functional>
#include <vector>

class CDispatchImpl : public IDispatch
{
public:
    using Getter = std::function<COleVariant()>;
    using Putter = std::function<HRESULT(const COleVariant&)>; // the value, converted
    using Method = std::function<HRESULT(const DISPPARAMS&, COleVariant*)>; // args converted

    CDispatchImpl() = default;
    virtual ~CDispatchImpl() = default;

    // IUnknown: counts references; the last Release calls deleteObject (default: delete this).
    HRESULT QueryInterface(REFIID riid, void** ppvObject) override;
    ULONG AddRef() override;
    ULONG Release() override;
    HRESULT GetIDsOfNames(const char* name, DISPID* dispid) override;
    HRESULT Invoke(
        DISPID dispid, WORD wFlags, const DISPPARAMS& params, COleVariant* pVarResult) override;
    const ZorTypeInfo* GetTypeInfo() const override { return m_typeInfo; }

    // The type information the table is checked against (names, types, parameters).
    void setTypeInfo(const ZorTypeInfo* typeInfo) { m_typeInfo = typeInfo; }
    // The members the object's dispatch implements when they are not those of its type
    // information's dispatch interface (an interface the type library declares empty, whose
    // members are reached by name only).
    void setDispatchMembers(const ZorInterfaceInfo* members) { m_members = members; }
    // The declaration of a member: from setDispatchMembers, else the type information's
    // dispatch interface; null when neither declares it.
    const ZorMemberInfo* declaredMember(DISPID dispid) const;
    void addProperty(DISPID dispid, const char* name, VARTYPE type, Getter get, Putter put);
    void addMethod(DISPID dispid, const char* name, VARTYPE resultType,
        std::vector<VARTYPE> paramTypes, Method call);
    // A property or method as its declaration states it: name, type and parameter types come
    // from declaredMember. A member that is not declared is a programmer's mistake.
    void addDeclaredProperty(DISPID dispid, Getter get, Putter put);
    void addDeclaredMethod(DISPID dispid, Method call);
    // The dispids of the table, in order (tests compare them with the declarations).
    std::vector<DISPID> dispatchIds() const;
    // Answers QueryInterface for another interface id with this object.
    void addInterface(REFIID iid) { m_interfaces.push_back(iid); }

protected:
    virtual void deleteObject() { delete this; }

private:
    struct Entry
    {
        DISPID dispid {0};
        std::string name;
        VARTYPE type {VT_EMPTY};
        Getter get;
        Putter put;
        Method call;
        std::vector<VARTYPE> params;
    };
    const Entry* find(DISPID dispid) const;

    std::atomic<ULONG> m_refs {1};
    std::vector<Entry> m_entries;
    std::vector<IID> m_interfaces;
    const ZorTypeInfo* m_typeInfo {nullptr};
    const ZorInterfaceInfo* m_members {nullptr};
};

// Calls a member through dispatch; for wrappers and tests.
HRESULT zorInvoke(IDispatch* object, DISPID dispid, WORD wFlags, std::vector<COleVariant> args = {},
    COleVariant* result = nullptr);
HRESULT zorGetProperty(IDispatch* object, DISPID dispid, COleVariant* value);
HRESULT zorPutProperty(IDispatch* object, DISPID dispid, const COleVariant& value);
