// corvanesoak: the real host monitor soaked for a simulated week.
//
//     corvanesoak [--seconds N] [--rate R] [--seed S] [--kill-low S] [--kill-high S]
//                 [--bin DIR] [--report FILE]                                   (as root)
//
// The built corvane runs for N seconds of wall time (1800 by default) in a network namespace
// of its own, probing five hosts in a second namespace, each on a veth link of its own:
//   flap    198.18.10.2  its link goes down and up on a random schedule this program logs
//   lossy   198.18.11.2  30 % of its echo requests are dropped (nft numgen random)
//   slow    198.18.12.2  each echo request held 50 ms (NFQUEUE and nfqdelay)
//   steady  198.18.13.2  always answers
//   quiet.soak.test      a name whose only resolver (198.18.14.2, in the host namespace)
//                        never answers: its packets to port 53 are dropped
// The monitor is killed with SIGKILL and started again every 2 to 5 minutes (random; the
// --kill options change that for a try), and
// stopped with SIGTERM at the end. ZORVEX_CLOCK makes its clock run R times as fast as the
// wall clock (336 by default: 30 minutes are a week, 672 quarter hours).
//
// Why 336, and what a faster clock does to the monitor: its passes are counted by a 1-second
// window timer in real seconds (10 at the least), not read from "now"; only the dates written
// (status records, the quarter hour of an average) and the quarter-hour check of each tick
// read "now". At 336 a quarter hour lasts 2.7 real seconds, longer than a tick, so every
// quarter hour is still seen by a tick and no boundary is skipped. A pass comes every ~10 real
// seconds, 56 simulated minutes: each pass's results fall in a quarter hour of their own,
// so each average row holds one probe and rows per host equal answered passes (the quarters
// between passes have no samples and get no row, as a quarter without answers never has).
// Outage dates are exact to the pass (about an hour of simulated time); every outage of the
// flapping host lasts several passes, so all are longer than the shortest outage shown (one
// minute). A faster clock would pass over quarter hours within one tick; a slower one would not
// cover the week.
//
// Counted independently of the monitor: echo requests reaching each host (nft counters in the
// host namespace, the lossy host's after its drop rule: the answered ones) per life of the
// monitor; the link changes of the flapping host with their wall and simulated times; the
// monitor's resident memory (VmRSS) every 5 seconds; PRAGMA integrity_check after every kill.
// The report compares the database with them.
//
// The 30-minute run (seed 17, 8 December 2026): 1800 s of wall time, 168 simulated hours (672
// quarter hours), 10 lives (9 kills after 126 to 271 s, then SIGTERM, exit status 0), no
// monitor ended by itself.
//   integrity_check  10 of 10 "ok" (after each kill and at the end)
//   start / stop     10 / 1 for each of the five hosts, as expected
//   status changes   flap up 18 down 16, lossy up 42 down 37, slow and steady one up record in
//                    each of the 10 lives and no down, quiet none (never resolved); no two
//                    records of the same state in turn within a life
//   averages         rows against answered probes: flap 102/102, lossy 114/114, slow 161/161
//                    (mean 50.1 ms), steady 161/161; none lost at the 9 kills
//   outages          30 link changes of the flapping host; the 23 that fell within a life
//                    (not in the seconds between a start and its first probe, nor within 14 s
//                    of a kill) each recorded within 14 s; no record contrary to the link
//   VmRSS            39240 to 39400 kB after warm-up over all lives; the longest life (271 s)
//                    grew 12 kB after warm-up

#include "platform/types/clock.h"
#include "tests/support/testnetwork.h"

#include <sqlite3.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr const char* c_settingsKey = "Software\\Zorvex\\Corvane\\V2.01\\Options";
constexpr const char* c_quietName = "quiet.soak.test";
constexpr const char* c_resolverAddress = "198.18.14.2";
constexpr int c_hosts = 5;
constexpr int c_probedHosts = 4; // the fifth is never resolved
enum Host { eFLAP, eLOSSY, eSLOW, eSTEADY, eQUIET };
const std::array<const char*, c_hosts> c_hostNames {"flap", "lossy", "slow", "steady", "quiet"};
const std::array<const char*, c_hosts> c_hostTexts {
    "198.18.10.2", "198.18.11.2", "198.18.12.2", "198.18.13.2", c_quietName};

// Wall seconds: the monitor's sample interval, and the longest a pass can take beyond it (one
// echo timeout per host and the slow host's delay), so a link change shows within this.
constexpr double c_sampleInterval = 10.0;
constexpr double c_passResolution = c_sampleInterval + 2.0 + 2.0;
constexpr double c_warmUp = 45.0;
constexpr double c_rssPeriod = 5.0;

