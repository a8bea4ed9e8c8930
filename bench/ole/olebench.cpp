// The component layer's speed: a property get through Invoke and creation by class
// identifier. Registration goes to a temporary store, never to the user's.

#include "framework/identity/suiteguid.h"
#include "platform/module/module.h"
#include "platform/ole/dispatchimpl.h"
#include "platform/ole/factory.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>

namespace {

const GUID c_benchClass = zorSuiteGuid(0x0B00, 4);

// Ten properties, the one read being the last in the table, as a control's later properties.
class CSample : public CDispatchImpl
{
public:
    CSample()
    {
        for (DISPID id = 1; id <= 10; ++id) {
            addProperty(
                id, ("Property" + std::to_string(id)).c_str(), VT_I4,
                [this] { return COleVariant(m_value); },
                [this](const COleVariant& v) {
                    m_value = v.lVal;
                    return S_OK;
                });
        }
    }
    long m_value {42};
};

void BM_PropertyGetByDispid(benchmark::State& state)
{
    CSample sample;
    const DISPPARAMS none;
    COleVariant result;
    for (auto _ : state) {
        sample.Invoke(10, DISPATCH_PROPERTYGET, none, &result);
        benchmark::DoNotOptimize(result.lVal);
    }
}
BENCHMARK(BM_PropertyGetByDispid);

void BM_CoCreateInstanceLoadedModule(benchmark::State& state)
{
    for (auto _ : state) {
        IDispatch* object = nullptr;
        if (FAILED(CoCreateInstance(c_benchClass, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                reinterpret_cast<void**>(&object)))) {
            state.SkipWithError("creation failed");
            break;
        }
        object->Release();
    }
}
BENCHMARK(BM_CoCreateInstanceLoadedModule)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    QTemporaryDir store;
    setenv("ZORVEX_REGISTRY", store.path().toStdString().c_str(), 1);
    HMODULE module = LoadLibraryA(ZOR_OLE_BENCH_MODULE);
    const auto registerServer = module
        ? reinterpret_cast<ZorDllRegisterServer>(GetProcAddress(module, "DllRegisterServer"))
        : nullptr;
    if (!registerServer || FAILED(registerServer())) {
        std::fprintf(stderr, "cannot register %s\n", ZOR_OLE_BENCH_MODULE);
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
