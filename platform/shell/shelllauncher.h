#pragma once

// The launcher behind the shell services: it starts a program detached from the caller, with
// an argument vector handed to the program as it is. No shell ever sees the arguments, so
// blanks, quotes, ';' or '$(...)' in a file name are only characters of that one argument.
//
// ShellExecuteA and HtmlHelpA start the desktop's handler through the current launcher. The
// built-in one is CProcessShellLauncher; tests install a CRecordingShellLauncher, which records
// every start instead of running anything.

#include <string>
#include <vector>

class IShellLauncher
{
public:
    virtual ~IShellLauncher() = default;
    // Starts program (a name looked up on PATH, or a path) with args as its arguments, not
    // waiting for it. True when the program was started.
    virtual bool start(const std::string& program, const std::vector<std::string>& args) = 0;
};

// Installs a launcher for all later starts and returns the previous one; null restores the
// built-in one. The caller keeps ownership.
IShellLauncher* zorSetShellLauncher(IShellLauncher* launcher);

// The launcher in use: the installed one, else the built-in one.
IShellLauncher& zorShellLauncher();
