// zortypes: prints the type information of a component module.
//
//   zortypes module
//
// Loads the module, asks its exported zorTypeLibraryOf for its type library and prints it as
// interface text (zorTypeLibraryText). Exit code 0 when printed; 1 when the module does not
// load, exports no zorTypeLibraryOf or has no type library (one line on the error output says
// which); 2 for a wrong command line.

#include "platform/module/module.h"
#include "platform/ole/factory.h"
#include "platform/ole/typeinfo.h"
#include "platform/ui/programline.h"

#include <iostream>
#include <string>

int main(int argc, char** argv)
{
    CProgramLine line(
        "zortypes", {"MODULE"}, "Prints the type library of a component module as interface text.");
    line.setOperands(1, 1, "MODULE");
    line.setNotes("Exit status: 0 when printed, 1 when the module does not load, exports no "
                  "zorTypeLibraryOf or has no type library, 2 for a wrong command line.");
    if (const std::optional<int> status = line.answer(argc, argv))
        return *status;
    // The one operand is the last word (a "--" may stand before it).
    const std::string module = argv[argc - 1];
    HMODULE handle = LoadLibraryA(module.c_str());
    if (handle == nullptr) {
        std::cerr << "LoadLibrary(\"" << module << "\") failed: " << zorModuleLoadError() << '\n';
        return 1;
    }
    auto typeLibraryOf
        = reinterpret_cast<ZorTypeLibraryOf>(GetProcAddress(handle, "zorTypeLibraryOf"));
    if (typeLibraryOf == nullptr) {
        std::cerr << module << " was loaded, but the zorTypeLibraryOf entry point was not found.\n";
        return 1;
    }
    const ZorTypeLibrary* library = typeLibraryOf();
    if (library == nullptr) {
        std::cerr << module << " has no type library.\n";
        return 1;
    }
    std::cout << zorTypeLibraryText(*library);
    return 0;
}