std::atomic<bool> s_stop {false};

void onStopSignal(int)
{
    s_stop.store(true);
}

double realNow()
{
    using namespace std::chrono;
    return duration<double>(system_clock::now().time_since_epoch()).count();
}

std::string commandLine(const std::vector<std::string>& argv)
{
    std::string line;
    for (const std::string& argument : argv)
        line += (line.empty() ? "" : " ") + argument;
    return line;
}

// Runs a command; false, with a line on standard error, when it fails.
bool run(const std::vector<std::string>& argv)
{
    const ProgramResult result = runProgram(argv, 15000);
    if (result.exitCode != 0)
        std::fprintf(
            stderr, "corvanesoak: failed (%d): %s\n", result.exitCode, commandLine(argv).c_str());
    return result.exitCode == 0;
}

struct Options
{
    double seconds {1800};
    double rate {336};
    unsigned seed {0};
    // The monitor is killed after a random time between these (wall seconds).
    double killLow {120};
    double killHigh {300};
    std::string binDirectory {ZOR_BIN_DIR};
    std::string report;
};

bool parseOptions(int argc, char** argv, Options& options)
{
    options.seed = static_cast<unsigned>(std::time(nullptr));
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (i + 1 >= argc)
            return false;
        const std::string value = argv[++i];
        if (option == "--seconds")
            options.seconds = std::atof(value.c_str());
        else if (option == "--rate")
            options.rate = std::atof(value.c_str());
        else if (option == "--seed")
            options.seed = static_cast<unsigned>(std::strtoul(value.c_str(), nullptr, 10));
        else if (option == "--kill-low")
            options.killLow = std::atof(value.c_str());
        else if (option == "--kill-high")
            options.killHigh = std::atof(value.c_str());
        else if (option == "--bin")
            options.binDirectory = value;
        else if (option == "--report")
            options.report = value;
        else
            return false;
    }
    return options.seconds >= 60 && options.rate > 0 && options.killLow >= 30
        && options.killHigh >= options.killLow;
}

// --- the network ---------------------------------------------------------------------------

// A client namespace holding the monitor and a host namespace holding the five hosts, one veth
// pair each; nothing else is reachable from the client.
class SoakNetwork
{
public:
    ~SoakNetwork() { remove(); }

    bool create()
    {
        const std::string id = std::to_string(getpid());
        m_client = "zsc" + id;
        m_host = "zsh" + id;
        m_etc = "/etc/netns/" + m_client;
        if (!run({"ip", "netns", "add", m_client}) || !run({"ip", "netns", "add", m_host}))
            return false;
        m_made = true;
        bool made = run({"ip", "-n", m_client, "link", "set", "lo", "up"})
            && run({"ip", "-n", m_host, "link", "set", "lo", "up"});
        for (int i = 0; made && i < c_hosts; ++i) {
            const std::string net = "198.18." + std::to_string(10 + i);
            const std::string clientLink = "sc" + std::to_string(i);
            made = run({"ip", "link", "add", clientLink, "netns", m_client, "type", "veth", "peer",
                       "name", hostLink(i), "netns", m_host})
                && run({"ip", "-n", m_client, "addr", "add", net + ".1/24", "dev", clientLink})
                && run({"ip", "-n", m_host, "addr", "add", net + ".2/24", "dev", hostLink(i)})
                && run({"ip", "-n", m_client, "link", "set", clientLink, "up"})
                && run({"ip", "-n", m_host, "link", "set", hostLink(i), "up"});
        }
        return made && inClient({"sysctl", "-q", "-w", "net.ipv4.ping_group_range=0 2147483647"})
            && filterHosts() && delaySlowHost() && writeResolver();
    }

    void remove()
    {
        if (m_delayer > 0) {
            kill(m_delayer, SIGTERM);
            waitpid(m_delayer, nullptr, 0);
            m_delayer = -1;
        }
        if (!m_made)
            return;
        // Whatever still runs in the client namespace goes with it.
        killNamespaceProcesses(m_client);
        runProgram({"ip", "netns", "del", m_client}, 10000);
        runProgram({"ip", "netns", "del", m_host}, 10000);
        fs::remove_all(m_etc);
        rmdir("/etc/netns"); // only when no other network left files there
        m_made = false;
    }

    std::vector<std::string> clientCommand() const { return {"ip", "netns", "exec", m_client}; }

    bool setFlapLink(bool up)
    {
        return run({"ip", "-n", m_host, "link", "set", hostLink(eFLAP), up ? "up" : "down"});
    }

