// A control module made only for the version and registration tests. Its registration entry
// point answers with the result the module was built with; without one it has no entry point.

#include "platform/types/wintypes.h"

#ifdef ZOR_REGISTRATION_RESULT
extern "C" HRESULT DllRegisterServer()
{
    return ZOR_REGISTRATION_RESULT;
}
#endif

extern "C" int zorRegistrantLoaded()
{
    return 1;
}
