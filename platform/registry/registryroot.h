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
//
// A root of the machine-wide layer is only ever read: its file is opened immutable (no locks,
// no log files beside it, nothing written), and it is opened afresh whenever its size or time
// of change differ from when it was opened, so a registration made meanwhile is seen.

#include "platform/types/wintypes.h"

#include <cstdint>
#include <ctime>
#include <map>
#include <mutex>
#include <string>
#include <sys/stat.h>
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

// A subkey (its name and time of the last write) or a value (its name and size) in a listing.
struct ZorRegEntry
{
    std::string name;
    std::int64_t written {0};
    DWORD size {0};
};

class CRegistryRoot
{
public:
    enum class Layer { user, machine };

    CRegistryRoot(std::string folder, std::string file, Layer layer = Layer::user);
    ~CRegistryRoot();
    CRegistryRoot(const CRegistryRoot&) = delete;
    CRegistryRoot& operator=(const CRegistryRoot&) = delete;

    const std::string& file() const { return m_file; }
    // Whether a write would be let through: the file's (or, before it exists, the folder's)
    // mode bits for this process.
    bool writable() const;

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

    // The subkeys of a key in alphabetical order without regard to case, and its values in
    // the order first written. ERROR_KEY_DELETED when the key does not exist.
    LONG subkeyEntries(std::int64_t key, std::vector<ZorRegEntry>& entries);
    LONG valueEntries(std::int64_t key, std::vector<ZorRegEntry>& entries);
    // Replaces each name of the path by the spelling stored, as far as the keys exist.
    void storedSpelling(std::vector<std::string>& names);
    // Closes the file, so that what this process wrote is all in it (its log folded in and
    // removed); the next call opens it again.
    void closeFile();

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
    void remember(const struct stat& st);

    sqlite3_stmt* statement(const char* sql);
    LONG findPath(std::int64_t from, const std::vector<std::string>& names, std::int64_t& id);
    // 1 when the key exists, 0 when not, -1 on a store error.
    int keyExists(std::int64_t key);
    LONG failure(int rc);
    LONG failure();

    std::string m_folder;
    std::string m_file;
    Layer m_layer {Layer::user};
    std::mutex m_mutex;
    sqlite3* m_db {nullptr};
    bool m_readWrite {false};
    bool m_hasSchema {false};
    bool m_damaged {false};
    // The file as last opened or found damaged; a different file there is opened afresh.
    bool m_known {false};
    dev_t m_device {0};
    ino_t m_inode {0};
    // Size and time of change of the machine layer's file when it was opened.
    off_t m_size {0};
    timespec m_changed {};
    bool m_racy {false};
    std::map<std::string, sqlite3_stmt*> m_statements;
};
