#include "platform/dao/daodatabase.h"

#include "platform/dao/daoexception.h"
#include "platform/dao/daorecordset.h"

#include <algorithm>
#include <sqlite3.h>

namespace {

// How long a connection waits for a lock held by another program.
constexpr int c_busyTimeoutMs = 5000;

// The first column of the first row of a statement, as text; empty when there is none.
std::string scalarText(sqlite3* db, const char* sql, int& rc)
{
    sqlite3_stmt* stmt = nullptr;
    rc = sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr);
    std::string result;
    if (rc == SQLITE_OK) {
        rc = sqlite3_step(stmt);
        if (rc == SQLITE_ROW) {
            if (const unsigned char* text = sqlite3_column_text(stmt, 0))
                result = reinterpret_cast<const char*>(text);
            rc = SQLITE_OK;
        } else if (rc == SQLITE_DONE) {
            rc = SQLITE_OK;
        }
    }
    sqlite3_finalize(stmt);
    return result;
}

} // namespace

CDaoDatabase::~CDaoDatabase()
{
    Close();
}

void CDaoDatabase::Open(
    const std::string& lpszName, BOOL bExclusive, BOOL bReadOnly, const std::string& lpszConnect)
{
    Close();

    // One thread uses a database at a time, so the connection needs no lock of its own.
    const int flags
        = (bReadOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE) | SQLITE_OPEN_NOMUTEX;
    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(lpszName.c_str(), &db, flags, nullptr);
    if (rc != SQLITE_OK) {
        std::string description = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
        sqlite3_close_v2(db);
        throw CDaoException(rc, description + ": " + lpszName);
    }
    sqlite3_extended_result_codes(db, 1);
    sqlite3_busy_timeout(db, c_busyTimeoutMs);
    m_db = db;
    m_readOnly = bReadOnly;

    try {
        if (bExclusive)
            execute("PRAGMA locking_mode = EXCLUSIVE");
        // Reading the schema tells a database from any other file at once, not at the first
        // record set.
        execute("SELECT count(*) FROM sqlite_schema");
        if (!bReadOnly) {
            const std::string mode = scalarText(m_db, "PRAGMA journal_mode = WAL", rc);
            if (rc != SQLITE_OK)
                throwError(rc);
            if (mode != "wal")
                throw CDaoException(SQLITE_ERROR,
                    "the database cannot be shared: its journal mode stays '" + mode + "'");
            execute("PRAGMA synchronous = FULL");
        }
        if (bExclusive) {
            // Takes the lock now rather than at the first change; exclusive locking mode keeps
            // it until the connection closes.
            execute("BEGIN EXCLUSIVE");
            execute("COMMIT");
        }
    } catch (...) {
        sqlite3_close_v2(m_db);
        m_db = nullptr;
        throw;
    }
    m_name = lpszName;
    m_connect = lpszConnect;
}

void CDaoDatabase::Close()
{
    // Closing a record set detaches it, so take them from the back.
    while (!m_recordsets.empty())
        m_recordsets.back()->Close();
    if (m_db == nullptr)
        return;
    // Closing the last connection checkpoints the write-ahead log into the file and removes
    // it; a transaction still running is rolled back.
    sqlite3_close_v2(m_db);
    m_db = nullptr;
    m_name.clear();
    m_connect.clear();
    m_readOnly = false;
    m_inTransaction = false;
}

void CDaoDatabase::BeginTrans()
{
    if (m_inTransaction)
        throw CDaoException(SQLITE_ERROR, "a transaction is already running");
    execute("BEGIN IMMEDIATE");
    m_inTransaction = true;
}

void CDaoDatabase::CommitTrans()
{
    if (!m_inTransaction)
        throw CDaoException(SQLITE_ERROR, "no transaction is running");
    execute("COMMIT");
    m_inTransaction = false;
}

void CDaoDatabase::Rollback()
{
    if (!m_inTransaction)
        throw CDaoException(SQLITE_ERROR, "no transaction is running");
    m_inTransaction = false;
    // The engine may already have rolled back after a failed statement; then there is
    // nothing left to undo.
    if (!sqlite3_get_autocommit(m_db))
        execute("ROLLBACK");
}

void CDaoDatabase::Execute(const std::string& lpszSQL)
{
    execute(lpszSQL.c_str());
}

void CDaoDatabase::execute(const char* sql)
{
    if (m_db == nullptr)
        throw CDaoException(SQLITE_MISUSE, "the database is not open");
    const int rc = sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        throwError(rc);
}

void CDaoDatabase::throwError(int rc) const
{
    throw CDaoException(rc, m_db ? sqlite3_errmsg(m_db) : sqlite3_errstr(rc));
}

void CDaoDatabase::attach(CDaoRecordset* recordset)
{
    m_recordsets.push_back(recordset);
}

void CDaoDatabase::detach(CDaoRecordset* recordset)
{
    m_recordsets.erase(
        std::remove(m_recordsets.begin(), m_recordsets.end(), recordset), m_recordsets.end());
}
