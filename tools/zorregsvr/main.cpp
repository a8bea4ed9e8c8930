// zorregsvr: registers or unregisters a component module.

#include "tools/zorregsvr/regsvrcommand.h"

#include "platform/ui/programline.h"

#include <iostream>

int main(int argc, char** argv)
{
    CProgramLine line("zorregsvr", {"[/u] [/s] [--machine] MODULE"},
        "Registers a component module in the suite's registry store (runs its DllRegisterServer), "
        "or unregisters it (DllUnregisterServer).",
        {{{"/u", "-u"}, "", "unregister the module"}, {{"/s", "-s"}, "", "silent: print nothing"},
            {{"--machine"}, "", "register in the machine-wide store, for every user"}});
    line.setIgnoreCase(true);
    line.setNotes("MODULE is a path, or a bare file name looked for beside the program first.\n"
                  "Exit status: 0 on success, 1 when the module does not load or its entry point "
                  "is missing or fails, 2 for a wrong command line.");
    if (const std::optional<int> status = line.answer(argc, argv))
        return *status;
    return runRegSvr(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
