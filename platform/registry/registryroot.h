#pragma once

// One root of the registry: the SQLite file that holds its keys and values.
//
// Keys form a tree in table "keys" (id, parent, name, written); key 0 is the root itself.
// Values live in table "vals" (key, name, type, data), in the order they were first written.
// Names carry the NOCASE collation, which compares without regard to ASCII case and keeps the
// spelling stored. Every write runs in its own IMMEDIATE transaction on a connection in WAL
// mode with a busy timeout, so several processes may write at once and readers only ever see
// whole values.
//
// The file is opened when it is first needed: on the first read when it exists, on the first
// write otherwise, which also creates the folder. Each call checks that the file is still the
// one opened (same device and inode) and reopens it when it was replaced or removed.

#include "platform/types/wintypes.h"

#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <sys/types.h>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

struct ZorRegKeyInfo
{
    DWORD subKeys {0};
    DWORD maxSubKeyLen {0};
    DWORD values {0};
    DWORD maxValueNameLen {0};
    DWORD maxValueLen {0};
    std::int64_t written {0};
};

class CRegistryRoot
{
public:
    CRegistryRoot(std::string folder, std::string file);
    ~CRegistryRoot();
    CRegistryRoot(const CRegistryRoot&) = delete;
    CRegistryRoot& operator=(const CRegistryRoot&) = delete;

    const std::string& file() const { return m_file; }

    // Finds the key at the path below key `from`; an empty path gives `from` itself.
    LONG openKey(std::int64_t from, const std::vector<std::string>& names, std::int64_t& id);
    // Finds or creates the key at the path below `from` and every missing key on the way.
    // With forWrite false an existing key is found without writing to the store.
    LONG createKey(std::int64_t from, const std::vector<std::string>& names, bool forWrite,
        std::int64_t& id, bool& created);
    LONG queryValue(
        std::int64_t key, const std::string& name, DWORD& type, std::vector<BYTE>& data);
    LONG setValue(
        std::int64_t key, const std::string& name, DWORD type, const BYTE* data, DWORD size);
    LONG deleteValue(std::int64_t key, const std::string& name);
    LONG enumKey(std::int64_t key, DWORD index, std::string& name, std::int64_t& written);
    LONG enumValue(
        std::int64_t key, DWORD index, std::string& name, DWORD& type, std::vector<BYTE>& data);
    LONG queryInfo(std::int64_t key, ZorRegKeyInfo& info);
    // Deletes the key at the path below `from` (or `from` itself for an empty path) with its
    // whole subtree.
    LONG deleteTree(std::int64_t from, const std::vector<std::string>& names);

    // Now as the key times count it: 100 ns intervals since 1 January 1601 (UTC).
    static std::int64_t now();

private:
    enum class Open { ready, empty };
    enum class Opened { ok, damaged, failed };

    void refresh();
    Open openForRead();
    LONG openForWrite();
    Opened openDatabase(bool readWrite, bool immutable);
    int ensureSchema();
    void closeDatabase();
    void markDamaged(const std::string& reason);
    bool folderAndFileWritable() const;

    sqlite3_stmt* statement(const char* sql);
    LONG findPath(std::int64_t from, const std::vector<std::string>& names, std::int64_t& id);
    // 1 when the key exists, 0 when not, -1 on a store error.
    int keyExists(std::int64_t key);
    LONG failure(int rc);
    LONG failure();

    std::string m_folder;
    std::string m_file;
    std::mutex m_mutex;
    sqlite3* m_db {nullptr};
    bool m_readWrite {false};
    bool m_hasSchema {false};
    bool m_damaged {false};
    // The file as last opened or found damaged; a different file there is opened afresh.
    bool m_known {false};
    dev_t m_device {0};
    ino_t m_inode {0};
    std::map<std::string, sqlite3_stmt*> m_statements;
};
