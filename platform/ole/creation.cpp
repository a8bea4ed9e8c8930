// Creation by class identifier or program identifier: built-in classes first, else the
// in-process server registered for the class, loaded once for the process.

#include "platform/ole/factory.h"

#include "platform/ole/factory_p.h"

#include <map>
#include <mutex>

using zorole::clsidKey;

namespace {

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

} // namespace

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
