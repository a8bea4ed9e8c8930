// zorregsvr: registers or unregisters a component module.

#include "tools/zorregsvr/regsvrcommand.h"

#include <iostream>

int main(int argc, char** argv)
{
    return runRegSvr(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
