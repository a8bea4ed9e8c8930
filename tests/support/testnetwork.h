#pragma once

// A network of its own for tests that need a real host to probe: two network namespaces, a
// client and a host, joined by a veth pair and joined to nothing else, so no packet of a test
// ever reaches the machine's own interfaces. The client has 198.18.0.1/24, the host
// 198.18.0.2/24 (addresses of the benchmarking range). The echo code under test runs inside
// the client namespace as a program started with `ip netns exec`, which also lays the
// client's own hosts and resolver files (/etc/netns/NAME/) over /etc.
//
// The host's link can be slowed (an NFQUEUE rule and nfqdelay), thinned (an nft drop rule),
// made to answer with errors, or taken down. Namespace names carry the process id; everything
// a network made is removed by remove(), by the destructor, at exit, and on a fatal signal
// (the signal path uses system calls only), and networks left behind by a process that no
// longer runs are removed by the next create().
//
// Needs root and a working `ip netns`; available() says why not otherwise.

#include <string>
#include <sys/types.h>
#include <vector>

struct ProgramResult
{
    int exitCode {-1}; // -1 when the program could not run or did not end in time
    std::string output; // its standard output
    bool timedOut {false};
};

// Runs a program by argument vector (never through a shell), searching PATH and the system's
// sbin folders for a bare name, and collects its standard output; standard error passes
// through. A program still running after timeoutMs is killed.
ProgramResult runProgram(const std::vector<std::string>& argv, int timeoutMs = 30000);

// The value of key=value in one line of a program's output, empty when the key is missing.
std::string outputValue(const std::string& line, const std::string& key);
// The lines of an output that start with the prefix.
std::vector<std::string> outputLines(const std::string& output, const std::string& prefix);

// Kills (SIGKILL) every process still running in a network namespace, before it is deleted.
void killNamespaceProcesses(const std::string& name);

class TestNetwork
{
public:
    static constexpr const char* CLIENT_ADDRESS = "198.18.0.1";
    static constexpr const char* HOST_ADDRESS = "198.18.0.2";
    // The two ends of the link, in the client and in the host.
    static constexpr const char* CLIENT_LINK = "zc0";
    static constexpr const char* HOST_LINK = "zh0";
    // A second host on a link of its own (addSecondHost): 198.18.1.2, the client 198.18.1.1.
    static constexpr const char* SECOND_CLIENT_ADDRESS = "198.18.1.1";
    static constexpr const char* SECOND_HOST_ADDRESS = "198.18.1.2";
    static constexpr const char* SECOND_CLIENT_LINK = "zc1";
    static constexpr const char* SECOND_HOST_LINK = "zh1";

    TestNetwork() = default;
    ~TestNetwork();
    TestNetwork(const TestNetwork&) = delete;
    TestNetwork& operator=(const TestNetwork&) = delete;

    // Whether networks can be made here; when not, the reason.
    static bool available(std::string* reason);

    // Makes both namespaces and the link between them, both ends up, loopbacks up.
    bool create();
    // Removes everything the network made; safe to call twice.
    void remove();
    // What went wrong in the last call that returned false.
    const std::string& error() const { return m_error; }

    const std::string& clientNamespace() const { return m_client; }
    // The command that runs a program inside the client namespace (the program's arguments
    // follow), for a test that starts a long-running program itself.
    std::vector<std::string> clientCommand() const { return {"ip", "netns", "exec", m_client}; }
    const std::string& hostNamespace() const { return m_host; }

    // A second link from the client into the host's namespace, with the second host's address
    // at its end, so one host can lose its link while the other keeps its own.
    bool addSecondHost();
    bool setSecondHostLink(bool up);
    // Lets every group of the client open datagram ICMP sockets (net.ipv4.ping_group_range).
    bool openPingGroupRange();
    // Holds each echo request the host receives for delayMs before the host sees it.
    bool delayEchoRequests(int delayMs);
    // Drops the echo requests the host receives that the nft expression picks, e.g.
    // "numgen inc mod 3 == 1" (every third, starting with the second).
    bool dropEchoRequests(const std::string& expression);
    // Answers every echo request the host receives with a host-unreachable error.
    bool rejectEchoRequests();
    // Takes the host's or the client's end of the link down or up again.
    bool setHostLink(bool up);
    bool setClientLink(bool up);
    // The client's /etc/hosts and /etc/resolv.conf, as programs run in it see them.
    bool setClientHosts(const std::string& text);
    bool setClientResolver(const std::string& text);
    // Drops every packet to port 53 the client receives, so a resolver there never answers and
    // no port-unreachable error comes back either.
    bool blockClientDns();

    // Runs a program inside the client namespace.
    ProgramResult runInClient(const std::vector<std::string>& argv, int timeoutMs = 30000);

private:
    bool run(const std::vector<std::string>& argv);
    bool inClient(const std::vector<std::string>& argv);
    bool inHost(const std::vector<std::string>& argv);
    bool writeClientFile(const std::string& name, const std::string& text);
    bool fail(const std::string& what);

    std::string m_client;
    std::string m_host;
    std::string m_error;
    pid_t m_delayer {-1};
    bool m_hostTable {false};
    bool m_clientTable {false};
    int m_slot {-1};
};
