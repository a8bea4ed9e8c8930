#include "controls/sysinfo/sysinfomachine.h"

#include <sys/statvfs.h>
#include <sys/utsname.h>
#include <time.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

std::string currentDirectory()
{
    std::string buffer(4096, '\0');
    if (!getcwd(buffer.data(), buffer.size()))
        return {};
    buffer.resize(buffer.find('\0'));
    return buffer;
}

} // namespace

bool zorParseMemInfo(const std::string& text, std::uint64_t* available, std::uint64_t* swapFree)
{
    std::uint64_t memAvailable = 0;
    std::uint64_t memFree = 0;
    std::uint64_t swap = 0;
    bool haveAvailable = false;
    bool haveFree = false;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        const std::size_t colon = line.find(':');
        if (colon == std::string::npos)
            continue;
        const std::string key = line.substr(0, colon);
        std::istringstream fields(line.substr(colon + 1));
        std::uint64_t value = 0;
        std::string unit;
        if (!(fields >> value))
            continue;
        fields >> unit;
        if (unit == "kB")
            value *= 1024;
        if (key == "MemAvailable") {
            memAvailable = value;
            haveAvailable = true;
        } else if (key == "MemFree") {
            memFree = value;
            haveFree = true;
        } else if (key == "SwapFree") {
            swap = value;
        }
    }
    if (!haveAvailable && !haveFree)
        return false;
    *available = haveAvailable ? memAvailable : memFree;
    *swapFree = swap;
    return true;
}

double zorFreeMegabytes(const std::string& path)
{
    struct statvfs volume
    {
    };
    if (path.empty() || statvfs(path.c_str(), &volume) != 0)
        return 0.0;
    const std::uint64_t bytes
        = static_cast<std::uint64_t>(volume.f_bfree) * static_cast<std::uint64_t>(volume.f_frsize);
    return static_cast<double>(bytes / 1048576);
}

std::int64_t zorMachineUpTime()
{
    timespec now {};
    if (clock_gettime(CLOCK_BOOTTIME, &now) != 0)
        return 0;
    return static_cast<std::int64_t>(now.tv_sec);
}

ZorSysInfoFacts zorMachineFacts()
{
    ZorSysInfoFacts facts;
    utsname name {};
    if (uname(&name) == 0)
        facts.osLine = zorUnameOsLine(name.sysname, name.release, name.version);

    std::ifstream meminfo("/proc/meminfo");
    std::ostringstream text;
    text << meminfo.rdbuf();
    std::uint64_t available = 0;
    std::uint64_t swapFree = 0;
    if (zorParseMemInfo(text.str(), &available, &swapFree)) {
        facts.physicalAvailable = available;
        facts.memoryAvailable = available + swapFree;
    }

    facts.directory = currentDirectory();
    facts.directoryFreeMB = zorFreeMegabytes(facts.directory);
    const char* temp = std::getenv("TEMP");
    if (temp && *temp) {
        facts.tempPath = temp;
        facts.tempFreeMB = zorFreeMegabytes(temp);
    }
    return facts;
}
