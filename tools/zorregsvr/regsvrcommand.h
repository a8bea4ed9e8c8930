#pragma once

// The registration tool's one command.
//
//   zorregsvr [/u] [/s] [--machine] module
//
// Loads the module (a path, or a bare file name searched beside the program first), runs its
// DllRegisterServer (DllUnregisterServer with /u) and reports the result: on success
// "DllRegisterServer in <module> succeeded." on standard output; on failure one line on the
// error output naming what failed (the module did not load, the entry point is missing, or the
// entry point's result code). /s (silent) prints nothing. The options are also accepted as -u,
// -s and in either case. Exit code 0 on success, 1 on any failure, 2 for a wrong command line.
//
// --machine registers in the machine-wide store (zorMachineRegistryStore(): the installation's
// folder unless ZORVEX_MACHINE_REGISTRY names another) instead of the user's, for every user of
// the machine: the folder is made with mode 0755 and the root files written are left readable
// by all (0644). When that store cannot be written (as by anyone but its owner) one line says
// so on the error output, even with /s, and the exit code is 1.

#include <iosfwd>
#include <string>
#include <vector>

int runRegSvr(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
