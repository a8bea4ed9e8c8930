#pragma once

// The test container's command line, for scripted use:
//
//   --insert NAME        insert the control of that ProgID or class id at start
//   --set NAME=VALUE     put a property (repeatable; in order, after --load)
//   --invoke NAME[=A,B]  call a method with text arguments (repeatable; after the --set calls)
//   --load FILE          load the control's persisted state (property-bag text) from the file
//   --save FILE          save the control's persisted state to the file at the end
//   --frame              open the control's property frame (with --screenshot: the frame is
//                        what is captured; --page N chooses its tab, 0 first)
//   --screenshot FILE    save a PNG of the container (or of the frame) and quit
//   --size WxH           the container's size in pixels
//   --list               print the registered controls ("ProgID<TAB>class id<TAB>module") and quit
//   --members            print the inserted control's members and quit
//   --quit               quit when the scripted steps are done
//
// Unknown options make parseContainerOptions fail with a message.

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

// Splits "a,b,c" at the commas (an empty text gives no arguments).
std::vector<std::string> splitArguments(const std::string& text);
