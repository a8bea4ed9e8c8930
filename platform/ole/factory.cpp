// Class factories, module entry points, registration under the classes root and creation by
// class identifier.

#include "platform/ole/factory.h"

#include "platform/ole/factory_p.h"
#include "platform/ui/strings.h"

#include <QtGlobal>

#include <cstdio>
#include <cstring>
#include <map>
#include <mutex>
#include <strings.h>

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

struct BuiltinClasses
{
    std::mutex mutex;
    std::map<CLSID, COleObjectFactory::Creator> creators;
};

BuiltinClasses& builtinClasses()
{
    static BuiltinClasses classes;
    return classes;
}

// Modules loaded for creation stay loaded for the process; the path is looked up once.
struct LoadedServers
{
    std::mutex mutex;
    std::map<std::string, HMODULE> byPath;
};

LoadedServers& loadedServers()
{
    static LoadedServers servers;
    return servers;
}

std::string modulePath(HMODULE module)
{
    char path[4096] {};
    if (GetModuleFileNameA(module, path, sizeof path) == 0)
        return {};
    return path;
}

std::string folderOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return {};
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

bool loadText(HMODULE module, UINT id, std::string* text)
{
    char buffer[1024] {};
    if (id == 0 || LoadStringA(module, id, buffer, sizeof buffer) <= 0)
        return false;
    *text = buffer;
    return true;
}

std::string versionText(WORD major, WORD minor)
{
    char text[16];
    std::snprintf(text, sizeof text, "%x.%x", major, minor);
    return text;
}

std::string clsidKey(REFCLSID clsid)
{
    return "CLSID\\" + zorGuidToString(clsid);
}

// The class's own key with its type name, server path and threading model.
bool registerServerKey(
    HMODULE module, REFCLSID clsid, const std::string& typeName, std::string* path)
{
    using namespace zorole;
    *path = modulePath(module);
    if (path->empty())
        return false;
    const std::string key = clsidKey(clsid);
    return setText(key, "", typeName) && setText(key + "\\InprocServer32", "", *path)
        && setText(key + "\\InprocServer32", "ThreadingModel", "Apartment");
}

bool registerProgId(
    REFCLSID clsid, const char* progId, const std::string& typeName, bool insertable)
{
    using namespace zorole;
    if (!progId || !*progId)
        return true;
    const std::string key = progId;
    return setText(clsidKey(clsid) + "\\ProgID", "", progId) && setText(key, "", typeName)
        && setText(key + "\\CLSID", "", zorGuidToString(clsid))
        && (!insertable || createKey(key + "\\Insertable"));
}

} // namespace

const CATID CATID_SafeForScripting = [] {
    GUID g;
    zorGuidFromString("{7DD95801-9882-11CF-9FA9-00AA006C42C4}", &g);
    return g;
}();
const CATID CATID_SafeForInitializing = [] {
    GUID g;
    zorGuidFromString("{7DD95802-9882-11CF-9FA9-00AA006C42C4}", &g);
    return g;
}();

// --- registry helpers ----------------------------------------------------------------------
namespace zorole {

bool setText(const std::string& keyPath, const char* valueName, const std::string& text)
{
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CLASSES_ROOT, keyPath.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
            KEY_WRITE, nullptr, &key, nullptr)
        != ERROR_SUCCESS)
        return false;
    const LONG result = RegSetValueExA(key, valueName, 0, REG_SZ,
        reinterpret_cast<const BYTE*>(text.data()), static_cast<DWORD>(text.size()));
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

bool createKey(const std::string& keyPath)
{
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CLASSES_ROOT, keyPath.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
            KEY_WRITE, nullptr, &key, nullptr)
        != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

bool readText(const std::string& keyPath, const char* valueName, std::string* text)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, keyPath.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    DWORD type = 0;
    DWORD size = 0;
    LONG result = RegQueryValueExA(key, valueName, nullptr, &type, nullptr, &size);
    std::string value(size, '\0');
    if (result == ERROR_SUCCESS && size > 0)
        result = RegQueryValueExA(
            key, valueName, nullptr, &type, reinterpret_cast<BYTE*>(value.data()), &size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ))
        return false;
    value.resize(size);
    while (!value.empty() && value.back() == '\0')
        value.pop_back();
    *text = value;
    return true;
}

bool deleteTree(const std::string& keyPath)
{
    const LONG result = SHDeleteKeyA(HKEY_CLASSES_ROOT, keyPath.c_str());
    return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND;
}

