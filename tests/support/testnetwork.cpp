#include "tests/support/testnetwork.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <mutex>
#include <poll.h>
#include <sstream>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

const char* const NETNS_DIR = "/run/netns/";
const char* const ETC_NETNS_DIR = "/etc/netns/";
const char* const CLIENT_PREFIX = "znc";
const char* const HOST_PREFIX = "znh";
const char* const TABLE = "zortest";

// What the fatal-signal and exit paths remove, kept in fixed storage so that removing needs
// no allocation: the namespace mounts, the client's files under /etc/netns and the delaying
// program.
constexpr int CLEANUP_SLOTS = 16;
constexpr std::size_t PATH_SIZE = 128;

struct CleanupSlot
{
    std::atomic<bool> used {false};
    char clientMount[PATH_SIZE] {};
    char hostMount[PATH_SIZE] {};
    char etcDirectory[PATH_SIZE] {};
    char etcHosts[PATH_SIZE] {};
    char etcResolver[PATH_SIZE] {};
    std::atomic<pid_t> delayer {-1};
};

CleanupSlot s_cleanup[CLEANUP_SLOTS];
std::once_flag s_handlersInstalled;

// System calls only: this runs in signal handlers too.
void cleanUp(CleanupSlot& slot)
{
    const pid_t delayer = slot.delayer.exchange(-1);
    if (delayer > 0) {
        kill(delayer, SIGKILL);
        waitpid(delayer, nullptr, 0);
    }
    unlink(slot.etcHosts);
    unlink(slot.etcResolver);
    rmdir(slot.etcDirectory);
    rmdir(ETC_NETNS_DIR); // only when no other network left files there
    // What `ip netns del` does: the namespace ends when its last mount and process are gone.
    umount2(slot.clientMount, MNT_DETACH);
    unlink(slot.clientMount);
    umount2(slot.hostMount, MNT_DETACH);
    unlink(slot.hostMount);
}

void cleanUpAll()
{
    for (CleanupSlot& slot : s_cleanup) {
        if (slot.used.load())
            cleanUp(slot);
        slot.used.store(false);
    }
}

void onFatalSignal(int signalNumber)
{
    cleanUpAll();
    signal(signalNumber, SIG_DFL);
    raise(signalNumber);
}

void installCleanupHandlers()
{
    std::atexit(cleanUpAll);
    struct sigaction action
    {
    };
    action.sa_handler = onFatalSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESETHAND;
    for (int signalNumber :
        {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGABRT, SIGSEGV, SIGBUS, SIGFPE, SIGILL}) {
        struct sigaction previous
        {
        };
        sigaction(signalNumber, nullptr, &previous);
        // A signal the process ignores stays ignored.
        if (previous.sa_handler != SIG_IGN)
            sigaction(signalNumber, &action, nullptr);
    }
}

void copyPath(char (&target)[PATH_SIZE], const std::string& path)
{
    std::snprintf(target, PATH_SIZE, "%s", path.c_str());
}

int takeSlot(const std::string& client, const std::string& host)
{
    std::call_once(s_handlersInstalled, installCleanupHandlers);
    static std::mutex slotsMutex;
    std::lock_guard<std::mutex> lock(slotsMutex);
    for (int i = 0; i < CLEANUP_SLOTS; ++i) {
        CleanupSlot& slot = s_cleanup[i];
        if (slot.used.load())
            continue;
        copyPath(slot.clientMount, NETNS_DIR + client);
        copyPath(slot.hostMount, NETNS_DIR + host);
        copyPath(slot.etcDirectory, ETC_NETNS_DIR + client);
        copyPath(slot.etcHosts, ETC_NETNS_DIR + client + "/hosts");
        copyPath(slot.etcResolver, ETC_NETNS_DIR + client + "/resolv.conf");
        slot.delayer.store(-1);
        slot.used.store(true);
        return i;
    }
    return -1;
}

std::string findProgram(const std::string& name)
{
    if (name.find('/') != std::string::npos)
        return name;
    const char* path = std::getenv("PATH");
    std::string folders = path ? path : "";
    folders += ":/usr/local/sbin:/usr/sbin:/sbin:/usr/bin:/bin";
    std::stringstream list(folders);
    std::string folder;
    while (std::getline(list, folder, ':')) {
        if (folder.empty())
            continue;
        const std::string candidate = folder + "/" + name;
        if (access(candidate.c_str(), X_OK) == 0)
            return candidate;
    }
    return name;
}

