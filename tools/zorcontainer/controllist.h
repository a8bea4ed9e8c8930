#pragma once

// The controls registered in the classes root: every CLSID\{id} key with a Control subkey.

#include <string>
#include <vector>

struct ZorRegisteredControl
{
    std::string clsid; // "{01540154-0005-0000-0029-000000000004}"
    std::string progId; // the ProgID subkey's value; empty when it has none
    std::string typeName; // the class key's own value
    std::string module; // InprocServer32
    // What the container creates the control by: the ProgID, else the class id.
    const std::string& name() const { return progId.empty() ? clsid : progId; }
};

// In the order of the class ids.
std::vector<ZorRegisteredControl> zorRegisteredControls();
