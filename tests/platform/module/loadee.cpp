// A module made only for the module tests: a few exports, and its own idea of which module it
// is and which module is current inside a call into it.

#include "platform/module/module.h"

extern "C" int zorLoadeeAnswer()
{
    return 42;
}

extern "C" HMODULE zorLoadeeThisModule()
{
    return ZOR_THIS_MODULE();
}

extern "C" HMODULE zorLoadeeCurrentDuringCall()
{
    const ZorModuleState state(ZOR_THIS_MODULE());
    return AfxGetInstanceHandle();
}
