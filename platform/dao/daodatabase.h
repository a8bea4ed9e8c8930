#pragma once

// A database: one connection to an SQLite file, standing where the data-access layer's
// database over the desktop engine stood.
//
// Open never creates a file: a missing file is an error, as it was for the engine. Opened
// shared (the usual way), the file is put in write-ahead-log mode, so other programs may read
// it while this one writes, and every change made outside a transaction is committed (and
// synced to disk) the moment it is made: a process killed at any moment loses at most the
// change it was making, and the file stays whole. Opened exclusive, the connection takes the
// file's lock at once and keeps it until Close, so no other program can use the file
// meanwhile. A connection waits up to five seconds for a lock another program holds before
// it reports the file as locked.
//
// A database and its record sets are used by one thread at a time (the monitor's user
// interface thread).
//
// Transactions belong to the workspace in the original layer; here each database is its own
// workspace, so BeginTrans, CommitTrans and Rollback are members of the database.
//
// Every failure throws CDaoException with the engine's description.

#include "platform/types/wintypes.h"

#include <string>
#include <vector>

struct sqlite3;
class CDaoRecordset;

class CDaoDatabase
{
public:
    CDaoDatabase() = default;
    ~CDaoDatabase();
    CDaoDatabase(const CDaoDatabase&) = delete;
    CDaoDatabase& operator=(const CDaoDatabase&) = delete;

    // Opens the file. The connect string names no options for this store and is kept as
    // given. An open database is closed first.
    void Open(const std::string& lpszName, BOOL bExclusive = FALSE, BOOL bReadOnly = FALSE,
        const std::string& lpszConnect = "");
    // Closes every record set still open on the database, rolls back a transaction still
    // running and closes the file. Closing a closed database does nothing.
    void Close();
    BOOL IsOpen() const { return m_db != nullptr; }
    // The file name as opened; empty when closed.
    const std::string& GetName() const { return m_name; }
    const std::string& GetConnect() const { return m_connect; }
    BOOL CanUpdate() const { return IsOpen() && !m_readOnly; }

    // One transaction at a time: the changes made between BeginTrans and CommitTrans reach the
    // file together or, after Rollback, not at all. BeginTrans takes the file's write lock.
    void BeginTrans();
    void CommitTrans();
    void Rollback();
    BOOL InTransaction() const { return m_inTransaction; }

    // Runs the statements of the text, one after the other, outside any record set (changes
    // of the schema, such as an index a newer version of a program adds to an older file).
    // Rows they give are dropped. The first failing statement throws; the ones before it have
    // taken effect unless a transaction is rolled back.
    void Execute(const std::string& lpszSQL);

    // The connection, for the record sets of this layer; null when closed.
    sqlite3* handle() const { return m_db; }

private:
    friend class CDaoRecordset;

    void execute(const char* sql);
    [[noreturn]] void throwError(int rc) const;
    void attach(CDaoRecordset* recordset);
    void detach(CDaoRecordset* recordset);

    sqlite3* m_db {nullptr};
    std::string m_name;
    std::string m_connect;
    bool m_readOnly {false};
    bool m_inTransaction {false};
    std::vector<CDaoRecordset*> m_recordsets;
};
