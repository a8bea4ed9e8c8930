#include "platform/registry/registryroot.h"

#include "platform/registry/registry.h"
#include "platform/registry/statementuse.h"
#include "platform/registry/writetransaction.h"

#include <sqlite3.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <set>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

// A writer waits this long for another process's transaction before it gives up.
constexpr int c_busyTimeoutMs = 10000;
// File times advance by the kernel's clock tick only: a file changed this recently may change
// again without its time of change moving.
constexpr std::int64_t c_timeStampGrainNs = 50'000'000;

const char* const c_schema = "CREATE TABLE IF NOT EXISTS keys("
                             " id INTEGER PRIMARY KEY AUTOINCREMENT,"
                             " parent INTEGER,"
                             " name TEXT NOT NULL COLLATE NOCASE,"
                             " written INTEGER NOT NULL DEFAULT 0,"
                             " UNIQUE(parent, name));"
                             "INSERT OR IGNORE INTO keys(id, parent, name, written)"
                             " VALUES(0, NULL, '', 0);"
                             "CREATE TABLE IF NOT EXISTS vals("
                             " key INTEGER NOT NULL,"
                             " name TEXT NOT NULL COLLATE NOCASE,"
                             " type INTEGER NOT NULL,"
                             " data BLOB NOT NULL,"
                             " PRIMARY KEY(key, name));"
                             "PRAGMA user_version = 1;";

bool isMemberOf(gid_t gid)
{
    if (getegid() == gid)
        return true;
    int count = getgroups(0, nullptr);
    if (count <= 0)
        return false;
    std::vector<gid_t> groups(static_cast<size_t>(count));
    count = getgroups(count, groups.data());
    for (int i = 0; i < count; ++i) {
        if (groups[static_cast<size_t>(i)] == gid)
            return true;
    }
    return false;
}

// The permission bits that apply to this process: the owner's when it owns the file, the
// group's when it is a member of the file's group, the others' otherwise. The superuser is
// treated like anyone else, so a store made read-only stays read-only for it too.
bool modeGrants(const struct stat& st, mode_t ownerBits, mode_t groupBits, mode_t otherBits)
{
    if (st.st_uid == geteuid())
        return (st.st_mode & ownerBits) == ownerBits;
    if (isMemberOf(st.st_gid))
        return (st.st_mode & groupBits) == groupBits;
    return (st.st_mode & otherBits) == otherBits;
}

bool fileWritable(const struct stat& st)
{
    return modeGrants(st, S_IWUSR, S_IWGRP, S_IWOTH);
}

bool folderWritable(const struct stat& st)
{
    return S_ISDIR(st.st_mode)
        && modeGrants(st, S_IWUSR | S_IXUSR, S_IWGRP | S_IXGRP, S_IWOTH | S_IXOTH);
}

std::string parentFolder(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

// The folder and every missing folder above it, private to the user.
bool makeFolders(const std::string& folder)
{
    struct stat st
    {
    };
    if (stat(folder.c_str(), &st) == 0)
        return S_ISDIR(st.st_mode);
    const std::string parent = parentFolder(folder);
    if (parent != folder && !makeFolders(parent))
        return false;
    return mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST;
}

std::string uriPath(const std::string& path)
{
    std::string uri = "file:";
    for (const unsigned char c : path) {
        if (c == '?' || c == '#' || c == '%' || c < 0x20 || c >= 0x80) {
            char hex[4];
            std::snprintf(hex, sizeof hex, "%%%02X", c);
            uri += hex;
        } else {
            uri += static_cast<char>(c);
        }
    }
    return uri + "?immutable=1";
}

void reportDamage(const std::string& file, const std::string& reason)
{
    static std::mutex s_mutex;
    static std::set<std::string> s_reported;
    std::lock_guard lock(s_mutex);
    if (!s_reported.insert(file).second)
        return;
    std::fprintf(stderr,
        "zorvex registry: the settings file \"%s\" is damaged or unreadable (%s); "
        "it is read as empty and will not be written.\n",
        file.c_str(), reason.c_str());
    std::fflush(stderr);
}

} // namespace

CRegistryRoot::CRegistryRoot(std::string folder, std::string file, Layer layer)
    : m_folder(std::move(folder)), m_file(std::move(file)), m_layer(layer)
{ }

