// A loadable module without the component entry points: creating a class registered to it
// fails with the error of a module that is not a component server.

#include "platform/ui/strings.h"

ZOR_STRING_TABLE({{1, "Not a component module"}});
