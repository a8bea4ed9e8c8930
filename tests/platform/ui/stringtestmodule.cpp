// A loadable module that carries a string table and nothing else. Identifier 101 is also in
// the test program's table, with another text.

#include "platform/ui/strings.h"

ZOR_STRING_TABLE({{101, "Text of the module"}, {103, "Only in the module"}});