// Starts the program with its standard output on a pipe; the pid, or -1.
pid_t startProgram(const std::vector<std::string>& argv, int& output)
{
    if (argv.empty())
        return -1;
    const std::string path = findProgram(argv[0]);
    std::vector<char*> arguments;
    for (const std::string& argument : argv)
        arguments.push_back(const_cast<char*>(argument.c_str()));
    arguments.push_back(nullptr);

    int pipeEnds[2];
    if (pipe2(pipeEnds, O_CLOEXEC) != 0)
        return -1;
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(pipeEnds[1], STDOUT_FILENO);
        const int nothing = open("/dev/null", O_RDONLY);
        if (nothing >= 0)
            dup2(nothing, STDIN_FILENO);
        execv(path.c_str(), arguments.data());
        _exit(127);
    }
    close(pipeEnds[1]);
    if (pid < 0) {
        close(pipeEnds[0]);
        return -1;
    }
    output = pipeEnds[0];
    return pid;
}

int exitCodeOf(int status)
{
    if (WIFEXITED(status))
        return WEXITSTATUS(status);
    return -1;
}

// Reads the pipe until the text ends with `until` (or, when empty, until the end of the
// output), or until the deadline; false at the deadline.
bool readOutput(int fd, std::string& text, Clock::time_point deadline, const std::string& until)
{
    char buffer[4096];
    for (;;) {
        if (!until.empty() && text.size() >= until.size()
            && text.compare(text.size() - until.size(), until.size(), until) == 0)
            return true;
        const auto left
            = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0)
            return false;
        pollfd ready {fd, POLLIN, 0};
        const int polled = poll(&ready, 1, static_cast<int>(left.count()));
        if (polled < 0 && errno == EINTR)
            continue;
        if (polled <= 0)
            return false;
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return until.empty();
        text.append(buffer, static_cast<std::size_t>(n));
    }
}

bool processRuns(pid_t pid)
{
    return kill(pid, 0) == 0 || errno != ESRCH;
}

// Removes the namespaces and files a test process left behind when it ended without cleaning
// up (killed outright, say): their names carry its process id.
void removeLeftovers()
{
    DIR* folder = opendir(NETNS_DIR);
    if (!folder)
        return;
    std::vector<std::string> stale;
    while (const dirent* entry = readdir(folder)) {
        const std::string name = entry->d_name;
        if (name.rfind(CLIENT_PREFIX, 0) != 0 && name.rfind(HOST_PREFIX, 0) != 0)
            continue;
        const pid_t owner = static_cast<pid_t>(std::atoi(name.c_str() + 3));
        if (owner > 0 && owner != getpid() && !processRuns(owner))
            stale.push_back(name);
    }
    closedir(folder);
    for (const std::string& name : stale) {
        killNamespaceProcesses(name);
        runProgram({"ip", "netns", "del", name}, 5000);
        unlink((ETC_NETNS_DIR + name + "/hosts").c_str());
        unlink((ETC_NETNS_DIR + name + "/resolv.conf").c_str());
        rmdir((ETC_NETNS_DIR + name).c_str());
    }
}

} // namespace

ProgramResult runProgram(const std::vector<std::string>& argv, int timeoutMs)
{
    ProgramResult result;
    int output = -1;
    const pid_t pid = startProgram(argv, output);
    if (pid < 0)
        return result;
    const bool ended = readOutput(
        output, result.output, Clock::now() + std::chrono::milliseconds(timeoutMs), {});
    close(output);
    if (!ended) {
        kill(pid, SIGKILL);
        result.timedOut = true;
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) { }
    result.exitCode = ended ? exitCodeOf(status) : -1;
    return result;
}

