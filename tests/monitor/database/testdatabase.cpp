#include "tests/monitor/database/testdatabase.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <spawn.h>
#include <sqlite3.h>
#include <sys/wait.h>

extern char** environ;

bool runDatabaseRule(const std::string& databasePath)
{
    std::string schema = "-DSCHEMA=";
    schema += ZOR_DATABASE_SCHEMA;
    const std::string database = "-DDATABASE=" + databasePath;
    std::string shell = "-DSQLITE3=";
    shell += ZOR_SQLITE3_SHELL;
    std::vector<char*> argv {const_cast<char*>(ZOR_CMAKE_COMMAND),
        const_cast<char*>(schema.c_str()), const_cast<char*>(database.c_str()),
        const_cast<char*>(shell.c_str()), const_cast<char*>("-P"),
        const_cast<char*>(ZOR_DATABASE_SCRIPT), nullptr};
    pid_t pid = 0;
    if (posix_spawn(&pid, ZOR_CMAKE_COMMAND, nullptr, nullptr, argv.data(), environ) != 0)
        return false;
    int status = 0;
    if (waitpid(pid, &status, 0) != pid)
        return false;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

std::string createMonitorDatabase(const TempFolder& folder)
{
    static std::unique_ptr<TempFolder> templateFolder;
    if (!templateFolder) {
        templateFolder = std::make_unique<TempFolder>();
        EXPECT_TRUE(runDatabaseRule(templateFolder->file("corvane.mdb")));
    }
    std::filesystem::copy_file(templateFolder->file("corvane.mdb"), folder.file("corvane.mdb"));
    return folder.path() + "/";
}

CDirectConnection::CDirectConnection(const std::string& path)
{
    EXPECT_EQ(sqlite3_open_v2(path.c_str(), &m_db, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK)
        << path;
    sqlite3_busy_timeout(m_db, 5000);
}

CDirectConnection::~CDirectConnection()
{
    sqlite3_close_v2(m_db);
}

int CDirectConnection::exec(const std::string& sql)
{
    return sqlite3_exec(m_db, sql.c_str(), nullptr, nullptr, nullptr);
}

std::vector<std::string> CDirectConnection::rows(const std::string& sql)
{
    std::vector<std::string> result;
    sqlite3_stmt* stmt = nullptr;
    EXPECT_EQ(sqlite3_prepare_v2(m_db, sql.c_str(), -1, &stmt, nullptr), SQLITE_OK)
        << sqlite3_errmsg(m_db);
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        std::string row;
        for (int c = 0; c < sqlite3_column_count(stmt); ++c) {
            const unsigned char* text = sqlite3_column_text(stmt, c);
            row += (c ? "|" : "")
                + std::string(text ? reinterpret_cast<const char*>(text) : "NULL");
        }
        result.push_back(row);
    }
    sqlite3_finalize(stmt);
    return result;
}

std::string CDirectConnection::scalar(const std::string& sql)
{
    const auto r = rows(sql);
    return r.empty() ? std::string() : r.front();
}