CRegistryRoot::~CRegistryRoot()
{
    closeDatabase();
}

std::int64_t CRegistryRoot::now()
{
    // 11644473600 seconds lie between 1 January 1601 and 1 January 1970.
    const auto sinceEpoch = std::chrono::system_clock::now().time_since_epoch();
    const auto ticks = std::chrono::duration_cast<std::chrono::nanoseconds>(sinceEpoch).count();
    return ticks / 100 + 116444736000000000LL;
}

void CRegistryRoot::closeDatabase()
{
    for (auto& [sql, stmt] : m_statements)
        sqlite3_finalize(stmt);
    m_statements.clear();
    if (m_db)
        sqlite3_close(m_db);
    m_db = nullptr;
    m_readWrite = false;
    m_hasSchema = false;
}

void CRegistryRoot::markDamaged(const std::string& reason)
{
    // The connection is closed at the start of the next call, not here: statements of the
    // running call are still in use.
    m_damaged = true;
    reportDamage(m_file, reason);
}

// Forgets the opened file when another file took its place or it was removed.
void CRegistryRoot::refresh()
{
    if (m_damaged && m_db)
        closeDatabase();
    struct stat st
    {
    };
    const bool exists = stat(m_file.c_str(), &st) == 0;
    if (!m_known) {
        if (m_db && exists)
            remember(st);
        return;
    }
    // The machine layer's file is read immutable: any change to it needs a new connection.
    const bool unchanged = m_layer == Layer::user
        || (!m_racy && st.st_size == m_size && st.st_ctim.tv_sec == m_changed.tv_sec
            && st.st_ctim.tv_nsec == m_changed.tv_nsec);
    if (exists && st.st_dev == m_device && st.st_ino == m_inode && unchanged)
        return;
    closeDatabase();
    m_damaged = false;
    m_known = false;
}

void CRegistryRoot::remember(const struct stat& st)
{
    m_known = true;
    m_device = st.st_dev;
    m_inode = st.st_ino;
    m_size = st.st_size;
    m_changed = st.st_ctim;
    // A file changed within the grain of its time stamps cannot be told unchanged by them:
    // it is opened afresh on the next call until it has been quiet a while.
    timespec now {};
    clock_gettime(CLOCK_REALTIME, &now);
    const std::int64_t sinceChange
        = (now.tv_sec - st.st_ctim.tv_sec) * 1'000'000'000LL + (now.tv_nsec - st.st_ctim.tv_nsec);
    m_racy = m_layer == Layer::machine && sinceChange < c_timeStampGrainNs;
}

bool CRegistryRoot::writable() const
{
    struct stat st
    {
    };
    if (stat(m_file.c_str(), &st) == 0 && !fileWritable(st))
        return false;
    // The folder must take new files (the write-ahead log beside the store); before it
    // exists, the nearest folder above it must take the new folders.
    std::string folder = m_folder;
    while (stat(folder.c_str(), &st) != 0) {
        if (errno != ENOENT)
            return false;
        const std::string parent = parentFolder(folder);
        if (parent == folder)
            return false;
        folder = parent;
    }
    return folderWritable(st);
}

