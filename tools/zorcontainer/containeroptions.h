#pragma once

// The test container's command line, for scripted use. The options and what each does are
// listed once, in containerOptionTable (the help prints them):
//
//   --insert NAME  --set NAME=VALUE  --invoke NAME[=A,B]  --load FILE  --save FILE  --frame
//   --page N  --screenshot FILE  --size WxH  --script FILE  --list  --members  --quit
//
// --set calls run in order after --load, --invoke calls after the --set calls, the steps of the
// --script file after those. Unknown options make parseContainerOptions fail with a message.

#include "platform/ui/programline.h"

#include <string>
#include <utility>
#include <vector>

struct ContainerOptions
{
    std::string insert;
    std::vector<std::pair<std::string, std::string>> sets;
    std::vector<std::pair<std::string, std::vector<std::string>>> invokes;
    std::string load;
    std::string save;
    bool frame {false};
    int page {0};
    std::string screenshot;
    std::string script;
    int width {0};
    int height {0};
    bool list {false};
    bool members {false};
    bool quit {false};

    // True when the scripted steps end the program.
    bool scripted() const { return quit || list || members || !screenshot.empty(); }
};

// Reads the arguments after the program name; false with *error set for a wrong line.
bool parseContainerOptions(
    const std::vector<std::string>& args, ContainerOptions* options, std::string* error);

// One line of a --script file, for long runs that one command line cannot hold:
//
//   set NAME=VALUE     put a property (the value runs to the end of the line)
//   invoke NAME[=A,B]  call a method with text arguments
//   frame [N]          open the property frame on its page N (0 the first), draw it, close it
//   memory             print "memory: N kB", the program's resident memory
//
// Blank lines and lines starting with '#' are no step (eSTEP_NONE).
struct ContainerStep
{
    enum EKind { eSTEP_NONE, eSTEP_SET, eSTEP_INVOKE, eSTEP_FRAME, eSTEP_MEMORY };
    EKind kind {eSTEP_NONE};
    std::string name;
    std::string value;
    std::vector<std::string> args;
    int page {0};
};

// Reads one line of a --script file; false with *error set for a wrong line.
bool parseContainerStep(const std::string& line, ContainerStep* step, std::string* error);

// Splits "a,b,c" at the commas (an empty text gives no arguments).
std::vector<std::string> splitArguments(const std::string& text);

// The options of the command line with their values and help, for the program's line.
const std::vector<ZorProgramOption>& containerOptionTable();
