#pragma once

// A cached SQLite statement in use for one scope, shared by the registry store and the database
// layer: binding, stepping and reading columns, and the reset (with its bindings cleared) when
// the scope ends, also when it ends by an exception.

#include "platform/types/wintypes.h"

#include <sqlite3.h>

#include <cstdint>
#include <string>
#include <vector>

// Resets a cached statement when the scope that used it ends.
class CStatementUse
{
public:
    explicit CStatementUse(sqlite3_stmt* stmt) : m_stmt(stmt) { }
    ~CStatementUse()
    {
        if (m_stmt) {
            sqlite3_reset(m_stmt);
            sqlite3_clear_bindings(m_stmt);
        }
    }
    CStatementUse(const CStatementUse&) = delete;
    CStatementUse& operator=(const CStatementUse&) = delete;

    explicit operator bool() const { return m_stmt != nullptr; }
    sqlite3_stmt* get() const { return m_stmt; }

    void bind(int index, std::int64_t value) { sqlite3_bind_int64(m_stmt, index, value); }
    void bind(int index, const std::string& text)
    {
        sqlite3_bind_text(
            m_stmt, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
    }
    void bindBlob(int index, const BYTE* data, DWORD size)
    {
        // An empty blob must still be a blob, not NULL.
        if (size == 0)
            sqlite3_bind_zeroblob(m_stmt, index, 0);
        else
            sqlite3_bind_blob(m_stmt, index, data, static_cast<int>(size), SQLITE_TRANSIENT);
    }
    int step() { return sqlite3_step(m_stmt); }
    std::int64_t integer(int column) const { return sqlite3_column_int64(m_stmt, column); }
    std::string text(int column) const
    {
        const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, column));
        return p ? std::string(p, static_cast<size_t>(sqlite3_column_bytes(m_stmt, column)))
                 : std::string();
    }
    std::vector<BYTE> blob(int column) const
    {
        const auto* p = static_cast<const BYTE*>(sqlite3_column_blob(m_stmt, column));
        const int size = sqlite3_column_bytes(m_stmt, column);
        return p ? std::vector<BYTE>(p, p + size) : std::vector<BYTE>();
    }

private:
    sqlite3_stmt* m_stmt {nullptr};
};