    // Echo requests that reached each probed host so far (the lossy host's: those let through).
    std::array<long long, c_probedHosts> echoCounts() const
    {
        std::array<long long, c_probedHosts> counts {};
        for (int i = 0; i < c_probedHosts; ++i) {
            const ProgramResult result = runProgram({"ip", "netns", "exec", m_host, "nft", "list",
                                                        "counter", "inet", "soak", c_hostNames[i]},
                10000);
            const std::size_t at = result.output.find("packets ");
            counts[i] = at == std::string::npos ? -1 : std::atoll(result.output.c_str() + at + 8);
        }
        return counts;
    }

private:
    static std::string hostLink(int i) { return "sh" + std::to_string(i); }

    bool inHost(const std::vector<std::string>& argv)
    {
        std::vector<std::string> line {"ip", "netns", "exec", m_host};
        line.insert(line.end(), argv.begin(), argv.end());
        return run(line);
    }

    bool inClient(const std::vector<std::string>& argv)
    {
        std::vector<std::string> line = clientCommand();
        line.insert(line.end(), argv.begin(), argv.end());
        return run(line);
    }

    bool filterHosts()
    {
        bool made = inHost({"nft", "add", "table", "inet", "soak"})
            && inHost({"nft", "add", "chain", "inet", "soak", "input",
                "{ type filter hook input priority -10 ; }"})
            && inHost({"nft", "add", "rule", "inet", "soak", "input", "ip daddr",
                c_hostTexts[eLOSSY], "icmp type echo-request numgen random mod 10 < 3 drop"})
            && inHost({"nft", "add", "rule", "inet", "soak", "input", "udp dport 53 drop"})
            && inHost({"nft", "add", "rule", "inet", "soak", "input", "tcp dport 53 drop"});
        for (int i = 0; made && i < c_probedHosts; ++i) {
            made = inHost({"nft", "add", "counter", "inet", "soak", c_hostNames[i]})
                && inHost({"nft", "add", "rule", "inet", "soak", "input", "ip daddr",
                    c_hostTexts[i], "icmp type echo-request counter name", c_hostNames[i]});
        }
        return made;
    }

    bool delaySlowHost()
    {
        int output = -1;
        int pipeEnds[2];
        if (pipe2(pipeEnds, O_CLOEXEC) != 0)
            return false;
        m_delayer = fork();
        if (m_delayer == 0) {
            dup2(pipeEnds[1], STDOUT_FILENO);
            execlp("ip", "ip", "netns", "exec", m_host.c_str(), ZOR_NFQDELAY, "--queue", "0",
                "--delay", "50", static_cast<char*>(nullptr));
            _exit(127);
        }
        close(pipeEnds[1]);
        output = pipeEnds[0];
        // The queue is bound before the rule sends packets to it.
        char said[16] {};
        const ssize_t n = read(output, said, sizeof said - 1);
        close(output);
        if (n <= 0 || std::strncmp(said, "ready", 5) != 0) {
            std::fprintf(stderr, "corvanesoak: nfqdelay did not start\n");
            return false;
        }
        return inHost({"iptables", "-A", "INPUT", "-d", c_hostTexts[eSLOW], "-p", "icmp",
            "--icmp-type", "echo-request", "-j", "NFQUEUE", "--queue-num", "0"});
    }

    // The client's only resolver is the host namespace's silent address; its hosts file knows
    // localhost alone.
    bool writeResolver()
    {
        fs::create_directories(m_etc);
        std::ofstream(m_etc + "/resolv.conf") << "nameserver " << c_resolverAddress << "\n";
        std::ofstream(m_etc + "/hosts") << "127.0.0.1 localhost\n";
        return fs::exists(m_etc + "/hosts");
    }

    std::string m_client;
    std::string m_host;
    std::string m_etc;
    pid_t m_delayer {-1};
    bool m_made {false};
};

// --- the monitor's folder and process ------------------------------------------------------

class Monitor
{
public:
    Monitor(const Options& options, const SoakNetwork& network, const SimulatedClock& clock)
        : m_options(options), m_network(network), m_clock(clock)
    { }
    ~Monitor() { stop(SIGKILL); }

    const std::string& folder() const { return m_folder; }
    std::string database() const { return m_programDir + "corvane.mdb"; }
    pid_t pid() const { return m_pid; }