bool deleteAllBut(const std::string& keyPath, const char* keep)
{
    HKEY key = nullptr;
    const LONG opened = RegOpenKeyExA(HKEY_CLASSES_ROOT, keyPath.c_str(), 0, KEY_ALL_ACCESS, &key);
    if (opened == ERROR_FILE_NOT_FOUND)
        return true;
    if (opened != ERROR_SUCCESS)
        return false;
    bool ok = true;
    bool kept = false;
    // Names first, deletions after: deleting while enumerating would shift the indexes.
    std::vector<std::string> subkeys;
    char name[256];
    for (DWORD i = 0; RegEnumKeyA(key, i, name, sizeof name) == ERROR_SUCCESS; ++i)
        subkeys.emplace_back(name);
    std::vector<std::string> values;
    for (DWORD i = 0;; ++i) {
        DWORD length = sizeof name;
        if (RegEnumValueA(key, i, name, &length, nullptr, nullptr, nullptr, nullptr)
            != ERROR_SUCCESS)
            break;
        values.emplace_back(name, length);
    }
    for (const std::string& subkey : subkeys) {
        if (keep && strcasecmp(subkey.c_str(), keep) == 0) {
            kept = true;
            continue;
        }
        const LONG result = SHDeleteKeyA(key, subkey.c_str());
        ok = ok && (result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND);
    }
    for (const std::string& value : values) {
        const LONG result = RegDeleteValueA(key, value.c_str());
        ok = ok && (result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND);
    }
    RegCloseKey(key);
    if (ok && !kept)
        ok = deleteTree(keyPath);
    return ok;
}

} // namespace zorole

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

// --- registration --------------------------------------------------------------------------
bool AfxOleRegisterTypeLib(HMODULE module, const ZorTypeLibrary& library)
{
    using namespace zorole;
    const std::string path = modulePath(module);
    if (path.empty())
        return false;
    const std::string key = "TypeLib\\" + zorGuidToString(library.libid) + "\\"
        + versionText(library.major, library.minor);
    return setText(key, "", library.helpString) && setText(key + "\\0\\win32", "", path)
        && setText(key + "\\FLAGS", "", "0") && setText(key + "\\HELPDIR", "", folderOf(path));
}

bool AfxOleUnregisterTypeLib(REFGUID libid, WORD major, WORD minor)
{
    using namespace zorole;
    const std::string libraryKey = "TypeLib\\" + zorGuidToString(libid);
    if (!deleteTree(libraryKey + "\\" + versionText(major, minor)))
        return false;
    // The library's key goes with its last version.
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, libraryKey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return true;
    DWORD subkeys = 0;
    DWORD values = 0;
    const LONG result = RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr,
        &values, nullptr, nullptr, nullptr, nullptr);
    RegCloseKey(key);
    if (result == ERROR_SUCCESS && subkeys == 0 && values == 0)
        return deleteTree(libraryKey);
    return true;
}

bool AfxOleRegisterControlClass(
    HMODULE module, REFCLSID clsid, const char* progId, const ZorControlRegistration& registration)
{
    using namespace zorole;
    std::string typeName;
    std::string path;
    if (!loadText(module, registration.typeNameId, &typeName)
        || !registerServerKey(module, clsid, typeName, &path))
        return false;
    const std::string key = clsidKey(clsid);
    bool ok = registerProgId(clsid, progId, typeName, registration.insertable)
        && createKey(key + "\\Control")
        && (!registration.insertable || createKey(key + "\\Insertable"))
        && setText(key + "\\MiscStatus", "", "0")
        && setText(key + "\\MiscStatus\\1", "", std::to_string(registration.miscStatus))
        && setText(key + "\\ToolboxBitmap32", "",
            path + ", " + std::to_string(registration.toolboxBitmapId))
        && setText(key + "\\TypeLib", "", zorGuidToString(registration.typeLibrary))
        && setText(key + "\\Version", "", versionText(registration.major, registration.minor));
    return ok;
}

bool AfxOleRegisterPropertyPageClass(HMODULE module, REFCLSID clsid, UINT typeNameId)
{
    std::string typeName;
    std::string path;
    return loadText(module, typeNameId, &typeName)
        && registerServerKey(module, clsid, typeName, &path);
}

bool AfxOleRegisterServerClass(HMODULE module, REFCLSID clsid, const char* progId, UINT typeNameId)
{
    std::string typeName;
    std::string path;
    return loadText(module, typeNameId, &typeName)
        && registerServerKey(module, clsid, typeName, &path)
        && registerProgId(clsid, progId, typeName, false);
}

