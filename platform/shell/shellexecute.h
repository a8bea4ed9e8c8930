#pragma once

// Opening a document or an address with the desktop's handler.
//
// ShellExecuteA with the verb "open" (or none) starts the desktop's handler program
// ("xdg-open") through the current launcher (platform/shell/shelllauncher.h) with the file or
// address as its only argument: an argument vector, never a shell line. Addresses (any text
// that starts with a scheme such as "http:", "https:" or "mailto:") are passed as they are. A
// local file must exist; it is passed as an absolute path (made from `directory`, or else the
// current folder, when relative), so a name starting with '-' is never taken for an option.
//
// The result is above 32 when the handler was started, else one of the SE_ERR_ codes below.

#include "platform/types/wintypes.h"
#include "platform/ui/showcommands.h"

#include <cstdint>

// The show command (SW_SHOWNORMAL, ...) is accepted and not otherwise used: the handler decides
// how its window shows.

// Failure results of ShellExecuteA.
constexpr std::intptr_t SE_ERR_FNF = 2; // the local file does not exist
constexpr std::intptr_t SE_ERR_PNF = 3; // the path is not valid
constexpr std::intptr_t SE_ERR_ACCESSDENIED = 5; // the file may not be reached
constexpr std::intptr_t SE_ERR_NOASSOC = 31; // no handler for the verb or no handler program

// The result ShellExecuteA gives when the handler was started (any value above 32 means
// success; callers must test "> 32", not this value).
constexpr std::intptr_t ZOR_SHELL_STARTED = 42;

// The name of the desktop's handler program, looked up on PATH by the launcher.
constexpr const char* ZOR_DESKTOP_HANDLER = "xdg-open";

std::intptr_t ShellExecuteA(HWND hwnd, const char* verb, const char* file, const char* parameters,
    const char* directory, int showCommand);
