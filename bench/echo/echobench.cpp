// echobench: the round-trip times of the suite's echo service against the system's ping, on
// the same test link whose host holds every echo request for 50 ms.
//
//     echobench [--count N] [--delay MS]
//
// Builds a test network (two namespaces joined by a veth pair; needs root), then inside its
// client runs zorping on each socket kind and `ping -c N -i 0.2 -W 1`, one after the other, and
// reads the time of every answered echo from their lines. Prints the mean of each, the mean
// of the whole milliseconds the monitor sees, and the difference to ping's mean; the target
// is a difference under 0.5 ms. Exit status 0 when every difference meets it.

#include "tests/support/testnetwork.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct Times
{
    std::vector<double> precise; // ms as measured
    std::vector<double> whole; // ms as the monitor gets them (zorping only)

    static double mean(const std::vector<double>& values)
    {
        double sum = 0;
        for (double v : values)
            sum += v;
        return values.empty() ? NAN : sum / static_cast<double>(values.size());
    }
};

// zorping: "8 bytes from A: echo=N ttl=T time=50.412 ms (50 ms)".
Times zorpingTimes(const std::string& output)
{
    Times times;
    for (const std::string& line : outputLines(output, "8 bytes from ")) {
        double precise = 0;
        unsigned whole = 0;
        const std::size_t at = line.find("time=");
        if (at != std::string::npos
            && std::sscanf(line.c_str() + at, "time=%lf ms (%u ms)", &precise, &whole) == 2) {
            times.precise.push_back(precise);
            times.whole.push_back(whole);
        }
    }
    return times;
}

// ping: "64 bytes from A: icmp_seq=1 ttl=64 time=50.4 ms".
Times pingTimes(const std::string& output)
{
    Times times;
    std::size_t start = 0;
    while (start < output.size()) {
        std::size_t end = output.find('\n', start);
        if (end == std::string::npos)
            end = output.size();
        const std::string line = output.substr(start, end - start);
        start = end + 1;
        const std::size_t at = line.find("time=");
        double precise = 0;
        if (line.find("bytes from") != std::string::npos && at != std::string::npos
            && std::sscanf(line.c_str() + at, "time=%lf", &precise) == 1)
            times.precise.push_back(precise);
    }
    return times;
}

int usage()
{
    std::fprintf(stderr, "usage: echobench [--count N] [--delay MS]\n");
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    int count = 100;
    int delayMs = 50;
    for (int i = 1; i < argc; i += 2) {
        const std::string option = argv[i];
        if (i + 1 >= argc)
            return usage();
        if (option == "--count")
            count = std::atoi(argv[i + 1]);
        else if (option == "--delay")
            delayMs = std::atoi(argv[i + 1]);
        else
            return usage();
    }
    if (count < 1 || delayMs < 0)
        return usage();

    std::string reason;
    if (!TestNetwork::available(&reason)) {
        std::fprintf(stderr, "echobench: %s\n", reason.c_str());
        return 1;
    }
    TestNetwork network;
    if (!network.create() || !network.openPingGroupRange() || !network.delayEchoRequests(delayMs)) {
        std::fprintf(stderr, "echobench: %s\n", network.error().c_str());
        return 1;
    }

    const std::string echoes = std::to_string(count);
    const int timeoutMs = count * 400 + 10000;
    const ProgramResult ping = network.runInClient(
        {"ping", "-c", echoes, "-i", "0.2", "-W", "1", TestNetwork::HOST_ADDRESS}, timeoutMs);
    const Times pinged = pingTimes(ping.output);
    const double pingMean = Times::mean(pinged.precise);
    std::printf("link: %d ms delay at the host, %d echoes each\n", delayMs, count);
    std::printf(
        "%-18s %8s %12s %14s %12s\n", "", "answered", "mean ms", "mean whole ms", "diff ms");
    std::printf("%-18s %8zu %12.3f %14s %12s\n", "ping", pinged.precise.size(), pingMean, "-", "-");

    bool met = !pinged.precise.empty();
    for (const char* kind : {"datagram", "raw"}) {
        const ProgramResult zorping
            = network.runInClient({ZOR_ZORPING, "-c", echoes, "-i", "200", "-W", "1000", "-k", kind,
                                      TestNetwork::HOST_ADDRESS},
                timeoutMs);
        const Times measured = zorpingTimes(zorping.output);
        const double mean = Times::mean(measured.precise);
        const double wholeMean = Times::mean(measured.whole);
        const std::string name = std::string("zorping ") + kind;
        std::printf("%-18s %8zu %12.3f %14.3f %12.3f\n", name.c_str(), measured.precise.size(),
            mean, wholeMean, mean - pingMean);
        std::printf(
            "%-18s %8s %12s %14s %12.3f (whole ms)\n", "", "", "", "", wholeMean - pingMean);
        met = met && !measured.precise.empty() && std::fabs(mean - pingMean) < 0.5
            && std::fabs(wholeMean - pingMean) < 0.5;
    }
    std::printf("target (difference under 0.5 ms): %s\n", met ? "met" : "missed");
    return met ? 0 : 1;
}
