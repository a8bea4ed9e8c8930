// zorreg: the command-line tool for the suite's registry store.

#include "tools/zorreg/regcommand.h"

#include <iostream>

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    return zorreg::run(args, std::cin, std::cout, std::cerr);
}