CRegistryRoot::Opened CRegistryRoot::openDatabase(bool readWrite, bool immutable)
{
    struct stat st
    {
    };
    const bool existed = stat(m_file.c_str(), &st) == 0;
    int flags = readWrite ? (SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE) : SQLITE_OPEN_READONLY;
    flags |= SQLITE_OPEN_NOMUTEX;
    std::string name = m_file;
    if (immutable) {
        flags |= SQLITE_OPEN_URI;
        name = uriPath(m_file);
    }
    int rc = sqlite3_open_v2(name.c_str(), &m_db, flags, nullptr);
    if (rc != SQLITE_OK) {
        const std::string reason = m_db ? sqlite3_errmsg(m_db) : sqlite3_errstr(rc);
        closeDatabase();
        if (!existed)
            return Opened::failed;
        m_damaged = true;
        reportDamage(m_file, reason);
        if (stat(m_file.c_str(), &st) == 0)
            remember(st);
        return Opened::damaged;
    }
    m_readWrite = readWrite;
    sqlite3_busy_timeout(m_db, c_busyTimeoutMs);

    // A file that is not a database, or fails its check, is left exactly as it is.
    std::string problem;
    sqlite3_stmt* check = nullptr;
    rc = sqlite3_prepare_v2(m_db, "PRAGMA quick_check", -1, &check, nullptr);
    if (rc == SQLITE_OK) {
        int rows = 0;
        while ((rc = sqlite3_step(check)) == SQLITE_ROW) {
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(check, 0));
            const std::string line = text ? text : "";
            if (rows++ == 0 && line == "ok")
                continue;
            if (problem.empty())
                problem = "integrity check: " + line;
        }
        sqlite3_finalize(check);
        if (rc == SQLITE_DONE)
            rc = SQLITE_OK;
    }
    if (rc == SQLITE_CANTOPEN && !readWrite && !immutable) {
        // A read-only store in a folder that takes no new files cannot get the shared
        // memory file of the write-ahead log; it is then read as a file nobody changes.
        closeDatabase();
        return openDatabase(false, true);
    }
    if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED || rc == SQLITE_NOMEM) {
        closeDatabase();
        return Opened::failed;
    }
    if (rc != SQLITE_OK && problem.empty())
        problem = sqlite3_errmsg(m_db);

    if (stat(m_file.c_str(), &st) == 0)
        remember(st);
    if (!problem.empty()) {
        closeDatabase();
        markDamaged(problem);
        return Opened::damaged;
    }

    if (readWrite) {
        // Switching to the write-ahead log needs a moment without other writers.
        const auto deadline
            = std::chrono::steady_clock::now() + std::chrono::milliseconds(c_busyTimeoutMs);
        while ((rc = sqlite3_exec(m_db, "PRAGMA journal_mode=WAL", nullptr, nullptr, nullptr))
                == SQLITE_BUSY
            && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        if (rc != SQLITE_OK) {
            closeDatabase();
            return Opened::failed;
        }
        sqlite3_exec(m_db, "PRAGMA synchronous=NORMAL", nullptr, nullptr, nullptr);
    }

    sqlite3_stmt* tables = nullptr;
    rc = sqlite3_prepare_v2(m_db,
        "SELECT COUNT(*) FROM sqlite_master WHERE type = 'table' AND name IN ('keys', 'vals')", -1,
        &tables, nullptr);
    if (rc == SQLITE_OK && sqlite3_step(tables) == SQLITE_ROW)
        m_hasSchema = sqlite3_column_int(tables, 0) == 2;
    sqlite3_finalize(tables);
    return Opened::ok;
}

int CRegistryRoot::ensureSchema()
{
    if (m_hasSchema)
        return SQLITE_OK;
    CWriteTransaction transaction(m_db);
    int rc = transaction.begin();
    if (rc != SQLITE_OK)
        return rc;
    rc = sqlite3_exec(m_db, c_schema, nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        return rc;
    rc = transaction.commit();
    if (rc == SQLITE_OK)
        m_hasSchema = true;
    return rc;
}

CRegistryRoot::Open CRegistryRoot::openForRead()
{
    refresh();
    if (m_damaged)
        return Open::empty;
    if (!m_db) {
        struct stat st
        {
        };
        if (stat(m_file.c_str(), &st) != 0)
            return Open::empty;
        const Opened opened = m_layer == Layer::machine ? openDatabase(false, true)
                                                        : openDatabase(writable(), false);
        if (opened != Opened::ok)
            return Open::empty;
    }
    return m_hasSchema ? Open::ready : Open::empty;
}

LONG CRegistryRoot::openForWrite()
{
    refresh();
    if (m_damaged)
        return ERROR_BADDB;
    if (m_layer == Layer::machine || !writable())
        return ERROR_ACCESS_DENIED;
    if (m_db && !m_readWrite)
        closeDatabase();
    if (!m_db) {
        if (!makeFolders(m_folder))
            return ERROR_ACCESS_DENIED;
        switch (openDatabase(true, false)) {
        case Opened::ok:
            break;
        case Opened::damaged:
            return ERROR_BADDB;
        case Opened::failed:
            return ERROR_CANTWRITE;
        }
    }
    const int rc = ensureSchema();
    return rc == SQLITE_OK ? ERROR_SUCCESS : failure(rc);
}

sqlite3_stmt* CRegistryRoot::statement(const char* sql)
{
    const auto found = m_statements.find(sql);
    if (found != m_statements.end())
        return found->second;
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v3(m_db, sql, -1, SQLITE_PREPARE_PERSISTENT, &stmt, nullptr) != SQLITE_OK) {
        sqlite3_finalize(stmt);
        return nullptr;
    }
    m_statements.emplace(sql, stmt);
    return stmt;
}

