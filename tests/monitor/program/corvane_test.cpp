// The real monitor as a process: corvane runs inside a test network's client namespace,
// probing two test hosts every ten seconds; one host loses its link for two passes and gets it
// back, then the monitor is stopped as a desktop or a terminal stops it (SIGTERM). Its
// database must then hold exactly the history of what happened, and be whole.

#include "tests/support/networktest.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

constexpr const char* c_settingsKey = "Software\\Zorvex\\Corvane\\V2.01\\Options";

std::string binDirectory()
{
    const char* dir = std::getenv("ZORVEX_BIN_DIR");
    return dir ? dir : ".";
}

// One Status row as (Up, SessionStartStop).
using StatusRow = std::pair<int, int>;

// Reads the monitor's database while the monitor runs (it is opened shared).
class DatabaseReader
{
public:
    explicit DatabaseReader(const std::string& path)
    {
        if (sqlite3_open_v2(path.c_str(), &m_db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
            sqlite3_close(m_db);
            m_db = nullptr;
        }
        if (m_db)
            sqlite3_busy_timeout(m_db, 2000);
    }
    ~DatabaseReader() { sqlite3_close(m_db); }

    std::vector<StatusRow> history(const std::string& host) const
    {
        std::vector<StatusRow> rows;
        sqlite3_stmt* statement
            = prepare("SELECT Status.Up, Status.SessionStartStop FROM Status JOIN Hosts"
                      " ON Hosts.HostID = Status.HostID WHERE Hosts.Host = ?1 ORDER BY Status.ID");
        if (!statement)
            return rows;
        sqlite3_bind_text(statement, 1, host.c_str(), -1, SQLITE_TRANSIENT);
        while (sqlite3_step(statement) == SQLITE_ROW)
            rows.emplace_back(sqlite3_column_int(statement, 0), sqlite3_column_int(statement, 1));
        sqlite3_finalize(statement);
        return rows;
    }

    // The host's GraphData rows with an average above 0.
    int averages(const std::string& host) const
    {
        return number("SELECT count(*) FROM GraphData JOIN Hosts ON Hosts.HostID ="
                      " GraphData.HostID WHERE Hosts.Host = ?1 AND AvgDelay > 0",
            host);
    }

    std::string integrity() const
    {
        std::string result;
        if (sqlite3_stmt* statement = prepare("PRAGMA integrity_check")) {
            if (sqlite3_step(statement) == SQLITE_ROW)
                result = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
            sqlite3_finalize(statement);
        }
        return result;
    }

private:
    sqlite3_stmt* prepare(const char* sql) const
    {
        sqlite3_stmt* statement = nullptr;
        if (!m_db || sqlite3_prepare_v2(m_db, sql, -1, &statement, nullptr) != SQLITE_OK)
            return nullptr;
        return statement;
    }

    int number(const char* sql, const std::string& host) const
    {
        int value = -1;
        if (sqlite3_stmt* statement = prepare(sql)) {
            sqlite3_bind_text(statement, 1, host.c_str(), -1, SQLITE_TRANSIENT);
            if (sqlite3_step(statement) == SQLITE_ROW)
                value = sqlite3_column_int(statement, 0);
            sqlite3_finalize(statement);
        }
        return value;
    }

    sqlite3* m_db {nullptr};
};

// Waits until the host's history has the rows; false after the deadline.
bool waitForHistory(const DatabaseReader& db, const std::string& host, std::size_t rows,
    std::chrono::seconds deadline)
{
    const auto end = Clock::now() + deadline;
    while (Clock::now() < end) {
        if (db.history(host).size() >= rows)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return false;
}

class MonitorProcess : public NetworkTest
{
protected:
    void SetUp() override
    {
        NetworkTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        ASSERT_TRUE(m_network.addSecondHost()) << m_network.error();

        // The program's directory of its own: the program, its modules and a new database.
        char pattern[] = "/tmp/zorvex-corvane-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        m_folder = pattern;
        m_programDir = m_folder + "/bin/";
        fs::create_directories(m_programDir);
        for (const char* file : {"corvane", "zorplatform.so", "zorbase29.so", "zorwidgets29.so",
                 "zorwait29.so", "zorabout29.so"})
            fs::copy_file(binDirectory() + "/" + file, m_programDir + file);
        ASSERT_EQ(std::system(("sqlite3 -batch -bail " + m_programDir + "corvane.mdb < "
                      + std::string(ZOR_DATABASE_SCHEMA) + " > /dev/null")
                                  .c_str()),
            0);

        m_registry = m_folder + "/registry";
        m_runtime = m_folder + "/runtime";
        fs::create_directories(m_runtime);
        fs::permissions(m_runtime, fs::perms::owner_all);
        setenv("ZORVEX_REGISTRY", m_registry.c_str(), 1);
        for (const char* module : {"zorwidgets29.so", "zorwait29.so", "zorabout29.so"})
            ASSERT_EQ(tool({"zorregsvr", "/s", m_programDir + module}), 0) << module;
        // Two hosts, a pass every ten seconds, one echo per probe; no readme on this first run.
        setting("HKCU", "IP1", "REG_SZ", TestNetwork::HOST_ADDRESS);
        setting("HKCU", "IP2", "REG_SZ", TestNetwork::SECOND_HOST_ADDRESS);
        setting("HKCU", "SampleInterval", "REG_DWORD", "10");
        setting("HKCU", "Readme", "REG_DWORD", "0");
        setting("HKLM", "Timeout", "REG_DWORD", "1000");
        setting("HKLM", "Repeat", "REG_DWORD", "1");
    }

    void TearDown() override
    {
        stop(SIGKILL);
        if (!m_folder.empty())
            fs::remove_all(m_folder);
        NetworkTest::TearDown();
    }

    int tool(std::vector<std::string> argv)
    {
        argv[0] = binDirectory() + "/" + argv[0];
        const ProgramResult result = runProgram(argv, 20000);
        return result.exitCode;
    }

    void setting(const char* root, const char* name, const char* type, const std::string& value)
    {
        ASSERT_EQ(tool({"zorreg", "add", std::string(root) + "\\" + c_settingsKey, "/v", name, "/t",
                      type, "/d", value, "/f"}),
            0)
            << name;
    }

    // Starts the monitor inside the client namespace, with no display.
    void start()
    {
        std::vector<std::string> argv = m_network.clientCommand();
        for (const std::string& item : std::vector<std::string> {"env", "QT_QPA_PLATFORM=offscreen",
                 "ZORVEX_REGISTRY=" + m_registry, "XDG_RUNTIME_DIR=" + m_runtime,
                 m_programDir + "corvane"})
            argv.push_back(item);
        m_pid = fork();
        if (m_pid == 0) {
            std::vector<char*> args;
            for (std::string& item : argv)
                args.push_back(item.data());
            args.push_back(nullptr);
            execvp(args[0], args.data());
            _exit(127);
        }
    }

    // Signals the monitor and waits for its end; its exit status, -1 when it had to be killed.
    int stop(int signal, std::chrono::seconds patience = std::chrono::seconds(20))
    {
        if (m_pid <= 0)
            return -1;
        kill(m_pid, signal);
        const auto end = Clock::now() + patience;
        int status = 0;
        while (Clock::now() < end) {
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

    std::string m_folder;
    std::string m_programDir;
    std::string m_registry;
    std::string m_runtime;
    pid_t m_pid {-1};
};

} // namespace

TEST_F(MonitorProcess, RecordsAnOutageOfTwoPassesAndStopsOnSigterm)
{
    const std::string first = TestNetwork::HOST_ADDRESS;
    const std::string second = TestNetwork::SECOND_HOST_ADDRESS;
    start();
    ASSERT_GT(m_pid, 0);
    DatabaseReader db(m_programDir + "corvane.mdb");

    // The first pass, ten seconds after the window shows, finds both hosts up.
    ASSERT_TRUE(waitForHistory(db, first, 2, std::chrono::seconds(30)));
    ASSERT_TRUE(waitForHistory(db, second, 2, std::chrono::seconds(5)));

    // The first host loses its link: the second pass records it down...
    ASSERT_TRUE(m_network.setHostLink(false)) << m_network.error();
    ASSERT_TRUE(waitForHistory(db, first, 3, std::chrono::seconds(15)));
    const auto down = Clock::now();
    // ...the third pass finds it down still and records nothing; the link comes back between
    // the third and the fourth pass, which records it up.
    std::this_thread::sleep_until(down + std::chrono::seconds(15));
    EXPECT_EQ(db.history(first).size(), 3U) << "a pass recorded the host twice";
    ASSERT_TRUE(m_network.setHostLink(true)) << m_network.error();
    ASSERT_TRUE(waitForHistory(db, first, 4, std::chrono::seconds(15)));

    EXPECT_EQ(stop(SIGTERM), 0);

    EXPECT_EQ(db.history(first), (std::vector<StatusRow> {{1, 1}, {1, 0}, {0, 0}, {1, 0}, {0, 1}}));
    EXPECT_EQ(db.history(second), (std::vector<StatusRow> {{1, 1}, {1, 0}, {0, 1}}));
    // Closing wrote the pending averages of both hosts.
    EXPECT_GE(db.averages(first), 1);
    EXPECT_GE(db.averages(second), 1);
    EXPECT_EQ(db.integrity(), "ok");
}

namespace {

// A monitor started where neither its folder nor the user's data folder holds a database (and
// no installed empty one is there to copy) says so and ends with a failure status.
TEST(MonitorStart, WithoutADatabaseSaysSoAndFails)
{
    char pattern[] = "/tmp/zorvex-nodatabase-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    const std::string folder = pattern;
    const std::string programDir = folder + "/lib/zorvex/";
    fs::create_directories(programDir);
    for (const char* file : {"corvane", "zorplatform.so", "zorbase29.so", "zorwidgets29.so",
             "zorwait29.so", "zorabout29.so"})
        fs::copy_file(binDirectory() + "/" + file, programDir + file);

    const std::string errors = folder + "/errors";
    const int status = std::system(("env QT_QPA_PLATFORM=offscreen ZORVEX_REGISTRY=" + folder
        + "/registry XDG_DATA_HOME=" + folder + "/data " + programDir + "corvane 2>" + errors)
                                       .c_str());
    std::ifstream in(errors);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    fs::remove_all(folder);

    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_NE(
        text.find("Can't find database " + folder + "/data/zorvex/corvane.mdb"), std::string::npos)
        << text;
}

} // namespace
