#include "servers/common/serverargs.h"

#include "platform/module/module.h"
#include "platform/ui/resources.h"
#include "platform/ui/window.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

// A list longer than this is not a module list of a program.
constexpr int c_maxModules = 256;

} // namespace

bool zorServerNoShow()
{
    const char* value = std::getenv("ZORVEX_SERVER_NOSHOW");
    return value != nullptr && std::strcmp(value, "1") == 0;
}

bool zorServerInteger(const COleVariant& value, unsigned long long* result)
{
    switch (value.vt) {
    case VT_I4:
        *result = static_cast<unsigned long long>(static_cast<long long>(value.lVal));
        return true;
    case VT_UI4:
        *result = value.ulVal;
        return true;
    case VT_I8:
    case VT_UI8:
        *result = value.ullVal;
        return true;
    default:
        return false;
    }
}

CWnd* zorServerOwner(const COleVariant& value)
{
    unsigned long long number = 0;
    if (!zorServerInteger(value, &number) || number == 0)
        return nullptr;
    const HWND hWnd = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(number));
    if (!IsWindow(hWnd))
        return nullptr;
    return CWnd::FromHandle(hWnd);
}

HICON zorServerIcon(const COleVariant& value)
{
    unsigned long long id = 0;
    if (zorServerInteger(value, &id) && id != 0 && id <= 0xFFFF) {
        if (HICON icon = LoadIconA(nullptr, static_cast<UINT>(id)))
            return icon;
    }
    return LoadIconA(nullptr, IDI_APPLICATION);
}

bool zorServerModuleList(const COleVariant& value, std::vector<std::string>* names)
{
    names->clear();
    if (value.vt == VT_BSTR) {
        std::size_t start = 0;
        const std::string& text = value.bstrVal;
        while (start <= text.size()) {
            std::size_t end = text.find('\n', start);
            if (end == std::string::npos)
                end = text.size();
            std::string name = text.substr(start, end - start);
            if (!name.empty() && name.back() == '\r')
                name.pop_back();
            if (!name.empty())
                names->push_back(name);
            start = end + 1;
        }
        return true;
    }

    unsigned long long number = 0;
    if (!zorServerInteger(value, &number) || number == 0)
        return false;
    const auto* list = reinterpret_cast<const char* const*>(static_cast<std::uintptr_t>(number));
    if (zorModuleOfAddress(list) == nullptr)
        return false;
    for (int i = 0; i < c_maxModules; ++i) {
        const char* name = list[i];
        if (name == nullptr || *name == '\0')
            return true;
        names->push_back(name);
    }
    // No closing empty entry within reach: not a list.
    names->clear();
    return false;
}