LONG CRegistryRoot::failure(int rc)
{
    switch (rc & 0xFF) {
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        markDamaged(m_db ? sqlite3_errmsg(m_db) : sqlite3_errstr(rc));
        return ERROR_BADDB;
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_AUTH:
    case SQLITE_CANTOPEN:
        return ERROR_ACCESS_DENIED;
    case SQLITE_NOMEM:
        return ERROR_OUTOFMEMORY;
    default:
        return ERROR_CANTWRITE;
    }
}

LONG CRegistryRoot::failure()
{
    return failure(m_db ? sqlite3_errcode(m_db) : SQLITE_ERROR);
}

LONG CRegistryRoot::findPath(
    std::int64_t from, const std::vector<std::string>& names, std::int64_t& id)
{
    std::int64_t current = from;
    for (const std::string& name : names) {
        CStatementUse find(statement("SELECT id FROM keys WHERE parent = ?1 AND name = ?2"));
        if (!find)
            return failure();
        find.bind(1, current);
        find.bind(2, name);
        const int rc = find.step();
        if (rc == SQLITE_DONE)
            return ERROR_FILE_NOT_FOUND;
        if (rc != SQLITE_ROW)
            return failure(rc);
        current = find.integer(0);
    }
    id = current;
    return ERROR_SUCCESS;
}

int CRegistryRoot::keyExists(std::int64_t key)
{
    CStatementUse find(statement("SELECT 1 FROM keys WHERE id = ?1"));
    if (!find)
        return -1;
    find.bind(1, key);
    const int rc = find.step();
    if (rc == SQLITE_ROW)
        return 1;
    return rc == SQLITE_DONE ? 0 : -1;
}

LONG CRegistryRoot::openKey(
    std::int64_t from, const std::vector<std::string>& names, std::int64_t& id)
{
    std::lock_guard lock(m_mutex);
    if (openForRead() == Open::empty) {
        if (!names.empty())
            return ERROR_FILE_NOT_FOUND;
        id = from;
        return ERROR_SUCCESS;
    }
    return findPath(from, names, id);
}

LONG CRegistryRoot::createKey(std::int64_t from, const std::vector<std::string>& names,
    bool forWrite, std::int64_t& id, bool& created)
{
    std::lock_guard lock(m_mutex);
    created = false;
    if (!forWrite) {
        if (openForRead() == Open::ready) {
            if (findPath(from, names, id) == ERROR_SUCCESS)
                return ERROR_SUCCESS;
        } else if (names.empty()) {
            id = from;
            return ERROR_SUCCESS;
        }
    }

    if (const LONG result = openForWrite(); result != ERROR_SUCCESS)
        return result;
    CWriteTransaction transaction(m_db);
    if (const int rc = transaction.begin(); rc != SQLITE_OK)
        return failure(rc);
    const int exists = keyExists(from);
    if (exists < 0)
        return failure();
    if (exists == 0)
        return ERROR_KEY_DELETED;

    const std::int64_t written = now();
    std::int64_t current = from;
    for (const std::string& name : names) {
        {
            CStatementUse find(statement("SELECT id FROM keys WHERE parent = ?1 AND name = ?2"));
            if (!find)
                return failure();
            find.bind(1, current);
            find.bind(2, name);
            const int rc = find.step();
            if (rc == SQLITE_ROW) {
                current = find.integer(0);
                continue;
            }
            if (rc != SQLITE_DONE)
                return failure(rc);
        }
        CStatementUse insert(
            statement("INSERT INTO keys(parent, name, written) VALUES(?1, ?2, ?3)"));
        CStatementUse touch(statement("UPDATE keys SET written = ?2 WHERE id = ?1"));
        if (!insert || !touch)
            return failure();
        insert.bind(1, current);
        insert.bind(2, name);
        insert.bind(3, written);
        if (const int rc = insert.step(); rc != SQLITE_DONE)
            return failure(rc);
        touch.bind(1, current);
        touch.bind(2, written);
        if (const int rc = touch.step(); rc != SQLITE_DONE)
            return failure(rc);
        current = sqlite3_last_insert_rowid(m_db);
        created = true;
    }
    if (const int rc = transaction.commit(); rc != SQLITE_OK) {
        created = false;
        return failure(rc);
    }
    id = current;
    return ERROR_SUCCESS;
}

