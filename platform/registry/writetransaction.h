#pragma once

// A write transaction on an SQLite connection for one scope, shared by the registry store and
// the database layer.

#include <sqlite3.h>

// An IMMEDIATE transaction: the write lock is taken at the start, so the writes inside never
// meet a busy snapshot halfway. Rolled back unless committed.
class CWriteTransaction
{
public:
    explicit CWriteTransaction(sqlite3* db) : m_db(db) { }
    ~CWriteTransaction()
    {
        if (m_open)
            sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
    }
    CWriteTransaction(const CWriteTransaction&) = delete;
    CWriteTransaction& operator=(const CWriteTransaction&) = delete;

    int begin()
    {
        const int rc = sqlite3_exec(m_db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
        m_open = rc == SQLITE_OK;
        return rc;
    }
    int commit()
    {
        const int rc = sqlite3_exec(m_db, "COMMIT", nullptr, nullptr, nullptr);
        if (rc == SQLITE_OK)
            m_open = false;
        return rc;
    }

private:
    sqlite3* m_db {nullptr};
    bool m_open {false};
};
