// zornethelper: runs the echo and resolution code where a test puts it (inside a test
// network's client namespace) and prints what happened, one line per call, as key=value
// fields the test reads.
//
//     zornethelper echo ADDRESS datagram|raw TIMEOUT_MS[,TIMEOUT_MS...] [INTERVAL_MS]
//         one echo per timeout, on one handle, one line each:
//         echo return=R status=S rtt=MS micros=US from=A kind=K elapsed=MS
//     zornethelper resolve TEXT
//         resolve address=A elapsed=MS

#include "platform/net/hostaddress.h"
#include "platform/net/icmpapi.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

long long millisecondsSince(Clock::time_point start)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

int echo(int argc, char** argv)
{
    if (argc < 5)
        return 2;
    const std::uint32_t address = zorResolveHost(argv[2]);
    zorIcmpSetSocketKind(std::string(argv[3]) == "raw" ? eICMPRAW : eICMPDATAGRAM);
    std::vector<DWORD> timeouts;
    std::stringstream list(argv[4]);
    std::string timeout;
    while (std::getline(list, timeout, ','))
        timeouts.push_back(static_cast<DWORD>(std::atoi(timeout.c_str())));
    const int interval = argc > 5 ? std::atoi(argv[5]) : 0;

    const HANDLE handle = IcmpCreateFile();
    if (handle == INVALID_HANDLE_VALUE) {
        std::printf("create error=%u\n", zorIcmpLastError());
        return 1;
    }
    for (std::size_t i = 0; i < timeouts.size(); ++i) {
        if (i > 0 && interval > 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(interval));
        alignas(ICMP_ECHO_REPLY) unsigned char reply[zorIcmpReplySize(0)] {};
        const Clock::time_point start = Clock::now();
        const DWORD replies
            = IcmpSendEcho(handle, address, nullptr, 0, nullptr, reply, sizeof reply, timeouts[i]);
        const long long elapsed = millisecondsSince(start);
        const auto* record = reinterpret_cast<const ICMP_ECHO_REPLY*>(reply);
        std::printf("echo return=%u status=%u rtt=%u micros=%llu from=%s kind=%d elapsed=%lld\n",
            replies, record->Status, record->RoundTripTime,
            static_cast<unsigned long long>(zorIcmpLastRoundTripMicros(handle)),
            zorDottedAddress(record->Address).c_str(), zorIcmpHandleSocketKind(handle), elapsed);
        std::fflush(stdout);
    }
    IcmpCloseHandle(handle);
    return 0;
}

int resolve(int argc, char** argv)
{
    if (argc < 3)
        return 2;
    const Clock::time_point start = Clock::now();
    const std::uint32_t address = zorResolveHost(argv[2]);
    std::printf("resolve address=%s elapsed=%lld\n", zorDottedAddress(address).c_str(),
        millisecondsSince(start));
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "echo")
        return echo(argc, argv);
    if (command == "resolve")
        return resolve(argc, argv);
    std::fprintf(stderr,
        "usage: zornethelper echo ADDRESS KIND TIMEOUT[,TIMEOUT...] [INTERVAL]\n"
        "       zornethelper resolve TEXT\n");
    return 2;
}