    bool prepare()
    {
        char pattern[] = "/tmp/zorvex-soak-XXXXXX";
        if (!mkdtemp(pattern))
            return false;
        m_folder = pattern;
        m_programDir = m_folder + "/bin/";
        fs::create_directories(m_programDir);
        for (const char* file : {"corvane", "zorplatform.so", "zorbase29.so", "zorwidgets29.so",
                 "zorwait29.so", "zorabout29.so"})
            fs::copy_file(m_options.binDirectory + "/" + file, m_programDir + file);
        if (std::system(
                ("sqlite3 -batch -bail " + database() + " < " ZOR_DATABASE_SCHEMA " > /dev/null")
                    .c_str())
            != 0)
            return false;
        m_registry = m_folder + "/registry";
        m_runtime = m_folder + "/runtime";
        fs::create_directories(m_runtime);
        fs::permissions(m_runtime, fs::perms::owner_all);
        setenv("ZORVEX_REGISTRY", m_registry.c_str(), 1);
        bool made = true;
        for (const char* module : {"zorwidgets29.so", "zorwait29.so", "zorabout29.so"})
            made = made && tool({"zorregsvr", "/s", m_programDir + module});
        for (int i = 0; i < c_hosts; ++i)
            made = made && setting("HKCU", "IP" + std::to_string(i + 1), "REG_SZ", c_hostTexts[i]);
        return made && setting("HKCU", "SampleInterval", "REG_DWORD", "10")
            && setting("HKCU", "Readme", "REG_DWORD", "0")
            && setting("HKLM", "Timeout", "REG_DWORD", "1000")
            && setting("HKLM", "Repeat", "REG_DWORD", "1");
    }

    bool start(int life)
    {
        std::vector<std::string> argv = m_network.clientCommand();
        for (const std::string& item : std::vector<std::string> {"env", "QT_QPA_PLATFORM=offscreen",
                 "TZ=UTC", "ZORVEX_REGISTRY=" + m_registry, "XDG_RUNTIME_DIR=" + m_runtime,
                 "ZORVEX_CLOCK=" + std::to_string(m_clock.origin) + ":" + rateText(),
                 m_programDir + "corvane"})
            argv.push_back(item);
        const std::string log = m_folder + "/corvane-" + std::to_string(life) + ".log";
        m_pid = fork();
        if (m_pid == 0) {
            const int out = open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            dup2(out, STDOUT_FILENO);
            dup2(out, STDERR_FILENO);
            std::vector<char*> args;
            for (std::string& item : argv)
                args.push_back(item.data());
            args.push_back(nullptr);
            execvp(args[0], args.data());
            _exit(127);
        }
        return m_pid > 0;
    }

