// corvane: the host monitor.

#include "monitor/corvaneapp.h"

#include "platform/ui/winapp.h"

namespace {

// The one application object, made before start-up.
CCorvaneApp s_theApp;

} // namespace

int main(int argc, char** argv)
{
    return zorRunApplication(argc, argv);
}