LONG CRegistryRoot::queryValue(
    std::int64_t key, const std::string& name, DWORD& type, std::vector<BYTE>& data)
{
    std::lock_guard lock(m_mutex);
    if (openForRead() == Open::empty)
        return ERROR_FILE_NOT_FOUND;
    CStatementUse find(statement("SELECT type, data FROM vals WHERE key = ?1 AND name = ?2"));
    if (!find)
        return failure();
    find.bind(1, key);
    find.bind(2, name);
    const int rc = find.step();
    if (rc == SQLITE_ROW) {
        type = static_cast<DWORD>(find.integer(0));
        data = find.blob(1);
        return ERROR_SUCCESS;
    }
    if (rc != SQLITE_DONE)
        return failure(rc);
    return keyExists(key) == 0 ? ERROR_KEY_DELETED : ERROR_FILE_NOT_FOUND;
}

LONG CRegistryRoot::setValue(
    std::int64_t key, const std::string& name, DWORD type, const BYTE* data, DWORD size)
{
    std::lock_guard lock(m_mutex);
    if (const LONG result = openForWrite(); result != ERROR_SUCCESS)
        return result;
    CWriteTransaction transaction(m_db);
    if (const int rc = transaction.begin(); rc != SQLITE_OK)
        return failure(rc);
    const int exists = keyExists(key);
    if (exists < 0)
        return failure();
    if (exists == 0)
        return ERROR_KEY_DELETED;
    {
        // The spelling of the name first written stays; type and data are replaced.
        CStatementUse upsert(
            statement("INSERT INTO vals(key, name, type, data)"
                      " VALUES(?1, ?2, ?3, ?4) ON CONFLICT(key, name)"
                      " DO UPDATE SET type = excluded.type, data = excluded.data"));
        CStatementUse touch(statement("UPDATE keys SET written = ?2 WHERE id = ?1"));
        if (!upsert || !touch)
            return failure();
        upsert.bind(1, key);
        upsert.bind(2, name);
        upsert.bind(3, static_cast<std::int64_t>(type));
        upsert.bindBlob(4, data, size);
        if (const int rc = upsert.step(); rc != SQLITE_DONE)
            return failure(rc);
        touch.bind(1, key);
        touch.bind(2, now());
        if (const int rc = touch.step(); rc != SQLITE_DONE)
            return failure(rc);
    }
    if (const int rc = transaction.commit(); rc != SQLITE_OK)
        return failure(rc);
    return ERROR_SUCCESS;
}

LONG CRegistryRoot::deleteValue(std::int64_t key, const std::string& name)
{
    std::lock_guard lock(m_mutex);
    if (const LONG result = openForWrite(); result != ERROR_SUCCESS)
        return result;
    CWriteTransaction transaction(m_db);
    if (const int rc = transaction.begin(); rc != SQLITE_OK)
        return failure(rc);
    const int exists = keyExists(key);
    if (exists < 0)
        return failure();
    if (exists == 0)
        return ERROR_KEY_DELETED;
    {
        CStatementUse erase(statement("DELETE FROM vals WHERE key = ?1 AND name = ?2"));
        CStatementUse touch(statement("UPDATE keys SET written = ?2 WHERE id = ?1"));
        if (!erase || !touch)
            return failure();
        erase.bind(1, key);
        erase.bind(2, name);
        if (const int rc = erase.step(); rc != SQLITE_DONE)
            return failure(rc);
        if (sqlite3_changes(m_db) == 0)
            return ERROR_FILE_NOT_FOUND;
        touch.bind(1, key);
        touch.bind(2, now());
        if (const int rc = touch.step(); rc != SQLITE_DONE)
            return failure(rc);
    }
    if (const int rc = transaction.commit(); rc != SQLITE_OK)
        return failure(rc);
    return ERROR_SUCCESS;
}