    // Signals the monitor and waits for its end: its exit status, or 128 + the signal.
    int stop(int signal)
    {
        if (m_pid <= 0)
            return -1;
        kill(m_pid, signal);
        int status = 0;
        for (int wait = 0; wait < 600; ++wait) {
            if (waitpid(m_pid, &status, WNOHANG) == m_pid) {
                m_pid = -1;
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        kill(m_pid, SIGKILL);
        waitpid(m_pid, &status, 0);
        m_pid = -1;
        return -1;
    }

    // Whether the monitor ended by itself; its status then.
    bool ended(int& status)
    {
        if (m_pid <= 0 || waitpid(m_pid, &status, WNOHANG) != m_pid)
            return false;
        m_pid = -1;
        return true;
    }

    // Resident memory in kB, -1 when unknown.
    long residentKb() const
    {
        std::ifstream in("/proc/" + std::to_string(m_pid) + "/status");
        std::string line;
        while (std::getline(in, line)) {
            if (line.rfind("VmRSS:", 0) == 0)
                return std::atol(line.c_str() + 6);
        }
        return -1;
    }

private:
    std::string rateText() const
    {
        char text[32];
        std::snprintf(text, sizeof text, "%g", m_options.rate);
        return text;
    }

    bool tool(std::vector<std::string> argv)
    {
        argv[0] = m_options.binDirectory + "/" + argv[0];
        return run(argv);
    }

    bool setting(
        const char* root, const std::string& name, const char* type, const std::string& value)
    {
        return tool({"zorreg", "add", std::string(root) + "\\" + c_settingsKey, "/v", name, "/t",
            type, "/d", value, "/f"});
    }

    const Options& m_options;
    const SoakNetwork& m_network;
    const SimulatedClock& m_clock;
    std::string m_folder;
    std::string m_programDir;
    std::string m_registry;
    std::string m_runtime;
    pid_t m_pid {-1};
};

// --- what happened -------------------------------------------------------------------------

struct Life
{
    double start {0};
    double end {0};
    bool killed {true};
    long rssWarm {-1};
    long rssEnd {-1};
    long rssMax {-1};
    std::array<long long, c_probedHosts> echoes {};
    std::string integrity;
};

struct LinkChange
{
    double real;
    bool up;
};

struct StatusRow
{
    double real; // the row's date as wall time
    bool up;
    bool startStop;
};

struct AverageRow
{
    double real;
    int avgDelay;
    int sampleCount;
};

class DatabaseFile
{
public:
    explicit DatabaseFile(const std::string& path)
    {
        // Read and write: after a kill the engine replays the write-ahead log on opening, as the
        // next monitor would.
        if (sqlite3_open_v2(path.c_str(), &m_db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
            sqlite3_close(m_db);
            m_db = nullptr;
        }
        if (m_db)
            sqlite3_busy_timeout(m_db, 5000);
    }
    ~DatabaseFile() { sqlite3_close(m_db); }

    std::string integrity() const
    {
        std::string result;
        for (sqlite3_stmt* s = prepare("PRAGMA integrity_check"); s; s = finish(s)) {
            while (sqlite3_step(s) == SQLITE_ROW)
                result += (result.empty() ? "" : "; ")
                    + std::string(reinterpret_cast<const char*>(sqlite3_column_text(s, 0)));
        }
        return m_db ? result : "cannot open";
    }

    // Automation dates are days since 30 December 1899, UTC here: 25569 days before the epoch.
    static double realOf(double date, const SimulatedClock& clock)
    {
        const double simulated = (date - 25569.0) * 86400.0;
        return static_cast<double>(clock.origin)
            + (simulated - static_cast<double>(clock.origin)) / clockRate(clock);
    }

    std::vector<StatusRow> status(const std::string& host, const SimulatedClock& clock) const
    {
        std::vector<StatusRow> rows;
        for (sqlite3_stmt* s = prepare("SELECT Status.Date, Status.Up, Status.SessionStartStop"
                                       " FROM Status JOIN Hosts ON Hosts.HostID = Status.HostID"
                                       " WHERE Hosts.Host = ?1 ORDER BY Status.ID");
             s; s = finish(s)) {
            sqlite3_bind_text(s, 1, host.c_str(), -1, SQLITE_TRANSIENT);
            while (sqlite3_step(s) == SQLITE_ROW)
                rows.push_back({realOf(sqlite3_column_double(s, 0), clock),
                    sqlite3_column_int(s, 1) != 0, sqlite3_column_int(s, 2) != 0});
        }
        return rows;
    }

    std::vector<AverageRow> averages(const std::string& host, const SimulatedClock& clock) const
    {
        std::vector<AverageRow> rows;
        for (sqlite3_stmt* s = prepare("SELECT GraphData.Time, AvgDelay, SampleCount FROM GraphData"
                                       " JOIN Hosts ON Hosts.HostID = GraphData.HostID"
                                       " WHERE Hosts.Host = ?1 ORDER BY GraphData.Time");
             s; s = finish(s)) {
            sqlite3_bind_text(s, 1, host.c_str(), -1, SQLITE_TRANSIENT);
            while (sqlite3_step(s) == SQLITE_ROW)
                rows.push_back({realOf(sqlite3_column_double(s, 0), clock),
                    sqlite3_column_int(s, 1), sqlite3_column_int(s, 2)});
        }
        return rows;
    }

private:
    static double clockRate(const SimulatedClock& clock) { return clock.rate; }

    sqlite3_stmt* prepare(const char* sql) const
    {
        sqlite3_stmt* statement = nullptr;
        if (!m_db || sqlite3_prepare_v2(m_db, sql, -1, &statement, nullptr) != SQLITE_OK)
            return nullptr;
        return statement;
    }

    // Ends a statement's single run of the loops above.
    static sqlite3_stmt* finish(sqlite3_stmt* statement)
    {
        sqlite3_finalize(statement);
        return nullptr;
    }

    sqlite3* m_db {nullptr};
};

class Soak
{
public:
    Soak(const Options& options) : m_options(options), m_random(options.seed)
    {
        m_clock.origin = static_cast<std::time_t>(m_start);
        m_clock.rate = options.rate;
    }

    int run()
    {
        if (!m_network.create()) {
            std::fprintf(stderr, "corvanesoak: cannot make the network\n");
            return 2;
        }
        Monitor monitor(m_options, m_network, m_clock);
        if (!monitor.prepare()) {
            std::fprintf(stderr, "corvanesoak: cannot prepare the monitor's folder\n");
            return 2;
        }
        log("folder %s, seed %u, rate %g, %g s", monitor.folder().c_str(), m_options.seed,
            m_options.rate, m_options.seconds);
        const double end = m_start + m_options.seconds;
        double nextFlap = m_start + uniform(30, 60);
        double nextKill = m_start + uniform(m_options.killLow, m_options.killHigh);
        bool flapUp = true;
        m_links.push_back({m_start, true});
        startLife(monitor);
        double nextRss = m_lives.back().start + c_rssPeriod;
        std::array<long long, c_probedHosts> counted = m_network.echoCounts();

        while (!s_stop.load() && realNow() < end) {
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            const double now = realNow();
            int status = 0;
            if (monitor.ended(status)) {
                log("life %zu: the monitor ended by itself, status %d", m_lives.size(), status);
                ++m_unexpectedEnds;
                counted = endLife(monitor, false, counted);
                startLife(monitor);
                nextRss = now + c_rssPeriod;
            }
            if (now >= nextRss) {
                sampleRss(monitor);
                nextRss += c_rssPeriod;
            }
            if (now >= nextFlap) {
                flapUp = !flapUp;
                if (m_network.setFlapLink(flapUp))
                    m_links.push_back({realNow(), flapUp});
                log("flap link %s", flapUp ? "up" : "down");
                nextFlap = now + (flapUp ? uniform(40, 120) : uniform(25, 60));
            }
            if (now >= nextKill && end - now > 60) {
                sampleRss(monitor);
                monitor.stop(SIGKILL);
                counted = endLife(monitor, true, counted);
                startLife(monitor);
                nextRss = realNow() + c_rssPeriod;
                nextKill = realNow() + uniform(m_options.killLow, m_options.killHigh);
            }
        }
        sampleRss(monitor);
        const int status = monitor.stop(SIGTERM);
        log("stopped with SIGTERM: status %d", status);
        m_terminatedCleanly = status == 0;
        endLife(monitor, false, counted);
        if (!m_links.back().up && m_network.setFlapLink(true))
            m_links.push_back({realNow(), true});
        return report(monitor) ? 0 : 1;
    }

private:
    double uniform(double low, double high)
    {
        return std::uniform_real_distribution<double>(low, high)(m_random);
    }

    std::time_t simulated(double real) const { return zorSimulatedTime(m_clock, real); }

    void log(const char* format, ...) __attribute__((format(printf, 2, 3)))
    {
        const double now = realNow();
        char stamp[64];
        const std::time_t sim = simulated(now);
        std::tm t {};
        gmtime_r(&sim, &t);
        std::strftime(stamp, sizeof stamp, "%m/%d %H:%M:%S", &t);
        std::printf("[%7.1f s | sim %s] ", now - m_start, stamp);
        va_list args;
        va_start(args, format);
        std::vprintf(format, args);
        va_end(args);
        std::printf("\n");
        std::fflush(stdout);
    }

    void startLife(Monitor& monitor)
    {
        Life life;
        life.start = realNow();
        m_lives.push_back(life);
        monitor.start(static_cast<int>(m_lives.size()));
        log("life %zu: started, pid %d", m_lives.size(), monitor.pid());
    }

    void sampleRss(const Monitor& monitor)
    {
        Life& life = m_lives.back();
        const long rss = monitor.residentKb();
        if (rss < 0)
            return;
        if (realNow() - life.start >= c_warmUp && life.rssWarm < 0)
            life.rssWarm = rss;
        if (life.rssWarm >= 0)
            life.rssEnd = rss;
        life.rssMax = std::max(life.rssMax, rss);
    }

    std::array<long long, c_probedHosts> endLife(
        const Monitor& monitor, bool killed, const std::array<long long, c_probedHosts>& before)
    {
        Life& life = m_lives.back();
        life.end = realNow();
        life.killed = killed;
        const std::array<long long, c_probedHosts> after = m_network.echoCounts();
        for (int i = 0; i < c_probedHosts; ++i)
            life.echoes[i] = after[i] - before[i];
        life.integrity = DatabaseFile(monitor.database()).integrity();
        log("life %zu: %s after %.0f s; integrity_check: %s; RSS warm %ld kB, end %ld kB, max "
            "%ld kB; echoes flap %lld lossy %lld slow %lld steady %lld",
            m_lives.size(), killed ? "killed" : "ended", life.end - life.start,
            life.integrity.c_str(), life.rssWarm, life.rssEnd, life.rssMax, life.echoes[0],
            life.echoes[1], life.echoes[2], life.echoes[3]);
        return after;
    }

    // The life a wall time belongs to, -1 for none.
    int lifeAt(double real) const
    {
        for (std::size_t i = 0; i < m_lives.size(); ++i) {
            if (real >= m_lives[i].start - 1 && real <= m_lives[i].end + 1)
                return static_cast<int>(i);
        }
        return -1;
    }

    bool linkUpAt(double real) const
    {
        bool up = true;
        for (const LinkChange& change : m_links) {
            if (change.real <= real)
                up = change.up;
        }
        return up;
    }

    bool report(const Monitor& monitor)
    {
        std::ostringstream out;
        bool sound = true;
        auto line = [&out](const std::string& text) { out << text << "\n"; };
        char buffer[512];
        auto format = [&buffer](const char* f, auto... values) {
            std::snprintf(buffer, sizeof buffer, f, values...);
            return std::string(buffer);
        };

        DatabaseFile db(monitor.database());
        const double wall = m_lives.back().end - m_start;
        line(format("corvanesoak: %.0f s of wall time, %.0f simulated hours (%.0f quarter hours),"
                    " rate %g, seed %u, %zu lives, %d ended by themselves, SIGTERM stop %s",
            wall, wall * m_options.rate / 3600, wall * m_options.rate / 900, m_options.rate,
            m_options.seed, m_lives.size(), m_unexpectedEnds,
            m_terminatedCleanly ? "ok" : "FAILED"));
        sound = sound && m_unexpectedEnds == 0 && m_terminatedCleanly;

        // Integrity after every kill and at the end.
        int whole = 0;
        for (const Life& life : m_lives)
            whole += life.integrity == "ok" ? 1 : 0;
        line(format("integrity_check: %d of %zu checks ok", whole, m_lives.size()));
        sound = sound && whole == static_cast<int>(m_lives.size());

        // Start and stop records: one start per host and life, one stop per host at the end.
        for (int h = 0; h < c_hosts; ++h) {
            const std::vector<StatusRow> rows = db.status(c_hostTexts[h], m_clock);
            int starts = 0;
            int stops = 0;
            int ups = 0;
            int downs = 0;
            int outOfTurn = 0;
            std::vector<int> perLife(m_lives.size(), 0);
            int lastState = -1;
            for (const StatusRow& row : rows) {
                if (row.startStop) {
                    (row.up ? starts : stops) += 1;
                    lastState = -1;
                    continue;
                }
                (row.up ? ups : downs) += 1;
                // Within a life, changes alternate.
                if (lastState == (row.up ? 1 : 0))
                    ++outOfTurn;
                lastState = row.up ? 1 : 0;
                const int life = lifeAt(row.real);
                if (life >= 0)
                    ++perLife[static_cast<std::size_t>(life)];
            }
            const int expectedStarts = static_cast<int>(m_lives.size());
            const int expectedStops = m_terminatedCleanly ? 1 : 0;
            std::string detail;
            if (h == eSTEADY || h == eSLOW) {
                // One up record per life (the first probe), never a down.
                int lives = 0;
                for (int count : perLife)
                    lives += count == 1 ? 1 : 0;
                detail
                    = format(", lives with exactly one up record %d of %zu", lives, m_lives.size());
                sound = sound && downs == 0 && lives == static_cast<int>(m_lives.size());
            }
            if (h == eQUIET) {
                detail = ", never resolved";
                sound = sound && ups + downs == 0;
            }
            line(format("status %-6s: start %d/%d, stop %d/%d, up %d, down %d, out of turn %d%s",
                c_hostNames[h], starts, expectedStarts, stops, expectedStops, ups, downs, outOfTurn,
                detail.c_str()));
            sound = sound && starts == expectedStarts && stops == expectedStops && outOfTurn == 0;
        }

        // Averages: the samples filed in each life against the echoes answered in it; only the
        // pass before a kill may be pending, unwritten, when the kill comes.
        for (int h = 0; h < c_probedHosts; ++h) {
            const std::vector<AverageRow> rows = db.averages(c_hostTexts[h], m_clock);
            long long answered = 0;
            long long filed = 0;
            long long delaySum = 0;
            int lostBeyondOne = 0;
            int kills = 0;
            std::vector<long long> perLife(m_lives.size(), 0);
            for (const AverageRow& row : rows) {
                // Each row holds the one probe of its quarter hour (see above): it counts as
                // answered, whatever SampleCount says of the unanswered ones beside it.
                const int life = lifeAt(row.real);
                if (life >= 0)
                    ++perLife[static_cast<std::size_t>(life)];
                delaySum += row.avgDelay;
            }
            for (std::size_t l = 0; l < m_lives.size(); ++l) {
                answered += m_lives[l].echoes[h];
                filed += perLife[l];
                kills += m_lives[l].killed ? 1 : 0;
                const long long lost = m_lives[l].echoes[h] - perLife[l];
                if (lost < 0 || lost > (m_lives[l].killed ? 1 : 0))
                    ++lostBeyondOne;
            }
            line(format("averages %-6s: %zu rows, %lld answered probes, %lld filed, lost at %d "
                        "kills %lld, lives with other losses %d, mean delay %.1f ms",
                c_hostNames[h], rows.size(), answered, filed, kills, answered - filed,
                lostBeyondOne, rows.empty() ? 0.0 : double(delaySum) / double(rows.size())));
            sound = sound && lostBeyondOne == 0;
            if (h == eSLOW)
                sound = sound && !rows.empty() && delaySum >= 50LL * long(rows.size());
        }

        // The flapping host's outages against the link's log.
        const std::vector<StatusRow> flap = db.status(c_hostTexts[eFLAP], m_clock);
        int judged = 0;
        int matched = 0;
        for (std::size_t c = 1; c < m_links.size(); ++c) {
            const LinkChange& change = m_links[c];
            const int life = lifeAt(change.real);
            if (life < 0)
                continue;
            // The first record of the life already shows the state as found.
            double firstRecord = -1;
            for (const StatusRow& row : flap) {
                if (!row.startStop && lifeAt(row.real) == life) {
                    firstRecord = row.real;
                    break;
                }
            }
            if (firstRecord < 0 || change.real < firstRecord
                || change.real + c_passResolution > m_lives[static_cast<std::size_t>(life)].end)
                continue;
            ++judged;
            const bool found = std::any_of(flap.begin(), flap.end(), [&](const StatusRow& row) {
                return !row.startStop && row.up == change.up && row.real >= change.real - 1
                    && row.real <= change.real + c_passResolution;
            });
            matched += found ? 1 : 0;
            if (!found)
                line(format("  link %s at %.1f s has no record within %.0f s",
                    change.up ? "up" : "down", change.real - m_start, c_passResolution));
        }
        // And no record says other than the link did (a record within a second of a change
        // may show either side).
        int contrary = 0;
        for (const StatusRow& row : flap) {
            if (row.startStop)
                continue;
            const double probe = row.real - 0.5;
            const bool nearChange = std::any_of(m_links.begin(), m_links.end(),
                [&](const LinkChange& change) { return std::fabs(change.real - probe) < 1.5; });
            if (!nearChange && row.up != linkUpAt(probe)) {
                ++contrary;
                line(format("  record %s at %.1f s while the link was %s", row.up ? "up" : "down",
                    row.real - m_start, row.up ? "down" : "up"));
            }
        }
        line(format("outages flap  : %zu link changes logged, %d within a life judged, %d "
                    "recorded within %.0f s; %d records contrary to the link",
            m_links.size() - 1, judged, matched, c_passResolution, contrary));
        sound = sound && matched == judged && contrary == 0;

        // Resident memory.
        std::size_t longest = 0;
        for (std::size_t l = 0; l < m_lives.size(); ++l) {
            const Life& life = m_lives[l];
            line(format("life %2zu: %5.0f s %-6s RSS warm %ld kB end %ld kB max %ld kB; "
                        "integrity %s",
                l + 1, life.end - life.start, life.killed ? "killed" : "ended", life.rssWarm,
                life.rssEnd, life.rssMax, life.integrity.c_str()));
            if (life.end - life.start > m_lives[longest].end - m_lives[longest].start)
                longest = l;
        }
        const Life& longestLife = m_lives[longest];
        const long growth = longestLife.rssEnd - longestLife.rssWarm;
        line(format("longest life %zu: %.0f s, RSS growth after warm-up %ld kB (limit 1024)",
            longest + 1, longestLife.end - longestLife.start, growth));
        sound = sound && longestLife.rssWarm > 0 && growth < 1024;
        line(sound ? "RESULT: sound" : "RESULT: FAULTS FOUND");

        std::printf("%s", out.str().c_str());
        if (!m_options.report.empty())
            std::ofstream(m_options.report) << out.str();
        return sound;
    }

    const Options& m_options;
    std::mt19937 m_random;
    SimulatedClock m_clock;
    double m_start {realNow()};
    SoakNetwork m_network;
    std::vector<Life> m_lives;
    std::vector<LinkChange> m_links;
    int m_unexpectedEnds {0};
    bool m_terminatedCleanly {false};
};

} // namespace

int main(int argc, char** argv)
{
    Options options;
    if (!parseOptions(argc, argv, options)) {
        std::fprintf(stderr,
            "usage: corvanesoak [--seconds N (60 or more)] [--rate R] [--seed S] [--kill-low S]"
            " [--kill-high S (30 or more)] [--bin DIR] [--report FILE]\n");
        return 2;
    }
    if (geteuid() != 0) {
        std::fprintf(stderr, "corvanesoak: network namespaces need root\n");
        return 2;
    }
    struct sigaction action
    {
    };
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    for (int signalNumber : {SIGINT, SIGTERM, SIGHUP})
        sigaction(signalNumber, &action, nullptr);
    setenv("TZ", "UTC", 1);
    tzset();
    Soak soak(options);
    return soak.run();
}
