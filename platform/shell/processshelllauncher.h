#pragma once

// The built-in launcher: finds the program on PATH (as the environment holds it at the time
// of the call) and starts it detached with its argument vector, never through a shell.

#include "platform/shell/shelllauncher.h"

class CProcessShellLauncher : public IShellLauncher
{
public:
    // False when the program is not found on PATH (or is not executable) or cannot be started.
    bool start(const std::string& program, const std::vector<std::string>& args) override;
};
