#pragma once

// The text of the system information report, as plain functions of the facts they are given:
// the operating-system line, the memory lines, the free space of the current directory and of
// the TEMP folder, and the aligned time and up-time shown below the report.
//
// On Linux the operating-system line names the kernel the way the lines of the other system
// name it: "<system> <release> (build <version>)" from uname, for example
// "Linux 6.1.0-13-amd64 (build #1 SMP PREEMPT_DYNAMIC Debian 6.1.55-1 (2023-09-29))". The
// table of the other system's versions stays as a function of a version record, for the
// records that system reports. There is no drive letter on Linux, so the current directory is
// always reported by its path (the "default path" line).

#include "platform/types/oledatetime.h"

#include <cstdint>
#include <optional>
#include <string>

// What the other system reports as its version.
struct ZorOsVersion
{
    // 1 the consumer family (95, 98), 2 the NT family; anything else is unknown.
    int platform {0};
    int major {0};
    int minor {0};
    std::uint32_t build {0};
    std::string servicePack;
};

// The line of that system's version, with its line end ("Unknown Operating System" has none).
std::string zorWindowsOsLine(const ZorOsVersion& version);
// The line of a kernel as uname names it: system, release and version (the build).
std::string zorUnameOsLine(
    const std::string& sysname, const std::string& release, const std::string& version);

// The facts a report is made of.
struct ZorSysInfoFacts
{
    // The operating-system line; none when the version could not be read.
    std::optional<std::string> osLine;
    // Available physical memory, and the same plus available swap, in bytes.
    std::uint64_t physicalAvailable {0};
    std::uint64_t memoryAvailable {0};
    // The current directory and the whole megabytes free on its volume.
    std::string directory;
    double directoryFreeMB {0.0};
    // The TEMP folder when the variable is set, and the whole megabytes free there.
    std::optional<std::string> tempPath;
    double tempFreeMB {0.0};
};

// The report: the lines of the facts, without a line end after the last one.
std::string zorSysInfoReport(const ZorSysInfoFacts& facts);

// The up-time shown: whole seconds rounded down to a multiple of 15.
std::int64_t zorAlignUpTime(std::int64_t seconds);
// The time shown: the time less its seconds modulo 15.
COleDateTime zorAlignTime(const COleDateTime& time);
// " 05/06/2002 14:07:45 ".
std::string zorTimeText(const COleDateTime& time);
// " 1 day 02:03:45 " or " 3 days 00:00:15 ".
std::string zorUpTimeText(std::int64_t seconds);
