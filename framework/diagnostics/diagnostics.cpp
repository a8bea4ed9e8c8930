#include "framework/diagnostics/diagnostics.h"

#include "framework/diagnostics/messagenames.h"
#include "platform/module/module.h"
#include "platform/ui/message.h"

#include <QtCore/QCoreApplication>

#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace {

// Messages and traces are formatted into a buffer of this size; a longer text is cut to one
// character less.
constexpr std::size_t c_bufferSize = 8192;

// The console flag: set once by createDebugConsole at start-up and read by every consoleOut,
// from any module of the process, so it is one flag for the whole library.
std::atomic<bool> s_consoleFlag {false};

// The caption of every box: the application name Qt knows (the frame sets it), else the
// program file's name without its folder.
std::string programName()
{
    const QString appName = QCoreApplication::applicationName();
    if (!appName.isEmpty())
        return appName.toLocal8Bit().toStdString();
    char path[4096] = {};
    if (GetModuleFileNameA(nullptr, path, sizeof path) == 0)
        return {};
    const char* slash = std::strrchr(path, '/');
    return slash ? slash + 1 : path;
}

} // namespace

int boxOut(const char* /*sourceFile*/, int /*sourceLine*/, UINT boxType, const char* format, ...)
{
    char text[c_bufferSize] = {};
    if (format) {
        va_list args;
        va_start(args, format);
        std::vsnprintf(text, sizeof text, format, args);
        va_end(args);
    }
    return MessageBoxA(nullptr, text, programName().c_str(), boxType);
}

void consoleOut(const char* format, ...)
{
    char text[c_bufferSize] = {};
    if (format) {
        va_list args;
        va_start(args, format);
        std::vsnprintf(text, sizeof text, format, args);
        va_end(args);
    }
    OutputDebugStringA(text);
    OutputDebugStringA("\r\n");
    if (s_consoleFlag.load()) {
        // The formatted text is written as it is: a "%" in it is not read as a format again.
        std::fputs(text, stdout);
        std::fputs("\r\n", stdout);
    }
}

// On Linux there is no console to allocate: the process keeps the terminal (or whatever its
// standard streams are connected to) that it was started with, and standard output, error
// and input stay where they are. Standard output becomes unbuffered, so each trace appears
// at once and in order with the debugger output on standard error; from then on consoleOut
// also writes to standard output.
void createDebugConsole()
{
    std::fflush(stdout);
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    s_consoleFlag.store(true);
}

void traceMessages(const MSG* pMsg)
{
    if (!pMsg)
        return;

    // The name table is filled from the list on every call, in list order, so the later of
    // two names that share a number wins. It is local to the call: traces from two threads
    // never share it.
    constexpr UINT c_tableSize = 1024;
    const char* names[c_tableSize] = {};
    for (const ZorMessageName& entry : zorMessageNames()) {
        if (entry.number < c_tableSize)
            names[entry.number] = entry.name;
    }

    char number[32] = {};
    const char* name = number;
    if (pMsg->message >= c_tableSize)
        std::snprintf(number, sizeof number, "WM_USER+%u", pMsg->message - c_tableSize);
    else if (names[pMsg->message])
        name = names[pMsg->message];
    else
        std::snprintf(number, sizeof number, "0x%04x", pMsg->message);

    // Each parameter is printed as a 32-bit hexadecimal number (its low 32 bits).
    consoleOut(
        "%s %x %x", name, static_cast<unsigned>(pMsg->wParam), static_cast<unsigned>(pMsg->lParam));
}
