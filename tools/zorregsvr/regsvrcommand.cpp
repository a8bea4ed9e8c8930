#include "tools/zorregsvr/regsvrcommand.h"

#include "platform/module/module.h"
#include "platform/ole/factory.h"
#include "platform/registry/machineregistryscope.h"

#include <cstdio>
#include <memory>
#include <ostream>

namespace {

constexpr const char* c_usage = "usage: zorregsvr [/u] [/s] [--machine] module";

bool isOption(const std::string& arg, char letter)
{
    return arg.size() == 2 && (arg[0] == '/' || arg[0] == '-')
        && (arg[1] == letter || arg[1] == letter - 'a' + 'A');
}

std::string hex(HRESULT hr)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(hr));
    return text;
}

} // namespace

int runRegSvr(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    bool unregister = false;
    bool silent = false;
    bool machine = false;
    std::string module;
    for (const std::string& arg : args) {
        if (arg == "--machine") {
            machine = true;
        } else if (isOption(arg, 'u')) {
            unregister = true;
        } else if (isOption(arg, 's')) {
            silent = true;
        } else if (module.empty() && !arg.empty() && arg[0] != '-' && arg[0] != '/') {
            module = arg;
        } else if (module.empty() && arg.size() > 2 && arg[0] == '/') {
            // An absolute path, not an option.
            module = arg;
        } else {
            err << c_usage << '\n';
            return 2;
        }
    }
    if (module.empty()) {
        err << c_usage << '\n';
        return 2;
    }

    // With --machine the registration goes to the machine-wide store, for every user; the
    // scope lasts until the entry point has run.
    std::unique_ptr<CMachineRegistryScope> machineStore;
    if (machine) {
        machineStore = std::make_unique<CMachineRegistryScope>();
        std::string reason;
        if (!machineStore->prepareForWrites(reason)) {
            err << "zorregsvr: cannot write the machine-wide registry \"" << machineStore->folder()
                << "\": " << reason << '\n';
            return 1;
        }
    }

    const char* entryName = unregister ? "DllUnregisterServer" : "DllRegisterServer";
    HMODULE handle = LoadLibraryA(module.c_str());
    if (handle == nullptr) {
        if (!silent)
            err << "LoadLibrary(\"" << module << "\") failed: " << zorModuleLoadError() << '\n';
        return 1;
    }
    auto entry = reinterpret_cast<ZorDllRegisterServer>(GetProcAddress(handle, entryName));
    if (entry == nullptr) {
        if (!silent)
            err << module << " was loaded, but the " << entryName
                << " entry point was not found.\n";
        FreeLibrary(handle);
        return 1;
    }
    const HRESULT hr = entry();
    // The module stays loaded until the tool ends: what it registered may still be in use by
    // the registry layer's caches of this process.
    if (FAILED(hr)) {
        if (!silent)
            err << entryName << " in " << module << " failed. Return code was: " << hex(hr) << '\n';
        return 1;
    }
    if (!silent)
        out << entryName << " in " << module << " succeeded.\n";
    return 0;
}
