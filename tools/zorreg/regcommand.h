#pragma once

// zorreg: looks at and changes the suite's registry store from the command line.
//
//   zorreg [--machine] query KEY [/v NAME | /ve] [/s]
//   zorreg [--machine] add KEY [/v NAME | /ve] [/t REG_SZ|REG_DWORD|REG_BINARY|REG_MULTI_SZ]
//          [/d DATA] [/f]
//   zorreg [--machine] delete KEY [/v NAME | /ve | /va] [/f]
//   zorreg [--machine] export KEY FILE [/y]
//   zorreg [--machine] import FILE
//
// KEY starts with its root: HKCR, HKCU, HKLM or HKEY_CLASSES_ROOT, HKEY_CURRENT_USER,
// HKEY_LOCAL_MACHINE. Switches may start with "/" or "-" and are read without regard to case;
// any other word is an argument, so a file name may start with "/".
// Changes that replace or delete something ask first on standard input unless /f (/y for
// export) is given; only "y" or "yes" goes ahead. The exit code is 0 on success, 1 on any
// failure or when the user says no.
//
// Without --machine the commands work on what the user sees: the user's store, with the
// machine-wide store beneath it for the classes and local-machine roots (writes always go to
// the user's store). --machine (anywhere on the command line) makes them work on the
// machine-wide store alone (zorMachineRegistryStore()); a command that changes it first makes
// its folder with mode 0755, refuses with one line when the store cannot be written, and
// leaves the root files readable by every user (0644).

#include <iosfwd>
#include <string>
#include <vector>

namespace zorreg {

// Runs one command; args are the words after the program name.
int run(
    const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err);

} // namespace zorreg
