#pragma once

// Reporting to the user (boxOut) and developer traces (consoleOut).

#include "platform/types/wintypes.h"
#include "platform/ui/messagebox.h"

struct MSG;

// Formats the message (printf-style, cut to 8191 characters), shows it modally with the given
// box type and returns the button pressed. The source file and line are not shown.
int boxOut(const char* sourceFile, int sourceLine, UINT boxType, const char* format, ...)
    __attribute__((format(printf, 4, 5)));

// Formats the trace (cut to 8191 characters) and sends it, then "\r\n", to the debugger
// output; also to standard output once createDebugConsole has run.
void consoleOut(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Gives the process its console and sets the console flag.
void createDebugConsole();

// Traces a window message by name with its two parameters in hexadecimal.
void traceMessages(const MSG* pMsg);
