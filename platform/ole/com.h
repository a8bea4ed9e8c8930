#pragma once

// The component layer's basic contracts: identifiers, the three interfaces every component of
// the suite speaks (IUnknown, IDispatch, IClassFactory), result codes and dispatch arguments.
//
// Components live in shared objects built by the same compiler against the same platform
// library, so the interfaces are plain C++ abstract classes with the platform's reference
// counting: an object is released through its own Release, never deleted by another module.
// What crosses a call is values (COleVariant) and interface pointers.
//
// Dispatch arguments are given in their natural order (first argument first), unlike the
// platform's reversed array; named arguments other than the value of a property put do not
// exist in the suite.

#include "platform/types/olevariant.h"
#include "platform/types/wintypes.h"

#include <cstdint>
#include <string>
#include <vector>

// --- identifiers -------------------------------------------------------------------------
struct GUID
{
    std::uint32_t Data1 {0};
    std::uint16_t Data2 {0};
    std::uint16_t Data3 {0};
    std::uint8_t Data4[8] {};

    bool operator==(const GUID& o) const;
    bool operator!=(const GUID& o) const { return !(*this == o); }
    bool operator<(const GUID& o) const;
};
using CLSID = GUID;
using IID = GUID;
using CATID = GUID;
using REFGUID = const GUID&;
using REFCLSID = const GUID&;
using REFIID = const GUID&;
using LCID = DWORD;

constexpr GUID GUID_NULL {};

// "{01540154-0005-0000-0029-000000000004}": upper-case hexadecimal digits in braces.
std::string zorGuidToString(REFGUID guid);
// Reads the braced form (either case); false for anything else.
bool zorGuidFromString(const char* text, GUID* guid);

// --- results -------------------------------------------------------------------------------
constexpr HRESULT E_NOTIMPL = static_cast<HRESULT>(0x80004001);
constexpr HRESULT E_NOINTERFACE = static_cast<HRESULT>(0x80004002);
constexpr HRESULT E_POINTER = static_cast<HRESULT>(0x80004003);
constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005);
constexpr HRESULT E_UNEXPECTED = static_cast<HRESULT>(0x8000FFFF);
constexpr HRESULT E_OUTOFMEMORY = static_cast<HRESULT>(0x8007000E);
constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057);
constexpr HRESULT CLASS_E_NOAGGREGATION = static_cast<HRESULT>(0x80040110);
constexpr HRESULT CLASS_E_CLASSNOTAVAILABLE = static_cast<HRESULT>(0x80040111);
constexpr HRESULT REGDB_E_CLASSNOTREG = static_cast<HRESULT>(0x80040154);
constexpr HRESULT CO_E_CLASSSTRING = static_cast<HRESULT>(0x800401F3);
constexpr HRESULT CO_E_DLLNOTFOUND = static_cast<HRESULT>(0x800401F8);
constexpr HRESULT CO_E_ERRORINDLL = static_cast<HRESULT>(0x800401F9);
constexpr HRESULT DISP_E_UNKNOWNINTERFACE = static_cast<HRESULT>(0x80020001);
constexpr HRESULT DISP_E_MEMBERNOTFOUND = static_cast<HRESULT>(0x80020003);
constexpr HRESULT DISP_E_PARAMNOTFOUND = static_cast<HRESULT>(0x80020004);
constexpr HRESULT DISP_E_TYPEMISMATCH = static_cast<HRESULT>(0x80020005);
constexpr HRESULT DISP_E_UNKNOWNNAME = static_cast<HRESULT>(0x80020006);
constexpr HRESULT DISP_E_BADPARAMCOUNT = static_cast<HRESULT>(0x8002000E);
constexpr HRESULT STG_E_READFAULT = static_cast<HRESULT>(0x8003001E);
constexpr HRESULT SELFREG_E_TYPELIB = static_cast<HRESULT>(0x80040200);
constexpr HRESULT SELFREG_E_CLASS = static_cast<HRESULT>(0x80040201);

inline constexpr bool SUCCEEDED(HRESULT hr)
{
    return hr >= 0;
}
inline constexpr bool FAILED(HRESULT hr)
{
    return hr < 0;
}

// --- interfaces ----------------------------------------------------------------------------
extern const IID IID_IUnknown;
extern const IID IID_IDispatch;
extern const IID IID_IClassFactory;

struct IUnknown
{
    virtual HRESULT QueryInterface(REFIID riid, void** ppvObject) = 0;
    virtual ULONG AddRef() = 0;
    virtual ULONG Release() = 0;

protected:
    virtual ~IUnknown() = default;
};

using DISPID = LONG;
constexpr DISPID DISPID_VALUE = 0;
constexpr DISPID DISPID_UNKNOWN = -1;
constexpr DISPID DISPID_PROPERTYPUT = -3;
constexpr DISPID DISPID_FONT = -512;
constexpr DISPID DISPID_CLICK = -600;

constexpr WORD DISPATCH_METHOD = 0x1;
constexpr WORD DISPATCH_PROPERTYGET = 0x2;
constexpr WORD DISPATCH_PROPERTYPUT = 0x4;

struct DISPPARAMS
{
    std::vector<COleVariant> args;
};

struct ZorTypeInfo;

struct IDispatch : IUnknown
{
    // The identifier of a member by name (compared without regard to case).
    virtual HRESULT GetIDsOfNames(const char* name, DISPID* dispid) = 0;
    // Gets or puts a property (a put takes the new value as its one argument) or calls a
    // method. Unknown member: DISP_E_MEMBERNOTFOUND; wrong number of arguments:
    // DISP_E_BADPARAMCOUNT; an argument that does not convert to the member's type:
    // DISP_E_TYPEMISMATCH.
    virtual HRESULT Invoke(
        DISPID dispid, WORD wFlags, const DISPPARAMS& params, COleVariant* pVarResult)
        = 0;
    // The object's type description (owned by its class; null when it has none).
    virtual const ZorTypeInfo* GetTypeInfo() const = 0;
};

struct IClassFactory : IUnknown
{
    virtual HRESULT CreateInstance(IUnknown* pUnkOuter, REFIID riid, void** ppvObject) = 0;
    virtual HRESULT LockServer(BOOL fLock) = 0;
};

// Releases an interface pointer and clears it.
template<typename T> void zorRelease(T*& p)
{
    if (p) {
        p->Release();
        p = nullptr;
    }
}
