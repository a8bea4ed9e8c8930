// zorreg: the command-line tool for the suite's registry store.

#include "tools/zorreg/regcommand.h"

#include "platform/ui/programline.h"

#include <iostream>

int main(int argc, char** argv)
{
    // The switches as regcommand reads them, in both spellings and any case; the program line
    // lets them through with their values and turns away any other word that begins with "-".
    CProgramLine line("zorreg",
        {"[--machine] query KEY [/v NAME | /ve] [/s]",
            "[--machine] add KEY [/v NAME | /ve] [/t TYPE] [/d DATA] [/f]",
            "[--machine] delete KEY [/v NAME | /ve | /va] [/f]", "[--machine] export KEY FILE [/y]",
            "[--machine] import FILE"},
        "Looks at and changes the suite's registry store: queries, adds and deletes keys and "
        "values, exports a key to a text file and imports one.",
        {{{"/v", "-v"}, "NAME", "the value of that name"},
            {{"/ve", "-ve"}, "", "the default (unnamed) value"},
            {{"/va", "-va"}, "", "every value of the key (delete)"},
            {{"/s", "-s"}, "", "the key and all its subkeys (query)"},
            {{"/t", "-t"}, "TYPE",
                "the type of the value to add: REG_SZ (the default), "
                "REG_DWORD, REG_BINARY or REG_MULTI_SZ"},
            {{"/d", "-d"}, "DATA",
                "the data: a text; a number (decimal or 0x hexadecimal); "
                "hexadecimal pairs; texts separated by \\0 for REG_MULTI_SZ"},
            {{"/f", "-f"}, "", "no question before replacing or deleting"},
            {{"/y", "-y"}, "", "no question before overwriting the export file"},
            {{"--machine"}, "", "work on the machine-wide store alone, for every user"},
            {{"/?", "-?"}, "", "print the commands in short and exit"}});
    line.setIgnoreCase(true);
    line.setNotes("KEY starts with its root: HKCR, HKCU or HKLM (or HKEY_CLASSES_ROOT, "
                  "HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE), then \\ and the key's path.\n"
                  "Exit status: 0 on success, 1 on a failure or when the answer to a question "
                  "was no, 2 for an unknown option or an option without its value.");
    if (const std::optional<int> status = line.answer(argc, argv))
        return *status;
    std::vector<std::string> args(argv + 1, argv + argc);
    return zorreg::run(args, std::cin, std::cout, std::cerr);
}
