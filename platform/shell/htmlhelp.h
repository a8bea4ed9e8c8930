#pragma once

// The help viewer: HtmlHelpA opens a compiled help file (.chm) with the desktop's handler for
// that type, started as ShellExecuteA starts it (platform/shell/shellexecute.h). The file may
// carry a topic ("Corvane.chm::/intro.htm") or a window name ("Corvane.chm>main"); the viewer
// is given the file itself and shows its default topic.
//
// The viewer runs as a program of its own, so there is no window of this process to return:
// on success the result is the fixed non-null token zorHelpViewerToken() (never to be used as a
// window), and null when the file is missing, the command is not one that shows the file, or
// nothing can be started.

#include "platform/types/wintypes.h"

#include <cstdint>

using DWORD_PTR = std::uintptr_t;

// Commands that show the help file.
constexpr UINT HH_DISPLAY_TOPIC = 0x0000;
constexpr UINT HH_DISPLAY_TOC = 0x0001;
constexpr UINT HH_DISPLAY_INDEX = 0x0002;
constexpr UINT HH_DISPLAY_SEARCH = 0x0003;

// The handle HtmlHelpA returns when the viewer was started.
inline HWND zorHelpViewerToken()
{
    return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(1));
}

HWND HtmlHelpA(HWND caller, const char* file, UINT command, DWORD_PTR data);
