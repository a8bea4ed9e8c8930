#pragma once

// The monitor database for a test: a real file made from the schema by the build's own rule,
// in the test's temporary folder, plus a plain connection for looking at the file as another
// program would.

#include "tests/support/tempfolder.h"

#include <string>
#include <vector>

struct sqlite3;

// Runs the build rule that creates the database file when it is missing; true when the rule
// succeeded.
bool runDatabaseRule(const std::string& databasePath);

// Creates "corvane.mdb" in the folder and gives the folder as a program directory (ending with
// the path separator). The rule runs once per test program; later calls copy its file.
std::string createMonitorDatabase(const TempFolder& folder);

// A connection of its own to a database file.
class CDirectConnection
{
public:
    explicit CDirectConnection(const std::string& path);
    ~CDirectConnection();
    CDirectConnection(const CDirectConnection&) = delete;
    CDirectConnection& operator=(const CDirectConnection&) = delete;

    // The engine's result code.
    int exec(const std::string& sql);
    // The rows of a query, the columns of each joined with "|", NULL as "NULL".
    std::vector<std::string> rows(const std::string& sql);
    // The first row of a query, empty when there is none.
    std::string scalar(const std::string& sql);

private:
    sqlite3* m_db {nullptr};
};