std::string outputValue(const std::string& line, const std::string& key)
{
    const std::string marker = key + "=";
    std::size_t at = 0;
    while ((at = line.find(marker, at)) != std::string::npos) {
        if (at == 0 || line[at - 1] == ' ')
            break;
        at += marker.size();
    }
    if (at == std::string::npos)
        return {};
    const std::size_t start = at + marker.size();
    const std::size_t end = line.find(' ', start);
    return line.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

std::vector<std::string> outputLines(const std::string& output, const std::string& prefix)
{
    std::vector<std::string> lines;
    std::stringstream text(output);
    std::string line;
    while (std::getline(text, line)) {
        if (line.rfind(prefix, 0) == 0)
            lines.push_back(line);
    }
    return lines;
}

void killNamespaceProcesses(const std::string& name)
{
    const ProgramResult pids = runProgram({"ip", "netns", "pids", name}, 5000);
    std::stringstream list(pids.output);
    pid_t pid = 0;
    while (list >> pid) {
        if (pid > 0)
            kill(pid, SIGKILL);
    }
}

TestNetwork::~TestNetwork()
{
    remove();
}

bool TestNetwork::available(std::string* reason)
{
    if (geteuid() != 0) {
        if (reason)
            *reason = "network namespaces need root";
        return false;
    }
    if (runProgram({"ip", "netns", "list"}, 10000).exitCode != 0) {
        if (reason)
            *reason = "`ip netns` is not available";
        return false;
    }
    return true;
}

bool TestNetwork::fail(const std::string& what)
{
    m_error = what;
    return false;
}

bool TestNetwork::run(const std::vector<std::string>& argv)
{
    const ProgramResult result = runProgram(argv, 15000);
    if (result.exitCode == 0)
        return true;
    std::string line;
    for (const std::string& argument : argv)
        line += (line.empty() ? "" : " ") + argument;
    return fail("failed (" + std::to_string(result.exitCode) + "): " + line);
}

bool TestNetwork::inClient(const std::vector<std::string>& argv)
{
    std::vector<std::string> line {"ip", "netns", "exec", m_client};
    line.insert(line.end(), argv.begin(), argv.end());
    return run(line);
}

bool TestNetwork::inHost(const std::vector<std::string>& argv)
{
    std::vector<std::string> line {"ip", "netns", "exec", m_host};
    line.insert(line.end(), argv.begin(), argv.end());
    return run(line);
}

bool TestNetwork::create()
{
    if (m_slot >= 0)
        return fail("the network exists already");
    removeLeftovers();
    static std::atomic<int> s_networks {0};
    const std::string suffix
        = std::to_string(getpid()) + "-" + std::to_string(s_networks.fetch_add(1));
    m_client = CLIENT_PREFIX + suffix;
    m_host = HOST_PREFIX + suffix;
    m_slot = takeSlot(m_client, m_host);
    if (m_slot < 0)
        return fail("too many test networks at once");

    const std::string clientCidr = std::string(CLIENT_ADDRESS) + "/24";
    const std::string hostCidr = std::string(HOST_ADDRESS) + "/24";
    const bool made = run({"ip", "netns", "add", m_client}) && run({"ip", "netns", "add", m_host})
        && run({"ip", "link", "add", CLIENT_LINK, "netns", m_client, "type", "veth", "peer", "name",
            HOST_LINK, "netns", m_host})
        && run({"ip", "-n", m_client, "addr", "add", clientCidr, "dev", CLIENT_LINK})
        && run({"ip", "-n", m_host, "addr", "add", hostCidr, "dev", HOST_LINK})
        && run({"ip", "-n", m_client, "link", "set", "lo", "up"})
        && run({"ip", "-n", m_host, "link", "set", "lo", "up"})
        && run({"ip", "-n", m_client, "link", "set", CLIENT_LINK, "up"})
        && run({"ip", "-n", m_host, "link", "set", HOST_LINK, "up"});
    if (!made) {
        const std::string error = m_error;
        remove();
        m_error = error;
        return false;
    }
    return true;
}

void TestNetwork::remove()
{
    if (m_slot < 0)
        return;
    CleanupSlot& slot = s_cleanup[m_slot];
    const pid_t delayer = slot.delayer.exchange(-1);
    if (delayer > 0) {
        kill(delayer, SIGTERM);
        waitpid(delayer, nullptr, 0);
    }
    runProgram({"ip", "netns", "del", m_client}, 10000);
    runProgram({"ip", "netns", "del", m_host}, 10000);
    cleanUp(slot); // whatever `ip` could not remove, and the client's files
    slot.used.store(false);
    m_slot = -1;
    m_delayer = -1;
    m_hostTable = false;
    m_clientTable = false;
}

bool TestNetwork::openPingGroupRange()
{
    return inClient({"sysctl", "-q", "-w", "net.ipv4.ping_group_range=0 2147483647"});
}

bool TestNetwork::delayEchoRequests(int delayMs)
{
    if (m_slot < 0)
        return fail("no network");
    if (m_delayer > 0)
        return fail("the host's requests are delayed already");
    int output = -1;
    const pid_t pid = startProgram({"ip", "netns", "exec", m_host, ZOR_NFQDELAY, "--queue", "0",
                                       "--delay", std::to_string(delayMs)},
        output);
    if (pid < 0)
        return fail("cannot start nfqdelay");
    s_cleanup[m_slot].delayer.store(pid);
    m_delayer = pid;
    std::string said;
    const bool ready = readOutput(output, said, Clock::now() + std::chrono::seconds(5), "ready\n");
    close(output);
    if (!ready)
        return fail("nfqdelay did not bind its queue: " + said);
    // The queue is bound before the rule sends packets to it, so none is lost meanwhile.
    return inHost({"iptables", "-A", "INPUT", "-p", "icmp", "--icmp-type", "echo-request", "-j",
        "NFQUEUE", "--queue-num", "0"});
}

bool TestNetwork::dropEchoRequests(const std::string& expression)
{
    if (!m_hostTable) {
        if (!inHost({"nft", "add", "table", "inet", TABLE})
            || !inHost({"nft", "add", "chain", "inet", TABLE, "input",
                "{ type filter hook input priority -10 ; }"}))
            return false;
        m_hostTable = true;
    }
    return inHost({"nft", "add", "rule", "inet", TABLE, "input", "icmp type echo-request",
        expression, "drop"});
}

bool TestNetwork::rejectEchoRequests()
{
    if (!m_hostTable) {
        if (!inHost({"nft", "add", "table", "inet", TABLE})
            || !inHost({"nft", "add", "chain", "inet", TABLE, "input",
                "{ type filter hook input priority -10 ; }"}))
            return false;
        m_hostTable = true;
    }
    return inHost({"nft", "add", "rule", "inet", TABLE, "input", "icmp type echo-request",
        "reject with icmpx type host-unreachable"});
}

bool TestNetwork::setHostLink(bool up)
{
    return run({"ip", "-n", m_host, "link", "set", HOST_LINK, up ? "up" : "down"});
}

bool TestNetwork::addSecondHost()
{
    if (m_slot < 0)
        return fail("no network");
    const std::string clientCidr = std::string(SECOND_CLIENT_ADDRESS) + "/24";
    const std::string hostCidr = std::string(SECOND_HOST_ADDRESS) + "/24";
    return run({"ip", "link", "add", SECOND_CLIENT_LINK, "netns", m_client, "type", "veth", "peer",
               "name", SECOND_HOST_LINK, "netns", m_host})
        && run({"ip", "-n", m_client, "addr", "add", clientCidr, "dev", SECOND_CLIENT_LINK})
        && run({"ip", "-n", m_host, "addr", "add", hostCidr, "dev", SECOND_HOST_LINK})
        && run({"ip", "-n", m_client, "link", "set", SECOND_CLIENT_LINK, "up"})
        && run({"ip", "-n", m_host, "link", "set", SECOND_HOST_LINK, "up"});
}

bool TestNetwork::setSecondHostLink(bool up)
{
    return run({"ip", "-n", m_host, "link", "set", SECOND_HOST_LINK, up ? "up" : "down"});
}

bool TestNetwork::setClientLink(bool up)
{
    return run({"ip", "-n", m_client, "link", "set", CLIENT_LINK, up ? "up" : "down"});
}

bool TestNetwork::writeClientFile(const std::string& name, const std::string& text)
{
    if (m_slot < 0)
        return fail("no network");
    mkdir(ETC_NETNS_DIR, 0755);
    mkdir(s_cleanup[m_slot].etcDirectory, 0755);
    const std::string path = ETC_NETNS_DIR + m_client + "/" + name;
    std::ofstream file(path, std::ios::trunc);
    file << text;
    file.close();
    if (!file)
        return fail("cannot write " + path);
    return true;
}

bool TestNetwork::setClientHosts(const std::string& text)
{
    return writeClientFile("hosts", text);
}

bool TestNetwork::setClientResolver(const std::string& text)
{
    return writeClientFile("resolv.conf", text);
}

bool TestNetwork::blockClientDns()
{
    if (!m_clientTable) {
        if (!inClient({"nft", "add", "table", "inet", TABLE})
            || !inClient({"nft", "add", "chain", "inet", TABLE, "input",
                "{ type filter hook input priority -10 ; }"}))
            return false;
        m_clientTable = true;
    }
    return inClient({"nft", "add", "rule", "inet", TABLE, "input", "udp dport 53 drop"})
        && inClient({"nft", "add", "rule", "inet", TABLE, "input", "tcp dport 53 drop"});
}

ProgramResult TestNetwork::runInClient(const std::vector<std::string>& argv, int timeoutMs)
{
    std::vector<std::string> line {"ip", "netns", "exec", m_client};
    line.insert(line.end(), argv.begin(), argv.end());
    return runProgram(line, timeoutMs);
}
