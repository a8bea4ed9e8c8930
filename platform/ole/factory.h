#pragma once

// Class factories, the four module entry points, registration under the classes root and
// creation by class identifier or ProgID.
//
// A module defines one COleObjectFactory object per creatable class (controls, property pages,
// servers) at namespace scope; the factories of a module list themselves at load time. The
// module exports the four entry points with ZOR_OLE_MODULE_ENTRY_POINTS(typeLibrary, init):
//
//   DllRegisterServer    registers the type library (typeLibrary(), may be null for modules
//                        without one), then every factory's class; S_OK, SELFREG_E_TYPELIB or
//                        SELFREG_E_CLASS.
//   DllUnregisterServer  the same, removing.
//   DllGetClassObject    the factory of a class id (CLASS_E_CLASSNOTAVAILABLE for others).
//   DllCanUnloadNow      S_OK when no object and no lock of the module is outstanding.
//
// Each entry point first makes the module current (ZorModuleState). zorTypeLibraryOf is a fifth
// exported function so that tools can print a module's type information.
//
// Creation (CoCreateInstance) reads CLSID\{clsid}\InprocServer32 from the classes root, loads
// that module (kept loaded for the process), asks its DllGetClassObject for the factory and the
// factory for the object. Classes the platform itself provides (the stock font page) are found
// without the registry.

#include "platform/module/module.h"
#include "platform/ole/com.h"
#include "platform/ole/typeinfo.h"

#include <functional>
#include <string>
#include <vector>

// Registration data of a control class.
struct ZorControlRegistration
{
    UINT typeNameId {0}; // string id of the type name (= ProgID)
    UINT toolboxBitmapId {0};
    bool insertable {false};
    DWORD miscStatus {0x20191};
    GUID typeLibrary;
    WORD major {2};
    WORD minor {1};
    // The two "safe" component categories (graph and colour controls).
    bool safeCategories {false};
};

class COleObjectFactory : public IClassFactory
{
public:
    enum eKIND { eKIND_CONTROL, eKIND_PROPERTYPAGE, eKIND_OBJECT };
    using Creator = std::function<IUnknown*()>;

    // A control class.
    COleObjectFactory(HMODULE module, REFCLSID clsid, const char* progId, Creator creator,
        const ZorControlRegistration& registration);
    // A property page or a plain creatable object (a server), registered with its type name
    // (string id) and, for objects, its ProgID.
    COleObjectFactory(HMODULE module, eKIND kind, REFCLSID clsid, const char* progId,
        UINT typeNameId, Creator creator);
    virtual ~COleObjectFactory();
    COleObjectFactory(const COleObjectFactory&) = delete;
    COleObjectFactory& operator=(const COleObjectFactory&) = delete;

    HRESULT QueryInterface(REFIID riid, void** ppvObject) override;
    ULONG AddRef() override { return 2; }
    ULONG Release() override { return 1; }
    HRESULT CreateInstance(IUnknown* pUnkOuter, REFIID riid, void** ppvObject) override;
    HRESULT LockServer(BOOL fLock) override;

    // Writes (or removes) the class's registration; true on success.
    virtual bool UpdateRegistry(bool bRegister);

    REFCLSID clsid() const { return m_clsid; }
    const std::string& progId() const { return m_progId; }
    HMODULE module() const { return m_module; }
    eKIND kind() const { return m_kind; }

    // The factories of a module in definition order.
    static std::vector<COleObjectFactory*> factoriesOf(HMODULE module);
    static COleObjectFactory* find(HMODULE module, REFCLSID clsid);
    static HRESULT registerAll(HMODULE module, bool bRegister);

private:
    HMODULE m_module {nullptr};
    eKIND m_kind {eKIND_OBJECT};
    CLSID m_clsid;
    std::string m_progId;
    UINT m_typeNameId {0};
    Creator m_creator;
    ZorControlRegistration m_registration;
};

// Objects and locks of a module outstanding, for DllCanUnloadNow. Objects count themselves in
// their constructor and destructor.
void zorModuleLock(HMODULE module, int delta);
int zorModuleLockCount(HMODULE module);

// One outstanding object of a module for as long as it lives: a member of every class a
// module's factories create, initialised with ZOR_THIS_MODULE() in the module's own code.
class CModuleLock
{
public:
    explicit CModuleLock(HMODULE module) : m_module(module) { zorModuleLock(m_module, 1); }
    ~CModuleLock() { zorModuleLock(m_module, -1); }
    CModuleLock(const CModuleLock&) = delete;
    CModuleLock& operator=(const CModuleLock&) = delete;

private:
    HMODULE m_module;
};

