#pragma once

// The controls the persistence fuzz targets load: the light and the graph of the widgets module,
// made by the module's own class factory (DllGetClassObject) after the module registered itself
// into the target's own store. The factory is the process's; every control is made fresh.

#include "platform/module/module.h"
#include "platform/ole/control.h"
#include "platform/ole/factory.h"
#include "platform/ole/oleinit.h"
#include "tests/fuzz/fuzzstore.h"

#include <QtGui/QGuiApplication>

#include <cstdlib>

namespace fuzzsupport {

// Light and graph: the two whose exchanges cover every value kind (numbers, flags, colours,
// texts, the stock font and fonts of their own).
inline const char* const c_controlIds[] = {
    "{01540154-0005-0000-0029-000000000004}",
    "{01540154-0000-0000-0029-000000000004}",
};
constexpr int c_controlCount = 2;

inline IClassFactory* controlFactory(int index)
{
    static IClassFactory* const* factories = [] {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        static int argc = 1;
        static char name[] = "fuzz_controls";
        static char* argv[] = {name, nullptr};
        if (!QCoreApplication::instance())
            new QGuiApplication(argc, argv);
        useOwnRegistry();
        AfxOleInit();
        static IClassFactory* made[c_controlCount] {};
        HMODULE module = LoadLibraryA(ZOR_WIDGETS_MODULE);
        auto registerServer
            = reinterpret_cast<ZorDllRegisterServer>(GetProcAddress(module, "DllRegisterServer"));
        auto classObject
            = reinterpret_cast<ZorDllGetClassObject>(GetProcAddress(module, "DllGetClassObject"));
        // Without the module there is nothing to fuzz: stop loudly rather than pass.
        if (!module || !registerServer || !classObject || registerServer() != S_OK)
            std::abort();
        for (int i = 0; i < c_controlCount; ++i) {
            CLSID clsid;
            if (!zorGuidFromString(c_controlIds[i], &clsid)
                || classObject(clsid, IID_IClassFactory, reinterpret_cast<void**>(&made[i])) != S_OK
                || !made[i])
                std::abort();
        }
        return made;
    }();
    return factories[index];
}

// A new control of the class, released when the holder goes.
class CFuzzControl
{
public:
    explicit CFuzzControl(int index)
    {
        IDispatch* dispatch = nullptr;
        if (controlFactory(index)->CreateInstance(
                nullptr, IID_IDispatch, reinterpret_cast<void**>(&dispatch))
                != S_OK
            || !dispatch)
            std::abort();
        dispatch->QueryInterface(IID_IZorControl, reinterpret_cast<void**>(&m_control));
        dispatch->Release();
        if (!m_control)
            std::abort();
    }
    ~CFuzzControl() { m_control->Release(); }
    CFuzzControl(const CFuzzControl&) = delete;
    CFuzzControl& operator=(const CFuzzControl&) = delete;
    COleControl* operator->() const { return m_control; }

private:
    COleControl* m_control {nullptr};
};

} // namespace fuzzsupport
