#pragma once

// Where a module of the suite lives and which version it is, and the self-registration of
// control modules.
//
// The current module is the module whose state is current (AfxGetInstanceHandle): the program,
// unless a module made itself current for a call into it. Directories end with the separator
// (/opt/zorvex/bin/ for a module in that folder).
//
// Shared modules: findModule looks beside the current module first, then in the suite's shared
// module folder: the folder zorbase29 itself was loaded from (where the suite's installation
// puts the modules that several programs share, so a program built elsewhere on the installed
// framework finds them). The environment variable ZORVEX_COMMON_DIR, when set and not empty,
// names another folder in its place. Windows module names ("zorwidgets29.ocx") mean the
// Linux files ("zorwidgets29.so").

#include "platform/module/module.h"

#include <string>

// "Version %d.%.2d.%.4d.%d" of the module's file version (2.1.0.29 gives Version 2.01.0000.29),
// read from the module's file; empty when it has no version resource or one of 4096 bytes or
// more. The null handle names the program.
std::string getModuleVersion(HINSTANCE hInstance);

// Full path of the current module.
std::string getModulePath();
// Full path of the loaded module of that name ("zorbase29.dll", "zorbase29.so"); empty when no
// such module is loaded.
std::string getModulePath(const char* moduleName);
// Full path of a loaded module; the null handle names the program.
std::string getModulePath(HINSTANCE hInstance);

// Directory of the current module, with the trailing separator.
std::string getModuleDirectory();
// Directory of the loaded module of that name, with the trailing separator; empty when no such
// module is loaded.
std::string getModuleDirectory(const char* moduleName);
// Directory of the current module without the trailing separator and with every backslash
// turned into "/".
std::string getModuleDirectory2();

// The shared module folder, with the trailing separator: ZORVEX_COMMON_DIR or the folder of
// zorbase29.
std::string getSharedModuleDirectory();

// Full path of the first existing candidate: the current module's directory, then the shared
// module folder, each followed by the file name; empty when neither exists. Nothing is reported.
std::string findModule(const std::string& fileName);

// Loads the module and runs its registration entry point (DllRegisterServer): true only when
// it returns 0. A module that cannot be loaded, lacks the entry point or fails to register is
// reported in a message box (OK button, exclamation icon): "Couldn't find control: <file>",
// "Missing server registration function: <file>" or "Couldn't register control: <file>".
bool registerControl(const char* fileName);

// findModule, then registerControl on the path found; false without a message when the module
// is not found.
bool registerMyCommonControl(const std::string& fileName);
