#include "platform/dao/daoworkspace.h"

#include "platform/dao/daoexception.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// How long compaction waits for another program to let go of the source.
constexpr int c_busyTimeoutMs = 1000;

class Connection
{
public:
    ~Connection() { sqlite3_close_v2(m_db); }

    void open(const std::string& name)
    {
        const int rc = sqlite3_open_v2(name.c_str(), &m_db, SQLITE_OPEN_READWRITE, nullptr);
        if (rc != SQLITE_OK) {
            const std::string description = m_db ? sqlite3_errmsg(m_db) : sqlite3_errstr(rc);
            throw CDaoException(rc, description + ": " + name);
        }
        sqlite3_extended_result_codes(m_db, 1);
        sqlite3_busy_timeout(m_db, c_busyTimeoutMs);
    }

    // Runs one statement with an optional text argument; gives the first column of its first
    // row as text.
    std::string run(const char* sql, const std::string* argument = nullptr)
    {
        sqlite3_stmt* stmt = nullptr;
        int rc = sqlite3_prepare_v2(m_db, sql, -1, &stmt, nullptr);
        if (rc != SQLITE_OK)
            fail(rc);
        if (argument != nullptr)
            sqlite3_bind_text(stmt, 1, argument->c_str(), -1, SQLITE_TRANSIENT);
        std::string result;
        while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
            if (result.empty() && sqlite3_column_text(stmt, 0) != nullptr)
                result = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
        }
        const std::string message = rc == SQLITE_DONE ? std::string() : sqlite3_errmsg(m_db);
        sqlite3_finalize(stmt);
        if (rc != SQLITE_DONE)
            throw CDaoException(rc, message);
        return result;
    }

private:
    [[noreturn]] void fail(int rc) { throw CDaoException(rc, sqlite3_errmsg(m_db)); }

    sqlite3* m_db {nullptr};
};

bool exists(const std::string& path)
{
    struct stat st
    {
    };
    return ::stat(path.c_str(), &st) == 0;
}

void syncFile(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0 || ::fsync(fd) != 0) {
        const int error = errno;
        if (fd >= 0)
            ::close(fd);
        throw CDaoException(SQLITE_IOERR_FSYNC,
            "cannot write the compacted database to disk: " + std::string(std::strerror(error)));
    }
    ::close(fd);
}

} // namespace

void CDaoWorkspace::CompactDatabase(const std::string& lpszSrcName, const std::string& lpszDestName,
    const std::string& /*lpszLocale*/, int /*nOptions*/)
{
    if (exists(lpszDestName))
        throw CDaoException(SQLITE_CANTOPEN, "Database already exists: " + lpszDestName);
    if (!exists(lpszSrcName))
        throw CDaoException(SQLITE_CANTOPEN, "unable to open database file: " + lpszSrcName);

    bool destinationStarted = false;
    try {
        Connection source;
        source.open(lpszSrcName);
        // The exclusive lock keeps every other program out while the copy is made. Leaving
        // the write-ahead log needs the file to itself, so it fails while anyone else has the
        // file open; it folds the log into the file on the way.
        source.run("PRAGMA locking_mode = EXCLUSIVE");
        const std::string mode = source.run("PRAGMA journal_mode = DELETE");
        if (mode != "delete")
            throw CDaoException(SQLITE_BUSY, "the database is in use by another program");
        // In exclusive locking mode the lock of this empty write stays until the connection
        // closes: nobody reads or writes the source while it is copied.
        source.run("BEGIN EXCLUSIVE");
        source.run("COMMIT");
        destinationStarted = true;
        source.run("VACUUM INTO ?1", &lpszDestName);
    } catch (...) {
        if (destinationStarted)
            ::unlink(lpszDestName.c_str());
        throw;
    }
    try {
        syncFile(lpszDestName);
    } catch (...) {
        ::unlink(lpszDestName.c_str());
        throw;
    }
}
