#include "tools/zorcontainer/controllist.h"

#include "platform/registry/registry.h"

namespace {

std::string readDefault(HKEY root, const std::string& subKey)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, subKey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return {};
    std::string text;
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(key, "", nullptr, &type, nullptr, &size) == ERROR_SUCCESS && size > 0
        && (type == REG_SZ || type == REG_EXPAND_SZ)) {
        std::string buffer(size, '\0');
        if (RegQueryValueExA(
                key, "", nullptr, &type, reinterpret_cast<LPBYTE>(buffer.data()), &size)
            == ERROR_SUCCESS) {
            buffer.resize(size);
            while (!buffer.empty() && buffer.back() == '\0')
                buffer.pop_back();
            text = buffer;
        }
    }
    RegCloseKey(key);
    return text;
}

bool hasSubKey(HKEY root, const std::string& subKey)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, subKey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

} // namespace

std::vector<ZorRegisteredControl> zorRegisteredControls()
{
    std::vector<ZorRegisteredControl> controls;
    HKEY classes = nullptr;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, "CLSID", 0, KEY_READ, &classes) != ERROR_SUCCESS)
        return controls;
    char name[256];
    for (DWORD index = 0; RegEnumKeyA(classes, index, name, sizeof name) == ERROR_SUCCESS;
         ++index) {
        const std::string clsid = name;
        if (!hasSubKey(classes, clsid + "\\Control"))
            continue;
        ZorRegisteredControl control;
        control.clsid = clsid;
        control.progId = readDefault(classes, clsid + "\\ProgID");
        control.typeName = readDefault(classes, clsid);
        control.module = readDefault(classes, clsid + "\\InprocServer32");
        controls.push_back(control);
    }
    RegCloseKey(classes);
    return controls;
}