// Registration helpers (classes root), as the framework's.
bool AfxOleRegisterTypeLib(HMODULE module, const ZorTypeLibrary& library);
bool AfxOleUnregisterTypeLib(REFGUID libid, WORD major, WORD minor);
bool AfxOleRegisterControlClass(
    HMODULE module, REFCLSID clsid, const char* progId, const ZorControlRegistration& registration);
bool AfxOleRegisterPropertyPageClass(HMODULE module, REFCLSID clsid, UINT typeNameId);
bool AfxOleRegisterServerClass(HMODULE module, REFCLSID clsid, const char* progId, UINT typeNameId);
bool AfxOleUnregisterClass(REFCLSID clsid, const char* progId);
// The component category manager: "Component Categories\{catid}\409" (description cut to
// 127 characters) and "CLSID\{clsid}\Implemented Categories\{catid}".
HRESULT zorRegisterCategory(REFGUID catid, LCID locale, const char* description);
HRESULT zorRegisterClassImplCategory(REFCLSID clsid, REFGUID catid);
extern const CATID CATID_SafeForScripting; // {7DD95801-9882-11CF-9FA9-00AA006C42C4}
extern const CATID CATID_SafeForInitializing; // {7DD95802-9882-11CF-9FA9-00AA006C42C4}

// Creation.
constexpr DWORD CLSCTX_INPROC_SERVER = 0x1;
HRESULT CLSIDFromProgID(const char* progId, CLSID* clsid);
HRESULT CoCreateInstance(
    REFCLSID rclsid, IUnknown* pUnkOuter, DWORD dwClsContext, REFIID riid, void** ppv);
// By "{clsid}" text or ProgID, for the dispatch interface.
HRESULT zorCreateDispatch(const char* classIdOrProgId, IDispatch** ppDispatch);
// Registers a class the platform provides itself (found by CoCreateInstance first).
void zorRegisterBuiltinClass(REFCLSID clsid, COleObjectFactory::Creator creator);

// Module entry point types.
using ZorDllRegisterServer = HRESULT (*)();
using ZorDllGetClassObject = HRESULT (*)(REFCLSID, REFIID, void**);
using ZorDllCanUnloadNow = HRESULT (*)();
using ZorTypeLibraryOf = const ZorTypeLibrary* (*)();

#define ZOR_OLE_MODULE_ENTRY_POINTS(typeLibraryFn, initFn)                                         \
    extern "C" __attribute__((visibility("default"))) const ZorTypeLibrary* zorTypeLibraryOf()     \
    {                                                                                              \
        return typeLibraryFn();                                                                    \
    }                                                                                              \
    extern "C" __attribute__((visibility("default"))) HRESULT DllRegisterServer()                  \
    {                                                                                              \
        const ZorModuleState state(ZOR_THIS_MODULE());                                             \
        initFn();                                                                                  \
        return zorModuleRegister(ZOR_THIS_MODULE(), typeLibraryFn(), true);                        \
    }                                                                                              \
    extern "C" __attribute__((visibility("default"))) HRESULT DllUnregisterServer()                \
    {                                                                                              \
        const ZorModuleState state(ZOR_THIS_MODULE());                                             \
        initFn();                                                                                  \
        return zorModuleRegister(ZOR_THIS_MODULE(), typeLibraryFn(), false);                       \
    }                                                                                              \
    extern "C" __attribute__((visibility("default"))) HRESULT DllGetClassObject(                   \
        REFCLSID rclsid, REFIID riid, void** ppv)                                                  \
    {                                                                                              \
        const ZorModuleState state(ZOR_THIS_MODULE());                                             \
        initFn();                                                                                  \
        return zorModuleGetClassObject(ZOR_THIS_MODULE(), rclsid, riid, ppv);                      \
    }                                                                                              \
    extern "C" __attribute__((visibility("default"))) HRESULT DllCanUnloadNow()                    \
    {                                                                                              \
        return zorModuleLockCount(ZOR_THIS_MODULE()) == 0 ? S_OK : S_FALSE;                        \
    }                                                                                              \
    static_assert(true, "")

// What the entry points do.
HRESULT zorModuleRegister(HMODULE module, const ZorTypeLibrary* library, bool bRegister);
HRESULT zorModuleGetClassObject(HMODULE module, REFCLSID rclsid, REFIID riid, void** ppv);
