// zorping: sends ICMP echo requests through the suite's echo service, the way the monitor
// does, and reports them the way ping does, so the two can be compared on the same link.
//
//     zorping [-c count] [-i interval_ms] [-W timeout_ms] [-k datagram|raw] host
//
// One line per echo, then a summary. Each echo starts interval_ms after the one before it
// started (at once when that one took longer). The host is a dotted address or a name.
// Exit status: 0 when at least one echo was answered, 1 when none was, 2 for a wrong command
// line, a host that cannot be resolved or no ICMP socket.

#include "platform/net/hostaddress.h"
#include "platform/net/icmpapi.h"
#include "platform/ui/programline.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Options
{
    int count {4};
    int intervalMs {1000};
    int timeoutMs {1000};
    eICMPSOCKET kind {eICMPDATAGRAM};
    std::string host;
};

bool readNumber(const std::string& text, int minimum, int& value)
{
    char* end = nullptr;
    const long number = std::strtol(text.c_str(), &end, 10);
    if (!end || *end != '\0' || text.empty() || number < minimum || number > 3600000)
        return false;
    value = static_cast<int>(number);
    return true;
}

// Reads the words the program line let through (known options with their values, one host).
bool readOptions(const std::vector<std::string>& words, Options& options, std::string* error)
{
    bool optionsEnded = false;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (word == "--" && !optionsEnded) {
            optionsEnded = true;
            continue;
        }
        if (optionsEnded) {
            options.host = word;
            continue;
        }
        auto invalid = [&](const char* range) {
            *error = "invalid value '" + words[i] + "' for option '" + word + "' (" + range + ")";
            return false;
        };
        if (word == "-c") {
            if (!readNumber(words[++i], 1, options.count))
                return invalid("1 to 3600000");
        } else if (word == "-i") {
            if (!readNumber(words[++i], 0, options.intervalMs))
                return invalid("0 to 3600000");
        } else if (word == "-W") {
            if (!readNumber(words[++i], 0, options.timeoutMs))
                return invalid("0 to 3600000");
        } else if (word == "-k") {
            const std::string& kind = words[++i];
            if (kind == "datagram")
                options.kind = eICMPDATAGRAM;
            else if (kind == "raw")
                options.kind = eICMPRAW;
            else
                return invalid("datagram or raw");
        } else {
            options.host = word;
        }
    }
    return true;
}

const char* statusText(ULONG status)
{
    switch (status) {
    case IP_REQ_TIMED_OUT:
        return "Request timed out";
    case IP_DEST_NET_UNREACHABLE:
        return "Destination net unreachable";
    case IP_DEST_HOST_UNREACHABLE:
        return "Destination host unreachable";
    case IP_DEST_PROT_UNREACHABLE:
        return "Destination protocol unreachable";
    case IP_DEST_PORT_UNREACHABLE:
        return "Destination port unreachable";
    case IP_TTL_EXPIRED_TRANSIT:
        return "TTL expired in transit";
    case IP_TTL_EXPIRED_REASSEM:
        return "TTL expired during reassembly";
    case IP_PARAM_PROBLEM:
        return "Parameter problem";
    case IP_PACKET_TOO_BIG:
        return "Packet needs to be fragmented";
    case IP_BAD_ROUTE:
        return "Bad route";
    case IP_NO_RESOURCES:
        return "No resources";
    case IP_BAD_DESTINATION:
        return "Bad destination";
    default:
        return "General failure";
    }
}

} // namespace

int main(int argc, char** argv)
{
    Options options;
    CProgramLine line("zorping", {"[-c COUNT] [-i INTERVAL] [-W TIMEOUT] [-k datagram|raw] HOST"},
        "Sends ICMP echo requests to HOST through the suite's echo service, as the monitor does, "
        "and reports them the way ping does.",
        {{{"-c"}, "COUNT", "send COUNT echo requests (default 4)"},
            {{"-i"}, "INTERVAL", "start each echo INTERVAL ms after the one before (default 1000)"},
            {{"-W"}, "TIMEOUT", "wait TIMEOUT ms for each reply (default 1000)"},
            {{"-k"}, "KIND",
                "the socket: datagram (the default; the kernel's ping socket) "
                "or raw (needs the cap_net_raw capability)"}});
    line.setOperands(1, 1, "HOST");
    line.setNotes("HOST is a dotted address or a name.\n"
                  "Exit status: 0 when at least one echo was answered, 1 when none was, 2 for a "
                  "wrong command line, a host that cannot be resolved or no ICMP socket.");
    line.setCheck([&options](const std::vector<std::string>& words, std::string* error) {
        return readOptions(words, options, error);
    });
    if (const std::optional<int> status = line.answer(argc, argv))
        return *status;
    const std::uint32_t address = zorResolveHost(options.host);
    if (address == 0) {
        std::fprintf(stderr, "zorping: %s: cannot resolve the host\n", options.host.c_str());
        return 2;
    }
    const std::string dotted = zorDottedAddress(address);

    zorIcmpSetSocketKind(options.kind);
    const HANDLE handle = IcmpCreateFile();
    if (handle == INVALID_HANDLE_VALUE) {
        std::fprintf(
            stderr, "zorping: cannot open an ICMP socket (error %u)\n", zorIcmpLastError());
        return 2;
    }
    std::printf("PING %s (%s): 0 data bytes, %s socket\n", options.host.c_str(), dotted.c_str(),
        zorIcmpHandleSocketKind(handle) == eICMPRAW ? "raw" : "datagram");

    int received = 0;
    std::vector<double> times;
    Clock::time_point next = Clock::now();
    for (int echo = 1; echo <= options.count; ++echo) {
        std::this_thread::sleep_until(next);
        next = Clock::now() + std::chrono::milliseconds(options.intervalMs);

        alignas(ICMP_ECHO_REPLY) unsigned char reply[zorIcmpReplySize(0)] {};
        const DWORD replies = IcmpSendEcho(handle, address, nullptr, 0, nullptr, reply,
            sizeof reply, static_cast<DWORD>(options.timeoutMs));
        const auto* record = reinterpret_cast<const ICMP_ECHO_REPLY*>(reply);
        if (replies > 0 && record->Status == IP_SUCCESS) {
            ++received;
            const double ms = static_cast<double>(zorIcmpLastRoundTripMicros(handle)) / 1000.0;
            times.push_back(ms);
            std::printf("8 bytes from %s: echo=%d ttl=%u time=%.3f ms (%u ms)\n",
                zorDottedAddress(record->Address).c_str(), echo, record->Options.Ttl, ms,
                record->RoundTripTime);
        } else if (replies > 0) {
            std::printf("From %s echo=%d %s\n", zorDottedAddress(record->Address).c_str(), echo,
                statusText(record->Status));
        } else {
            std::printf("echo=%d %s\n", echo, statusText(zorIcmpLastError()));
        }
        std::fflush(stdout);
    }
    IcmpCloseHandle(handle);

    std::printf("\n--- %s ping statistics ---\n", options.host.c_str());
    std::printf("%d packets transmitted, %d received, %d%% packet loss\n", options.count, received,
        (options.count - received) * 100 / options.count);
    if (!times.empty()) {
        double sum = 0;
        for (double t : times)
            sum += t;
        std::printf("rtt min/avg/max = %.3f/%.3f/%.3f ms\n",
            *std::min_element(times.begin(), times.end()), sum / static_cast<double>(times.size()),
            *std::max_element(times.begin(), times.end()));
    }
    return received > 0 ? 0 : 1;
}