bool AfxOleUnregisterClass(REFCLSID clsid, const char* progId)
{
    using namespace zorole;
    // The component-category marks stay: they belong to the category manager, not to the class.
    bool ok = deleteAllBut(clsidKey(clsid), "Implemented Categories");
    if (progId && *progId)
        ok = deleteTree(progId) && ok;
    return ok;
}

HRESULT zorRegisterCategory(REFGUID catid, LCID locale, const char* description)
{
    char localeName[16];
    std::snprintf(localeName, sizeof localeName, "%x", static_cast<unsigned>(locale));
    std::string text = description ? description : "";
    if (text.size() > 127)
        text.resize(127);
    return zorole::setText("Component Categories\\" + zorGuidToString(catid), localeName, text)
        ? S_OK
        : E_FAIL;
}

HRESULT zorRegisterClassImplCategory(REFCLSID clsid, REFGUID catid)
{
    return zorole::createKey(
               clsidKey(clsid) + "\\Implemented Categories\\" + zorGuidToString(catid))
        ? S_OK
        : E_FAIL;
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

// --- creation ------------------------------------------------------------------------------
HRESULT CLSIDFromProgID(const char* progId, CLSID* clsid)
{
    if (!progId || !clsid)
        return E_INVALIDARG;
    if (progId[0] == '{')
        return zorGuidFromString(progId, clsid) ? S_OK : CO_E_CLASSSTRING;
    std::string text;
    if (!*progId || !zorole::readText(std::string(progId) + "\\CLSID", "", &text)
        || !zorGuidFromString(text.c_str(), clsid))
        return CO_E_CLASSSTRING;
    return S_OK;
}

void zorRegisterBuiltinClass(REFCLSID clsid, COleObjectFactory::Creator creator)
{
    BuiltinClasses& classes = builtinClasses();
    const std::lock_guard lock(classes.mutex);
    classes.creators[clsid] = std::move(creator);
}

HRESULT CoCreateInstance(
    REFCLSID rclsid, IUnknown* pUnkOuter, DWORD dwClsContext, REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    if (!(dwClsContext & CLSCTX_INPROC_SERVER))
        return REGDB_E_CLASSNOTREG; // only in-process servers exist

    COleObjectFactory::Creator builtin;
    {
        BuiltinClasses& classes = builtinClasses();
        const std::lock_guard lock(classes.mutex);
        const auto it = classes.creators.find(rclsid);
        if (it != classes.creators.end())
            builtin = it->second;
    }
    if (builtin) {
        if (pUnkOuter)
            return CLASS_E_NOAGGREGATION;
        IUnknown* object = builtin();
        if (!object)
            return E_OUTOFMEMORY;
        const HRESULT hr = object->QueryInterface(riid, ppv);
        object->Release();
        return hr;
    }

    std::string path;
    if (!zorole::readText(clsidKey(rclsid) + "\\InprocServer32", "", &path) || path.empty())
        return REGDB_E_CLASSNOTREG;

    HMODULE module = nullptr;
    {
        LoadedServers& servers = loadedServers();
        const std::lock_guard lock(servers.mutex);
        const auto it = servers.byPath.find(path);
        if (it != servers.byPath.end()) {
            module = it->second;
        } else {
            module = LoadLibraryA(path.c_str());
            if (!module)
                return CO_E_DLLNOTFOUND;
            servers.byPath.emplace(path, module);
        }
    }
    const auto getClassObject
        = reinterpret_cast<ZorDllGetClassObject>(GetProcAddress(module, "DllGetClassObject"));
    if (!getClassObject)
        return CO_E_ERRORINDLL;
    IClassFactory* factory = nullptr;
    HRESULT hr = getClassObject(rclsid, IID_IClassFactory, reinterpret_cast<void**>(&factory));
    if (FAILED(hr))
        return hr;
    if (!factory)
        return CO_E_ERRORINDLL;
    hr = factory->CreateInstance(pUnkOuter, riid, ppv);
    factory->Release();
    return hr;
}

HRESULT zorCreateDispatch(const char* classIdOrProgId, IDispatch** ppDispatch)
{
    if (!ppDispatch)
        return E_POINTER;
    *ppDispatch = nullptr;
    CLSID clsid;
    const HRESULT hr = CLSIDFromProgID(classIdOrProgId, &clsid);
    if (FAILED(hr))
        return hr;
    return CoCreateInstance(
        clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, reinterpret_cast<void**>(ppDispatch));
}
