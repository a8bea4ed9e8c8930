#include "tools/zorcontainer/containeroptions.h"

#include <cstdlib>

const std::vector<ZorProgramOption>& containerOptionTable()
{
    static const std::vector<ZorProgramOption> table = {
        {{"--insert"}, "NAME", "insert the control of that ProgID or class id at start"},
        {{"--set"}, "NAME=VALUE", "put a property (repeatable; in order, after --load)"},
        {{"--invoke"}, "NAME[=A,B]",
            "call a method with text arguments (repeatable; after the --set calls)"},
        {{"--load"}, "FILE", "load the control's persisted state (property-bag text)"},
        {{"--save"}, "FILE", "save the control's persisted state to FILE at the end"},
        {{"--frame"}, "",
            "open the control's property frame (with --screenshot the frame is captured)"},
        {{"--page"}, "N", "the property frame's tab to show, 0 the first"},
        {{"--screenshot"}, "FILE", "save a PNG of the container (or the frame) and quit"},
        {{"--size"}, "WxH", "the container's size in pixels"},
        {{"--script"}, "FILE",
            "run the steps of FILE, one a line (set NAME=VALUE, invoke NAME[=A,B], frame N, "
            "memory), after the --invoke calls"},
        {{"--list"}, "", "print the registered controls (ProgID, class id, module) and quit"},
        {{"--members"}, "", "print the inserted control's members and quit"},
        {{"--quit"}, "", "quit when the scripted steps are done"},
    };
    return table;
}

std::vector<std::string> splitArguments(const std::string& text)
{
    std::vector<std::string> parts;
    if (text.empty())
        return parts;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = text.find(',', start);
        parts.push_back(text.substr(start, comma - start));
        if (comma == std::string::npos)
            return parts;
        start = comma + 1;
    }
}

bool parseContainerStep(const std::string& line, ContainerStep* step, std::string* error)
{
    *step = ContainerStep();
    std::string text = line;
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n'))
        text.pop_back();
    const std::size_t start = text.find_first_not_of(" \t");
    if (start == std::string::npos || text[start] == '#')
        return true;
    const std::size_t space = text.find_first_of(" \t", start);
    const std::string verb = text.substr(start, space - start);
    const std::size_t restStart
        = space == std::string::npos ? std::string::npos : text.find_first_not_of(" \t", space);
    const std::string rest = restStart == std::string::npos ? "" : text.substr(restStart);

    if (verb == "set" || verb == "invoke") {
        const std::size_t equals = rest.find('=');
        step->name = rest.substr(0, equals);
        const std::string value = equals == std::string::npos ? "" : rest.substr(equals + 1);
        if (step->name.empty() || (verb == "set" && equals == std::string::npos)) {
            *error = verb + " needs NAME=VALUE";
            return false;
        }
        if (verb == "set") {
            step->kind = ContainerStep::eSTEP_SET;
            step->value = value;
        } else {
            step->kind = ContainerStep::eSTEP_INVOKE;
            step->args = splitArguments(value);
        }
        return true;
    }
    if (verb == "frame") {
        step->kind = ContainerStep::eSTEP_FRAME;
        if (rest.empty())
            return true;
        char* end = nullptr;
        const long page = std::strtol(rest.c_str(), &end, 10);
        if (end == rest.c_str() || *end != '\0' || page < 0 || page > 99) {
            *error = "frame needs a page number, not " + rest;
            return false;
        }
        step->page = static_cast<int>(page);
        return true;
    }
    if (verb == "memory" && rest.empty()) {
        step->kind = ContainerStep::eSTEP_MEMORY;
        return true;
    }
    *error = "unknown step " + text.substr(start);
    return false;
}

bool parseContainerOptions(
    const std::vector<std::string>& args, ContainerOptions* options, std::string* error)
{
    *options = ContainerOptions();
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        auto value = [&](std::string* out) {
            if (i + 1 >= args.size()) {
                *error = arg + " needs a value";
                return false;
            }
            *out = args[++i];
            return true;
        };
        std::string text;
        if (arg == "--insert") {
            if (!value(&options->insert))
                return false;
        } else if (arg == "--set" || arg == "--invoke") {
            if (!value(&text))
                return false;
            const std::size_t equals = text.find('=');
            const std::string name = text.substr(0, equals);
            const std::string rest = equals == std::string::npos ? "" : text.substr(equals + 1);
            if (name.empty() || (arg == "--set" && equals == std::string::npos)) {
                *error = arg + " needs NAME=VALUE";
                return false;
            }
            if (arg == "--set")
                options->sets.emplace_back(name, rest);
            else
                options->invokes.emplace_back(name, splitArguments(rest));
        } else if (arg == "--load") {
            if (!value(&options->load))
                return false;
        } else if (arg == "--save") {
            if (!value(&options->save))
                return false;
        } else if (arg == "--frame") {
            options->frame = true;
        } else if (arg == "--page") {
            if (!value(&text))
                return false;
            options->page = std::atoi(text.c_str());
        } else if (arg == "--screenshot") {
            if (!value(&options->screenshot))
                return false;
        } else if (arg == "--size") {
            if (!value(&text))
                return false;
            const std::size_t x = text.find('x');
            options->width = std::atoi(text.substr(0, x).c_str());
            options->height = x == std::string::npos ? 0 : std::atoi(text.substr(x + 1).c_str());
            if (options->width <= 0 || options->height <= 0) {
                *error = "--size needs WIDTHxHEIGHT";
                return false;
            }
        } else if (arg == "--script") {
            if (!value(&options->script))
                return false;
        } else if (arg == "--list") {
            options->list = true;
        } else if (arg == "--members") {
            options->members = true;
        } else if (arg == "--quit") {
            options->quit = true;
        } else {
            *error = "unknown option " + arg;
            return false;
        }
    }
    return true;
}
