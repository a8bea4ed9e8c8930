// Class factories, their module's lock count and the module entry points.

#include "platform/ole/factory.h"

#include "platform/ole/factory_p.h"

#include <QtGlobal>

#include <map>
#include <mutex>

namespace {

// The factories of every loaded module, in the order they were defined. Factories are static
// objects of their modules, so the list is reached through a function to exist before the
// first of them is constructed.
struct FactoryList
{
    std::mutex mutex;
    std::map<HMODULE, std::vector<COleObjectFactory*>> byModule;
};

FactoryList& factoryList()
{
    static FactoryList list;
    return list;
}

struct LockTable
{
    std::mutex mutex;
    std::map<HMODULE, int> counts;
};

LockTable& lockTable()
{
    static LockTable table;
    return table;
}

} // namespace

// --- factories -----------------------------------------------------------------------------
COleObjectFactory::COleObjectFactory(HMODULE module, REFCLSID clsid, const char* progId,
    Creator creator, const ZorControlRegistration& registration)
    : m_module(module)
    , m_kind(eKIND_CONTROL)
    , m_clsid(clsid)
    , m_progId(progId ? progId : "")
    , m_typeNameId(registration.typeNameId)
    , m_creator(std::move(creator))
    , m_registration(registration)
{
    FactoryList& list = factoryList();
    const std::lock_guard lock(list.mutex);
    list.byModule[m_module].push_back(this);
}

COleObjectFactory::COleObjectFactory(HMODULE module, eKIND kind, REFCLSID clsid, const char* progId,
    UINT typeNameId, Creator creator)
    : m_module(module)
    , m_kind(kind)
    , m_clsid(clsid)
    , m_progId(progId ? progId : "")
    , m_typeNameId(typeNameId)
    , m_creator(std::move(creator))
{
    m_registration.typeNameId = typeNameId;
    FactoryList& list = factoryList();
    const std::lock_guard lock(list.mutex);
    list.byModule[m_module].push_back(this);
}

COleObjectFactory::~COleObjectFactory()
{
    FactoryList& list = factoryList();
    const std::lock_guard lock(list.mutex);
    auto it = list.byModule.find(m_module);
    if (it == list.byModule.end())
        return;
    std::erase(it->second, this);
    if (it->second.empty())
        list.byModule.erase(it);
}

HRESULT COleObjectFactory::QueryInterface(REFIID riid, void** ppvObject)
{
    if (!ppvObject)
        return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IClassFactory) {
        *ppvObject = static_cast<IClassFactory*>(this);
        return S_OK;
    }
    *ppvObject = nullptr;
    return E_NOINTERFACE;
}

HRESULT COleObjectFactory::CreateInstance(IUnknown* pUnkOuter, REFIID riid, void** ppvObject)
{
    if (!ppvObject)
        return E_POINTER;
    *ppvObject = nullptr;
    if (pUnkOuter)
        return CLASS_E_NOAGGREGATION;
    if (!m_creator)
        return E_UNEXPECTED;
    // The object is made in its module's state, as every call into the module is.
    const ZorModuleState state(m_module);
    IUnknown* object = m_creator();
    if (!object)
        return E_OUTOFMEMORY;
    const HRESULT hr = object->QueryInterface(riid, ppvObject);
    object->Release();
    return hr;
}

HRESULT COleObjectFactory::LockServer(BOOL fLock)
{
    zorModuleLock(m_module, fLock ? 1 : -1);
    return S_OK;
}

bool COleObjectFactory::UpdateRegistry(bool bRegister)
{
    if (!bRegister)
        return AfxOleUnregisterClass(m_clsid, m_progId.empty() ? nullptr : m_progId.c_str());
    switch (m_kind) {
    case eKIND_CONTROL: {
        if (!AfxOleRegisterControlClass(m_module, m_clsid, m_progId.c_str(), m_registration))
            return false;
        if (m_registration.safeCategories) {
            // A category that cannot be registered leaves the class unmarked; the class's
            // registration still stands.
            if (SUCCEEDED(zorRegisterCategory(
                    CATID_SafeForScripting, 1033, "Controls that are safely scriptable")))
                zorRegisterClassImplCategory(m_clsid, CATID_SafeForScripting);
            if (SUCCEEDED(zorRegisterCategory(CATID_SafeForInitializing, 1033,
                    "Controls safely initializable from persistent data")))
                zorRegisterClassImplCategory(m_clsid, CATID_SafeForInitializing);
        }
        return true;
    }
    case eKIND_PROPERTYPAGE:
        return AfxOleRegisterPropertyPageClass(m_module, m_clsid, m_typeNameId);
    case eKIND_OBJECT:
        return AfxOleRegisterServerClass(m_module, m_clsid, m_progId.c_str(), m_typeNameId);
    }
    return false;
}

std::vector<COleObjectFactory*> COleObjectFactory::factoriesOf(HMODULE module)
{
    FactoryList& list = factoryList();
    const std::lock_guard lock(list.mutex);
    const auto it = list.byModule.find(module);
    return it == list.byModule.end() ? std::vector<COleObjectFactory*> {} : it->second;
}

COleObjectFactory* COleObjectFactory::find(HMODULE module, REFCLSID clsid)
{
    FactoryList& list = factoryList();
    const std::lock_guard lock(list.mutex);
    const auto it = list.byModule.find(module);
    if (it == list.byModule.end())
        return nullptr;
    for (COleObjectFactory* factory : it->second) {
        if (factory->clsid() == clsid)
            return factory;
    }
    return nullptr;
}

HRESULT COleObjectFactory::registerAll(HMODULE module, bool bRegister)
{
    for (COleObjectFactory* factory : factoriesOf(module)) {
        if (!factory->UpdateRegistry(bRegister))
            return SELFREG_E_CLASS;
    }
    return S_OK;
}

void zorModuleLock(HMODULE module, int delta)
{
    LockTable& table = lockTable();
    const std::lock_guard lock(table.mutex);
    int& count = table.counts[module];
    count += delta;
    Q_ASSERT(count >= 0);
    if (count <= 0)
        table.counts.erase(module);
}

int zorModuleLockCount(HMODULE module)
{
    LockTable& table = lockTable();
    const std::lock_guard lock(table.mutex);
    const auto it = table.counts.find(module);
    return it == table.counts.end() ? 0 : it->second;
}

// --- entry points --------------------------------------------------------------------------
HRESULT zorModuleRegister(HMODULE module, const ZorTypeLibrary* library, bool bRegister)
{
    if (library) {
        const bool ok = bRegister
            ? AfxOleRegisterTypeLib(module, *library)
            : AfxOleUnregisterTypeLib(library->libid, library->major, library->minor);
        if (!ok)
            return SELFREG_E_TYPELIB;
    }
    return COleObjectFactory::registerAll(module, bRegister);
}

HRESULT zorModuleGetClassObject(HMODULE module, REFCLSID rclsid, REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    COleObjectFactory* factory = COleObjectFactory::find(module, rclsid);
    if (!factory)
        return CLASS_E_CLASSNOTAVAILABLE;
    return factory->QueryInterface(riid, ppv);
}
