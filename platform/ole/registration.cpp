// Registration under the classes root: type libraries, classes, their program identifiers and
// component categories.

#include "platform/ole/factory.h"

#include "platform/ole/factory_p.h"
#include "platform/ui/strings.h"

#include <cstdio>
#include <cstring>
#include <strings.h>

using zorole::clsidKey;

namespace {

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

std::string clsidKey(REFCLSID clsid)
{
    return "CLSID\\" + zorGuidToString(clsid);
}

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
