#pragma once

// The facts of the running machine for the system information report, read the Linux way:
// memory from /proc/meminfo (available memory is MemAvailable, or MemFree on kernels that do
// not report it; the "memory available" line adds SwapFree), free space through statvfs of the
// current directory and of $TEMP (the volume's free blocks, those kept for the superuser
// included, in 64 bits), the kernel from uname and the up-time from the boot clock, which
// counts suspended time too.

#include "controls/sysinfo/sysinforeport.h"

#include <cstdint>
#include <string>

// The facts of this machine now.
ZorSysInfoFacts zorMachineFacts();
// Whole seconds since the machine started.
std::int64_t zorMachineUpTime();
// Whole megabytes free on the volume of the path, as a floating value; 0 when it cannot be
// read.
double zorFreeMegabytes(const std::string& path);
// The available memory and free swap in bytes from the text of /proc/meminfo; false when the
// text names neither MemAvailable nor MemFree.
bool zorParseMemInfo(const std::string& text, std::uint64_t* available, std::uint64_t* swapFree);