LONG CRegistryRoot::enumKey(std::int64_t key, DWORD index, std::string& name, std::int64_t& written)
{
    std::lock_guard lock(m_mutex);
    if (openForRead() == Open::empty)
        return ERROR_NO_MORE_ITEMS;
    CStatementUse find(statement(
        "SELECT name, written FROM keys WHERE parent = ?1 ORDER BY name LIMIT 1 OFFSET ?2"));
    if (!find)
        return failure();
    find.bind(1, key);
    find.bind(2, static_cast<std::int64_t>(index));
    const int rc = find.step();
    if (rc == SQLITE_ROW) {
        name = find.text(0);
        written = find.integer(1);
        return ERROR_SUCCESS;
    }
    if (rc != SQLITE_DONE)
        return failure(rc);
    return keyExists(key) == 0 ? ERROR_KEY_DELETED : ERROR_NO_MORE_ITEMS;
}

LONG CRegistryRoot::enumValue(
    std::int64_t key, DWORD index, std::string& name, DWORD& type, std::vector<BYTE>& data)
{
    std::lock_guard lock(m_mutex);
    if (openForRead() == Open::empty)
        return ERROR_NO_MORE_ITEMS;
    CStatementUse find(statement(
        "SELECT name, type, data FROM vals WHERE key = ?1 ORDER BY rowid LIMIT 1 OFFSET ?2"));
    if (!find)
        return failure();
    find.bind(1, key);
    find.bind(2, static_cast<std::int64_t>(index));
    const int rc = find.step();
    if (rc == SQLITE_ROW) {
        name = find.text(0);
        type = static_cast<DWORD>(find.integer(1));
        data = find.blob(2);
        return ERROR_SUCCESS;
    }
    if (rc != SQLITE_DONE)
        return failure(rc);
    return keyExists(key) == 0 ? ERROR_KEY_DELETED : ERROR_NO_MORE_ITEMS;
}

LONG CRegistryRoot::queryInfo(std::int64_t key, ZorRegKeyInfo& info)
{
    std::lock_guard lock(m_mutex);
    info = ZorRegKeyInfo();
    if (openForRead() == Open::empty)
        return ERROR_SUCCESS;
    {
        CStatementUse find(statement("SELECT written FROM keys WHERE id = ?1"));
        if (!find)
            return failure();
        find.bind(1, key);
        const int rc = find.step();
        if (rc == SQLITE_DONE)
            return ERROR_KEY_DELETED;
        if (rc != SQLITE_ROW)
            return failure(rc);
        info.written = find.integer(0);
    }
    {
        CStatementUse keys(statement("SELECT COUNT(*), IFNULL(MAX(length(CAST(name AS BLOB))), 0)"
                                     " FROM keys WHERE parent = ?1"));
        if (!keys)
            return failure();
        keys.bind(1, key);
        if (const int rc = keys.step(); rc != SQLITE_ROW)
            return failure(rc);
        info.subKeys = static_cast<DWORD>(keys.integer(0));
        info.maxSubKeyLen = static_cast<DWORD>(keys.integer(1));
    }
    CStatementUse values(statement("SELECT COUNT(*), IFNULL(MAX(length(CAST(name AS BLOB))), 0),"
                                   " IFNULL(MAX(length(data)), 0) FROM vals WHERE key = ?1"));
    if (!values)
        return failure();
    values.bind(1, key);
    if (const int rc = values.step(); rc != SQLITE_ROW)
        return failure(rc);
    info.values = static_cast<DWORD>(values.integer(0));
    info.maxValueNameLen = static_cast<DWORD>(values.integer(1));
    info.maxValueLen = static_cast<DWORD>(values.integer(2));
    return ERROR_SUCCESS;
}

