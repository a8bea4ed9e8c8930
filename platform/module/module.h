#pragma once

// Module loading and module identity: the stand-in for the platform's loader calls.
//
// A module is a shared object of the suite (or the program itself). HMODULE values are
// handles of this service; the null handle names the program file in GetModuleFileNameA and
// GetModuleHandleA, as it does on Windows.
//
// The "current module" is the module whose state is current in the framework: the program,
// unless a module made itself current for the duration of a call into it (ZorModuleState).

#include "platform/types/wintypes.h"

#include <string>

using FARPROC = void (*)();

// Loads a shared object by path (or by a bare file name, searched beside the program first);
// null on failure (zorModuleLoadError says why). A Windows name ("zorwidgets29.ocx") loads the
// ".so" file. Loading a module twice gives the same handle and counts a reference.
HMODULE LoadLibraryA(const char* lpLibFileName);
// Releases one reference; the object is unloaded when the last is gone. False for a handle
// that names no loaded module, or one this process did not load itself.
BOOL FreeLibrary(HMODULE hModule);
// An exported C symbol of the module itself (not of the modules it depends on), or null.
FARPROC GetProcAddress(HMODULE hModule, const char* lpProcName);
// The handle of a module already loaded in this process, by file name (with or without
// directory; a Windows name such as "zorbase29.dll" maps to "zorbase29.so"), or the program
// when the name is null. Null when no such module is loaded.
HMODULE GetModuleHandleA(const char* lpModuleName);
// The full path of a loaded module (the program for a null handle) into the buffer, cut to
// nSize - 1 characters and terminated; returns the number of characters copied, 0 on failure.
DWORD GetModuleFileNameA(HMODULE hModule, char* lpFilename, DWORD nSize);

// The module that holds the given code or data address (a function of the module, a static);
// null when no module holds it (the heap, a stack).
HMODULE zorModuleOfAddress(const void* address);

// An object of whichever module includes this header: every module and the program get their
// own copy, so its address names the module. (The address of a function of this service would
// name zorplatform, wherever it is taken.)
static inline const void* zorThisModuleAnchor()
{
    static const char anchor {0};
    return &anchor;
}
// The module this call is compiled into: the program, or the shared object that includes it.
#define ZOR_THIS_MODULE() zorModuleOfAddress(zorThisModuleAnchor())

// The Linux file name of a module named the Windows way: ".dll" and ".ocx" become ".so";
// other names stay as they are.
std::string zorModuleFileName(const std::string& windowsName);

// Why the last LoadLibraryA of this thread failed, in the loader's words; empty after success.
std::string zorModuleLoadError();

// The module state is per thread, as the platform's is: every thread starts with the program
// current, and a ZorModuleState changes only the thread that creates it, so a module that makes
// itself current on the user-interface thread leaves worker threads as they are.

// The current module of the framework's state; the program at start.
HMODULE AfxGetInstanceHandle();
// The module in which string and other resources are looked up; the current module unless
// set otherwise.
HMODULE AfxGetResourceHandle();
void AfxSetResourceHandle(HMODULE hModule);

// Makes a module current for the lifetime of the object, as a module does on entry to each
// of its exported calls; its resources become current with it. The previous state (instance
// and resource handle) comes back at the end of the scope.
class ZorModuleState
{
public:
    explicit ZorModuleState(HMODULE hModule);
    ~ZorModuleState();
    ZorModuleState(const ZorModuleState&) = delete;
    ZorModuleState& operator=(const ZorModuleState&) = delete;

private:
    HMODULE m_previousInstance {nullptr};
    HMODULE m_previousResource {nullptr};
};
