#pragma once

// What the server and tool tests share: running a tool of the suite as a process (in the
// test's environment, so with its registry store), and registering a module with zorregsvr.

#include "tests/support/tempfolder.h"

#include <string>
#include <vector>

namespace servertest {

struct ToolResult
{
    int exitCode {-1};
    std::string out;
    std::string err;
};

// Runs the program with the arguments and waits for it (at most 60 s).
ToolResult runTool(const std::string& program, const std::vector<std::string>& args,
    const std::vector<std::pair<std::string, std::string>>& env = {});

// zorregsvr on the module; true when it exited 0.
bool registerModule(const std::string& modulePath, bool unregister = false);

// The parts one after the other.
std::string joined(const std::vector<std::string>& parts);

bool fileExists(const std::string& path);

// The registry's default value of a key under the classes root; empty when missing.
std::string classesRootText(const std::string& subKey);

} // namespace servertest