LONG CRegistryRoot::deleteTree(std::int64_t from, const std::vector<std::string>& names)
{
    std::lock_guard lock(m_mutex);
    if (const LONG result = openForWrite(); result != ERROR_SUCCESS)
        return result;
    CWriteTransaction transaction(m_db);
    if (const int rc = transaction.begin(); rc != SQLITE_OK)
        return failure(rc);
    std::int64_t target = 0;
    if (const LONG result = findPath(from, names, target); result != ERROR_SUCCESS)
        return result;
    if (target == 0)
        return ERROR_ACCESS_DENIED;
    {
        CStatementUse parent(statement("SELECT parent FROM keys WHERE id = ?1"));
        CStatementUse values(statement("WITH RECURSIVE sub(id) AS (SELECT ?1 UNION ALL"
                                       " SELECT k.id FROM keys AS k JOIN sub ON k.parent = sub.id)"
                                       " DELETE FROM vals WHERE key IN (SELECT id FROM sub)"));
        CStatementUse keys(statement("WITH RECURSIVE sub(id) AS (SELECT ?1 UNION ALL"
                                     " SELECT k.id FROM keys AS k JOIN sub ON k.parent = sub.id)"
                                     " DELETE FROM keys WHERE id IN (SELECT id FROM sub)"));
        CStatementUse touch(statement("UPDATE keys SET written = ?2 WHERE id = ?1"));
        if (!parent || !values || !keys || !touch)
            return failure();
        parent.bind(1, target);
        int rc = parent.step();
        if (rc == SQLITE_DONE)
            return ERROR_KEY_DELETED;
        if (rc != SQLITE_ROW)
            return failure(rc);
        const std::int64_t parentId = parent.integer(0);
        values.bind(1, target);
        if ((rc = values.step()) != SQLITE_DONE)
            return failure(rc);
        keys.bind(1, target);
        if ((rc = keys.step()) != SQLITE_DONE)
            return failure(rc);
        touch.bind(1, parentId);
        touch.bind(2, now());
        if ((rc = touch.step()) != SQLITE_DONE)
            return failure(rc);
    }
    if (const int rc = transaction.commit(); rc != SQLITE_OK)
        return failure(rc);
    return ERROR_SUCCESS;
}

LONG CRegistryRoot::subkeyEntries(std::int64_t key, std::vector<ZorRegEntry>& entries)
{
    std::lock_guard lock(m_mutex);
    entries.clear();
    if (openForRead() == Open::empty)
        return key == 0 ? ERROR_SUCCESS : ERROR_KEY_DELETED;
    CStatementUse find(statement("SELECT name, written FROM keys WHERE parent = ?1 ORDER BY name"));
    if (!find)
        return failure();
    find.bind(1, key);
    int rc = SQLITE_OK;
    while ((rc = find.step()) == SQLITE_ROW)
        entries.push_back(ZorRegEntry {find.text(0), find.integer(1), 0});
    if (rc != SQLITE_DONE)
        return failure(rc);
    return entries.empty() && keyExists(key) == 0 ? ERROR_KEY_DELETED : ERROR_SUCCESS;
}

LONG CRegistryRoot::valueEntries(std::int64_t key, std::vector<ZorRegEntry>& entries)
{
    std::lock_guard lock(m_mutex);
    entries.clear();
    if (openForRead() == Open::empty)
        return key == 0 ? ERROR_SUCCESS : ERROR_KEY_DELETED;
    CStatementUse find(
        statement("SELECT name, length(data) FROM vals WHERE key = ?1 ORDER BY rowid"));
    if (!find)
        return failure();
    find.bind(1, key);
    int rc = SQLITE_OK;
    while ((rc = find.step()) == SQLITE_ROW)
        entries.push_back(ZorRegEntry {find.text(0), 0, static_cast<DWORD>(find.integer(1))});
    if (rc != SQLITE_DONE)
        return failure(rc);
    return entries.empty() && keyExists(key) == 0 ? ERROR_KEY_DELETED : ERROR_SUCCESS;
}

void CRegistryRoot::storedSpelling(std::vector<std::string>& names)
{
    std::lock_guard lock(m_mutex);
    if (openForRead() == Open::empty)
        return;
    std::int64_t current = 0;
    for (std::string& name : names) {
        CStatementUse find(statement("SELECT id, name FROM keys WHERE parent = ?1 AND name = ?2"));
        if (!find)
            return;
        find.bind(1, current);
        find.bind(2, name);
        if (find.step() != SQLITE_ROW)
            return;
        current = find.integer(0);
        name = find.text(1);
    }
}

void CRegistryRoot::closeFile()
{
    std::lock_guard lock(m_mutex);
    closeDatabase();
    m_known = false;
    m_damaged = false;
}
