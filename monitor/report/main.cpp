// corvane-report: availability, outages and latency averages from the host monitor's database,
// as aligned text, CSV or JSON. See reportcommand.h.

#include "monitor/report/reportcommand.h"
#include "platform/module/module.h"
#include "platform/types/wintypes.h"

#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    char file[4096];
    const DWORD length = GetModuleFileNameA(nullptr, file, sizeof file);
    const std::string directory
        = length > 0 ? std::filesystem::path(file).parent_path().string() + "/" : std::string();
    std::vector<std::string> words(argv + (argc > 0 ? 1 : 0), argv + argc);
    return runCorvaneReport(words, directory, std::cout, std::cerr);
}
