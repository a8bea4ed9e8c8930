// The monitor's start-up: from exec to the main window's first paint with five dotted hosts,
// less the five 100-ms pauses of the initialisation (target under 300 ms), and its resident
// memory once started (target under 80 MB).
//
// Each run starts the program of the build offscreen, from a copy of the program's directory in
// a temporary folder with a fresh database, a settings store of its own (the modules registered
// with zorregsvr /s, hosts 127.0.0.1 to 127.0.0.5 in slots 1 to 5, the first-run readme already
// seen) and a run-time folder of its own for the one-instance guard. The program reports its
// first paint on standard error (ZORVEX_REPORT_FIRST_PAINT=1); the memory is read from
// /proc/PID/status a second later, then the program is stopped with SIGTERM as a desktop stops
// it. The first sampling pass comes ten seconds after the window appears, so nothing is probed.
//
//   build/bench/zorbench_startup [runs]      (default 7 runs)

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

// The pauses the initialisation makes after each slot's assignment.
constexpr double c_prescribedPausesMs = 5 * 100.0;

const char* const c_programFiles[] = {"corvane", "zorbase29.so", "zorplatform.so",
    "zorwidgets29.so", "zorwait29.so", "zorabout29.so"};
const char* const c_modules[] = {"zorwidgets29.so", "zorwait29.so", "zorabout29.so"};
constexpr const char* c_optionsKey = "HKCU\\Software\\Zorvex\\Corvane\\V2.01\\Options";

// Runs a program to its end with the given environment and its output thrown away; its exit
// code, -1 when it did not run.
int run(const std::vector<std::string>& args, const std::vector<std::string>& env)
{
    std::vector<char*> argv;
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (const std::string& e : env)
        envp.push_back(const_cast<char*>(e.c_str()));
    envp.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return -1;
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The environment of the program: ours, with the given values put in place of ours.
std::vector<std::string> environment(const std::vector<std::string>& overrides)
{
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        const std::string entry = *e;
        const std::string name = entry.substr(0, entry.find('='));
        const bool replaced = std::any_of(overrides.begin(), overrides.end(),
            [&](const std::string& o) { return o.compare(0, name.size() + 1, name + "=") == 0; });
        if (!replaced)
            env.push_back(entry);
    }
    env.insert(env.end(), overrides.begin(), overrides.end());
    return env;
}

long residentKiB(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0)
            return std::strtol(line.c_str() + 6, nullptr, 10);
    }
    return -1;
}

struct Sample
{
    double firstPaintMs {-1};
    double residentMiB {-1};
};

// One start: exec, first paint, memory, SIGTERM.
Sample startOnce(const fs::path& folder, const std::vector<std::string>& env)
{
    Sample sample;
    int pipeFds[2];
    if (pipe(pipeFds) != 0)
        return sample;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDERR_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
    const std::string program = (folder / "bin" / "corvane").string();
    char* argv[] = {const_cast<char*>(program.c_str()), nullptr};
    std::vector<char*> envp;
    for (const std::string& e : env)
        envp.push_back(const_cast<char*>(e.c_str()));
    envp.push_back(nullptr);

    const Clock::time_point started = Clock::now();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv, envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    if (spawned != 0) {
        close(pipeFds[0]);
        return sample;
    }

    std::string output;
    const Clock::time_point deadline = started + std::chrono::seconds(20);
    while (Clock::now() < deadline && output.find("corvane: first paint") == std::string::npos) {
        pollfd readable {pipeFds[0], POLLIN, 0};
        if (poll(&readable, 1, 100) <= 0)
            continue;
        char buffer[512];
        const ssize_t n = read(pipeFds[0], buffer, sizeof buffer);
        if (n <= 0)
            break;
        output.append(buffer, static_cast<std::size_t>(n));
    }
    if (output.find("corvane: first paint") != std::string::npos) {
        sample.firstPaintMs
            = std::chrono::duration<double, std::milli>(Clock::now() - started).count();
        usleep(1000 * 1000);
        sample.residentMiB = static_cast<double>(residentKiB(pid)) / 1024.0;
    } else {
        std::fprintf(stderr, "no first paint; the program said:\n%s\n", output.c_str());
    }
    kill(pid, SIGTERM);
    int status = 0;
    waitpid(pid, &status, 0);
    close(pipeFds[0]);
    return sample;
}

void report(const char* what, std::vector<double> values, const char* unit, double target)
{
    std::sort(values.begin(), values.end());
    const double median = values[values.size() / 2];
    std::printf("%-44s min %7.1f  median %7.1f  max %7.1f %s  (target under %.0f %s)\n", what,
        values.front(), median, values.back(), unit, target, unit);
}

} // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    const char* binEnv = std::getenv("ZORVEX_BIN_DIR");
    const fs::path bin = binEnv ? binEnv : ZOR_BIN_DIR;

    char pattern[] = "/tmp/zorvex-startup-XXXXXX";
    if (!mkdtemp(pattern)) {
        std::perror("mkdtemp");
        return 1;
    }
    const fs::path folder = pattern;
    fs::create_directories(folder / "bin");
    for (const char* file : c_programFiles)
        fs::copy_file(bin / file, folder / "bin" / file);
    fs::create_directories(folder / "run");
    fs::permissions(folder / "run", fs::perms::owner_all);

    const std::string registry = (folder / "registry").string();
    const std::vector<std::string> env = environment(
        {"ZORVEX_REGISTRY=" + registry, "XDG_RUNTIME_DIR=" + (folder / "run").string(),
            "QT_QPA_PLATFORM=offscreen", "ZORVEX_REPORT_FIRST_PAINT=1"});
    const std::string zorregsvr = (bin / "zorregsvr").string();
    const std::string zorreg = (bin / "zorreg").string();
    for (const char* module : c_modules) {
        if (run({zorregsvr, "/s", (folder / "bin" / module).string()}, env) != 0) {
            std::fprintf(stderr, "cannot register %s\n", module);
            return 1;
        }
    }
    for (int slot = 1; slot <= 5; ++slot) {
        run({zorreg, "add", c_optionsKey, "/v", "IP" + std::to_string(slot), "/d",
                "127.0.0." + std::to_string(slot), "/f"},
            env);
    }
    // The first run would open the readme page in a browser.
    run({zorreg, "add", c_optionsKey, "/v", "Readme", "/t", "REG_DWORD", "/d", "0", "/f"}, env);

    std::vector<double> paints;
    std::vector<double> memory;
    for (int i = 0; i < runs; ++i) {
        // A fresh database for every start, from the schema.
        const fs::path database = folder / "bin" / "corvane.mdb";
        fs::remove(database);
        if (run({ZOR_SQLITE3_SHELL, "-batch", database.string(), ".read " ZOR_DATABASE_SCHEMA}, env)
            != 0) {
            std::fprintf(stderr, "cannot create the database\n");
            return 1;
        }
        const Sample sample = startOnce(folder, env);
        if (sample.firstPaintMs < 0)
            return 1;
        paints.push_back(sample.firstPaintMs - c_prescribedPausesMs);
        memory.push_back(sample.residentMiB);
        std::printf("run %d: first paint after %.1f ms (%.1f ms without the pauses), %.1f MiB\n",
            i + 1, sample.firstPaintMs, sample.firstPaintMs - c_prescribedPausesMs,
            sample.residentMiB);
    }
    report("exec to first paint, less 5 x 100 ms pauses", paints, "ms", 300);
    report("resident memory a second after start", memory, "MiB", 80);
    fs::remove_all(folder);
    return 0;
}
