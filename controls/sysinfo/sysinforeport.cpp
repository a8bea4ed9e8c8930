#include "controls/sysinfo/sysinforeport.h"

#include <cstdarg>
#include <cstdio>

namespace {

constexpr double c_dMegabyte = 1048576.0;
// The characters of the TEMP path the report shows; the current directory is cut the same
// way, at the length the other system's directory buffer held.
constexpr std::size_t c_nTempChars = 75;
constexpr std::size_t c_nDirectoryChars = 260;

std::string format(const char* pattern, ...)
{
    va_list args;
    va_start(args, pattern);
    va_list copy;
    va_copy(copy, args);
    const int length = std::vsnprintf(nullptr, 0, pattern, copy);
    va_end(copy);
    std::string text(length > 0 ? static_cast<std::size_t>(length) : 0, '\0');
    if (length > 0)
        std::vsnprintf(text.data(), text.size() + 1, pattern, args);
    va_end(args);
    return text;
}

} // namespace

std::string zorWindowsOsLine(const ZorOsVersion& version)
{
    const char* sp = version.servicePack.c_str();
    if (version.platform == 1) {
        const int build = static_cast<int>(version.build & 0xFFFF);
        if (version.minor == 0)
            return format("Windows 95 %s (build %d)\r\n", sp, build);
        if (version.minor == 1)
            return format("Windows 98 %s (build %d)\r\n", sp, build);
        return format("Windows V%d.%d %s (build %d)\r\n", version.major, version.minor, sp, build);
    }
    if (version.platform == 2) {
        const int build = static_cast<int>(version.build);
        if (version.major == 5 && version.minor != 0)
            return format("Windows XP %s (build %d)\r\n", sp, build);
        if (version.major == 5)
            return format("Windows 2000 %s (build %d)\r\n", sp, build);
        return format("Windows NT %s (build %d)\r\n", sp, build);
    }
    // No line end: the memory line follows on the same line.
    return "Unknown Operating System";
}

std::string zorUnameOsLine(
    const std::string& sysname, const std::string& release, const std::string& version)
{
    return format("%s %s (build %s)\r\n", sysname.c_str(), release.c_str(), version.c_str());
}

std::string zorSysInfoReport(const ZorSysInfoFacts& facts)
{
    // Every report starts afresh: a version that cannot be read leaves its line out instead of
    // appending the rest to the report before.
    std::string report = facts.osLine.value_or(std::string());
    report += format("%.1lf MB physical memory available\r\n",
        static_cast<double>(facts.physicalAvailable) / c_dMegabyte);
    report += format("%.1lf MB memory available\r\n\r\n",
        static_cast<double>(facts.memoryAvailable) / c_dMegabyte);
    report += format("%.1lf MB free on default path %s\r\n", facts.directoryFreeMB,
        facts.directory.substr(0, c_nDirectoryChars).c_str());
    if (facts.tempPath) {
        report += format("%.1lf MB free on temp path \r\n%s\r\n", facts.tempFreeMB,
            facts.tempPath->substr(0, c_nTempChars).c_str());
    }
    // The last line has no line end.
    if (report.size() >= 2 && report.compare(report.size() - 2, 2, "\r\n") == 0)
        report.resize(report.size() - 2);
    return report;
}

std::int64_t zorAlignUpTime(std::int64_t seconds)
{
    return seconds - seconds % 15;
}

COleDateTime zorAlignTime(const COleDateTime& time)
{
    if (time.GetStatus() != COleDateTime::valid)
        return time;
    return time - COleDateTimeSpan(0, 0, 0, time.GetSecond() % 15);
}

std::string zorTimeText(const COleDateTime& time)
{
    return time.Format(" %m/%d/%Y %H:%M:%S ");
}

std::string zorUpTimeText(std::int64_t seconds)
{
    const std::int64_t days = seconds / 86400;
    const std::int64_t rest = seconds % 86400;
    const COleDateTimeSpan span(static_cast<long>(days), static_cast<int>(rest / 3600),
        static_cast<int>(rest % 3600 / 60), static_cast<int>(rest % 60));
    return span.Format(days == 1 ? " %D day %H:%M:%S " : " %D days %H:%M:%S ");
}
