#include "platform/dao/daorecordset.h"

#include "platform/dao/daodatabase.h"
#include "platform/dao/daoexception.h"
#include "platform/dao/daosql.h"
#include "platform/registry/statementuse.h"
#include "platform/types/textchars.h"

#include <cctype>
#include <map>
#include <sqlite3.h>
#include <utility>

namespace {

// The first page holds one row, so opening a set to look at its first row or to walk a
// handful of rows reads no more than that; later pages double up to this size.
constexpr std::size_t c_maxPageRows = 4096;

const char* const c_noCurrentRecord = "No current record.";
const char* const c_recordDeleted = "Record is deleted.";
const char* const c_readOnly = "Cannot update. Database or object is read-only.";

// The column's value as the step left it. The connection is opened without a lock of its own
// (one thread at a time), so the value may be read through the value interfaces, one call for
// its type and one for its content.
void readValue(sqlite3_stmt* stmt, int column, DaoValue& v)
{
    sqlite3_value* value = sqlite3_column_value(stmt, column);
    switch (sqlite3_value_type(value)) {
    case SQLITE_INTEGER:
        v.kind = DaoValue::integer;
        v.i = sqlite3_value_int64(value);
        break;
    case SQLITE_FLOAT:
        v.kind = DaoValue::real;
        v.d = sqlite3_value_double(value);
        break;
    case SQLITE_TEXT:
    case SQLITE_BLOB: {
        v.kind = DaoValue::text;
        const auto* text = static_cast<const char*>(sqlite3_value_blob(value));
        v.s.assign(text ? text : "", static_cast<std::size_t>(sqlite3_value_bytes(value)));
        break;
    }
    default:
        v.kind = DaoValue::null;
        break;
    }
}

int bindValue(sqlite3_stmt* stmt, int index, const DaoValue& v)
{
    switch (v.kind) {
    case DaoValue::integer:
        return sqlite3_bind_int64(stmt, index, v.i);
    case DaoValue::real:
        return sqlite3_bind_double(stmt, index, v.d);
    case DaoValue::text:
        return sqlite3_bind_text(
            stmt, index, v.s.data(), static_cast<int>(v.s.size()), SQLITE_TRANSIENT);
    case DaoValue::null:
        break;
    }
    return sqlite3_bind_null(stmt, index);
}

int bindVariant(sqlite3_stmt* stmt, int index, const COleVariant& v)
{
    switch (v.vt) {
    case VT_EMPTY:
    case VT_NULL:
        return sqlite3_bind_null(stmt, index);
    case VT_BOOL:
        return sqlite3_bind_int(stmt, index, v.boolVal != VARIANT_FALSE ? 1 : 0);
    case VT_UI1:
        return sqlite3_bind_int(stmt, index, v.bVal);
    case VT_I1:
        return sqlite3_bind_int(stmt, index, v.cVal);
    case VT_I2:
        return sqlite3_bind_int(stmt, index, v.iVal);
    case VT_UI2:
        return sqlite3_bind_int(stmt, index, v.uiVal);
    case VT_I4:
    case VT_INT:
        return sqlite3_bind_int(stmt, index, v.lVal);
    case VT_UI4:
    case VT_UINT:
        return sqlite3_bind_int64(stmt, index, v.ulVal);
    case VT_I8:
        return sqlite3_bind_int64(stmt, index, v.llVal);
    case VT_R4:
        return sqlite3_bind_double(stmt, index, v.fltVal);
    case VT_R8:
        return sqlite3_bind_double(stmt, index, v.dblVal);
    case VT_DATE:
        return sqlite3_bind_double(stmt, index, v.date);
    case VT_CY:
        return sqlite3_bind_double(stmt, index, static_cast<double>(v.cyVal.int64) / 10000.0);
    case VT_BSTR:
        return sqlite3_bind_text(
            stmt, index, v.bstrVal.data(), static_cast<int>(v.bstrVal.size()), SQLITE_TRANSIENT);
    default:
        break;
    }
    throw CDaoException(SQLITE_MISMATCH,
        "a filter value of variant type " + std::to_string(v.vt) + " cannot be compared");
}

} // namespace

using namespace zordao;

struct CDaoRecordset::Impl : CDaoSql
{
    enum class Position { bof, row, eof };
    enum class Pending { none, edit, add };

    ~Impl() { finalize(); }

    void finalize()
    {
        for (sqlite3_stmt** stmt : {&first, &last, &count, &insert, &update, &remove})
            sqlite3_finalize(std::exchange(*stmt, nullptr));
        for (auto& [mask, parts] : seek) {
            for (sqlite3_stmt* stmt : parts)
                sqlite3_finalize(stmt);
        }
        seek.clear();
    }

    [[noreturn]] void fail(int rc) const { throw CDaoException(rc, sqlite3_errmsg(db)); }

    sqlite3_stmt* prepare(const std::string& sql) const
    {
        sqlite3_stmt* stmt = nullptr;
        const char* tail = nullptr;
        const int rc
            = sqlite3_prepare_v3(db, sql.c_str(), -1, SQLITE_PREPARE_PERSISTENT, &stmt, &tail);
        if (rc != SQLITE_OK)
            fail(rc);
        if (tail != nullptr && !trimmed(tail).empty()) {
            sqlite3_finalize(stmt);
            throw CDaoException(SQLITE_ERROR, "the filter holds more than one statement");
        }
        return stmt;
    }

    // Binds the filter's values to the first placeholders and checks that the filter takes
    // exactly as many as it was given; `named` is the number of the statement's own
    // placeholders after the filter's.
    void bindFilter(sqlite3_stmt* stmt, const std::vector<COleVariant>& params, int named) const
    {
        const int expected = sqlite3_bind_parameter_count(stmt) - named;
        const int given = static_cast<int>(params.size());
        if (given < expected)
            throw CDaoException(
                SQLITE_RANGE, "Too few parameters. Expected " + std::to_string(expected) + ".");
        if (given > expected)
            throw CDaoException(
                SQLITE_RANGE, "Too many parameters. Expected " + std::to_string(expected) + ".");
        for (int i = 0; i < given; ++i) {
            const int rc = bindVariant(stmt, i + 1, params[static_cast<std::size_t>(i)]);
            if (rc != SQLITE_OK)
                fail(rc);
        }
    }

    void bindNamed(sqlite3_stmt* stmt, const char* name, const DaoValue& v) const
    {
        const int index = sqlite3_bind_parameter_index(stmt, name);
        if (index == 0)
            return;
        const int rc = bindValue(stmt, index, v);
        if (rc != SQLITE_OK)
            fail(rc);
    }

    // Steps the statement into the page from its row `at` on (at most `limit` rows, 0 for all),
    // then resets it so that nothing stays active. Gives the number of rows read.
    std::size_t readRows(sqlite3_stmt* stmt, std::size_t limit, std::size_t at)
    {
        const CStatementUse use(stmt);
        const std::size_t stride = columns.size() + extraKeys;
        const bool rowidSelected = !isView && rowidField < 0;
        const int offset = rowidSelected ? 1 : 0;
        std::size_t n = at;
        int rc = SQLITE_OK;
        while ((limit == 0 || n < at + limit) && (rc = sqlite3_step(stmt)) == SQLITE_ROW) {
            if (rowids.size() <= n) {
                rowids.resize(n + 1);
                deleted.resize(n + 1);
                values.resize((n + 1) * stride);
            }
            deleted[n] = false;
            DaoValue* row = values.data() + n * stride;
            for (std::size_t c = 0; c < stride; ++c)
                readValue(stmt, static_cast<int>(c) + offset, row[c]);
            if (isView)
                rowids[n] = 0;
            else if (rowidSelected)
                rowids[n] = sqlite3_column_int64(stmt, 0);
            else
                rowids[n] = row[rowidField].i;
            ++n;
        }
        if (rc != SQLITE_ROW && rc != SQLITE_DONE && rc != SQLITE_OK)
            throw CDaoException(rc, sqlite3_errmsg(db));
        return n - at;
    }

    // The page holds n rows now; the set stands on its first one.
    void finishPage(std::size_t n)
    {
        pageRows = n;
        index = 0;
        // The next page continues after this key, as read: a later Edit of the row does not
        // move the place where the set goes on.
        if (n > 0 && !isView) {
            const DaoValue* last = fieldsOf(n - 1);
            lastKey.clear();
            for (std::size_t position : keyPositions)
                lastKey.push_back(last[position]);
            lastRowid = rowids[n - 1];
        }
    }

    // Steps the statement into a new page, as readRows does, and stands on its first row.
    std::size_t readPage(sqlite3_stmt* stmt, std::size_t limit)
    {
        const std::size_t n = readRows(stmt, limit, 0);
        finishPage(n);
        return n;
    }

    const DaoValue* fieldsOf(std::size_t row) const
    {
        return values.data() + row * (columns.size() + extraKeys);
    }

    sqlite3* db {nullptr};
    bool readOnly {false};
    bool appendOnly {false};
    std::vector<COleVariant> params;
    std::vector<bool> assigned; // the column is the table's integer primary key
    std::vector<DaoBinding> bindings; // the field members, one per column

    sqlite3_stmt* first {nullptr};
    sqlite3_stmt* last {nullptr};
    sqlite3_stmt* count {nullptr};
    sqlite3_stmt* insert {nullptr};
    sqlite3_stmt* update {nullptr};
    sqlite3_stmt* remove {nullptr};
    // Per pattern of NULL values in the key, the statements of the parts after it, in order.
    std::map<unsigned, std::vector<sqlite3_stmt*>> seek;

    // The page: per row its id, its fields and the sort keys that are not fields (in one
    // array), whether it was deleted through the set.
    std::vector<LONGLONG> rowids;
    std::vector<DaoValue> values;
    std::vector<bool> deleted;
    std::vector<DaoValue> lastKey; // the sort keys of the page's last row
    LONGLONG lastRowid {0};
    std::size_t pageRows {0};
    std::size_t index {0};
    bool pageIsLast {true};
    std::size_t nextPageRows {1};

    Position position {Position::bof};
    bool bof {true};
    Pending pending {Pending::none};
};

CDaoRecordset::CDaoRecordset(CDaoDatabase* pDatabase) : m_pDatabase(pDatabase) { }

CDaoRecordset::~CDaoRecordset()
{
    Close();
}

void CDaoRecordset::Open(int nOpenType, const char* lpszSQL, int nOptions)
{
    Close();
    if (m_pDatabase == nullptr || !m_pDatabase->IsOpen())
        throw CDaoException(SQLITE_MISUSE, "the record set's database is not open");

    auto p = std::make_unique<Impl>();
    p->db = m_pDatabase->handle();
    const std::string written = lpszSQL ? std::string(lpszSQL) : GetDefaultSQL();
    const std::string name = bareName(written, "table or query name");
    p->source = bracketed(name);

    {
        sqlite3_stmt* stmt = p->prepare("SELECT type FROM sqlite_schema WHERE type IN "
                                        "('table', 'view') AND name = ?1 COLLATE NOCASE");
        sqlite3_bind_text(stmt, 1, name.c_str(), -1, SQLITE_TRANSIENT);
        const int rc = sqlite3_step(stmt);
        const bool found = rc == SQLITE_ROW;
        if (found)
            p->isView = std::string(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)))
                == "view";
        sqlite3_finalize(stmt);
        if (rc != SQLITE_ROW && rc != SQLITE_DONE)
            p->fail(rc);
        if (!found)
            throw CDaoException(SQLITE_ERROR, "no such table: " + name);
    }

    CDaoFieldExchange names(CDaoFieldExchange::collectNames);
    DoFieldExchange(&names);
    std::string integerKey;
    bool rowidAlias = false;
    if (!p->isView) {
        sqlite3_stmt* stmt = p->prepare("SELECT name, type, pk FROM pragma_table_info(?1)");
        sqlite3_bind_text(stmt, 1, name.c_str(), -1, SQLITE_TRANSIENT);
        int keys = 0;
        std::string keyName;
        std::string keyType;
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            if (sqlite3_column_int(stmt, 2) > 0) {
                ++keys;
                const unsigned char* columnName = sqlite3_column_text(stmt, 0);
                const unsigned char* columnType = sqlite3_column_text(stmt, 1);
                keyName = columnName ? reinterpret_cast<const char*>(columnName) : "";
                keyType = columnType ? reinterpret_cast<const char*>(columnType) : "";
            }
        }
        sqlite3_finalize(stmt);
        if (keys == 1 && zorEqualsNoCase(keyType, "INTEGER"))
            integerKey = keyName;
        // An integer primary key is the row id under another name unless the engine keeps an
        // index for it (declared descending, the one exception the engine makes).
        if (!integerKey.empty()) {
            stmt = p->prepare("SELECT count(*) FROM pragma_index_list(?1) WHERE origin = 'pk'");
            sqlite3_bind_text(stmt, 1, name.c_str(), -1, SQLITE_TRANSIENT);
            rowidAlias = sqlite3_step(stmt) == SQLITE_ROW && sqlite3_column_int(stmt, 0) == 0;
            sqlite3_finalize(stmt);
        }
    }
    for (std::size_t i = 0; i < names.m_names.size(); ++i) {
        const std::string bare = bareName(names.m_names[i], "column name");
        const bool key = !integerKey.empty() && zorEqualsNoCase(bare, integerKey);
        if (key && rowidAlias && p->rowidField < 0)
            p->rowidField = static_cast<int>(i);
        p->columns.push_back(bracketed(bare));
        p->assigned.push_back(key);
    }
    p->bindings = std::move(names.m_bindings);
    m_nFields = static_cast<UINT>(p->columns.size());

    p->filter = trimmed(m_strFilter);
    p->params = m_filterParams;
    p->sort = parseSort(m_strSort);
    p->readOnly = p->isView || nOpenType == dbOpenSnapshot || (nOptions & dbReadOnly) != 0
        || !m_pDatabase->CanUpdate();
    p->appendOnly = (nOptions & dbAppendOnly) != 0;
    if (p->appendOnly && p->readOnly)
        throw CDaoException(SQLITE_READONLY, c_readOnly);

    p->buildClauses();

    m_p = std::move(p);
    m_pDatabase->attach(this);
    try {
        if (m_p->appendOnly) {
            m_p->position = Impl::Position::eof;
            m_p->bof = true;
        } else {
            readFirst();
        }
    } catch (...) {
        Close();
        throw;
    }
}

void CDaoRecordset::Close()
{
    if (!m_p)
        return;
    m_p.reset();
    if (m_pDatabase != nullptr)
        m_pDatabase->detach(this);
}

BOOL CDaoRecordset::IsOpen() const
{
    return m_p != nullptr;
}

BOOL CDaoRecordset::CanUpdate() const
{
    return m_p && !m_p->readOnly;
}

BOOL CDaoRecordset::CanAppend() const
{
    return CanUpdate();
}

BOOL CDaoRecordset::IsBOF() const
{
    return m_p && m_p->bof;
}

BOOL CDaoRecordset::IsEOF() const
{
    return m_p && m_p->position == Impl::Position::eof;
}

BOOL CDaoRecordset::IsDeleted() const
{
    return m_p && m_p->position == Impl::Position::row && m_p->deleted[m_p->index];
}

void CDaoRecordset::readFirst()
{
    Impl& p = *m_p;
    std::size_t n = 0;
    if (p.isView) {
        if (p.first == nullptr)
            p.first = p.prepare(p.firstPageSql());
        p.bindFilter(p.first, p.params, 0);
        n = p.readPage(p.first, 0);
        p.pageIsLast = true;
    } else {
        if (p.first == nullptr)
            p.first = p.prepare(p.firstPageSql());
        p.nextPageRows = 1;
        p.bindFilter(p.first, p.params, 1);
        sqlite3_bind_int64(p.first, sqlite3_bind_parameter_index(p.first, ":lim"),
            static_cast<sqlite3_int64>(p.nextPageRows));
        n = p.readPage(p.first, p.nextPageRows);
        p.pageIsLast = n < p.nextPageRows;
        p.nextPageRows *= 2;
    }
    p.position = n > 0 ? Impl::Position::row : Impl::Position::eof;
    p.bof = n == 0;
    if (n > 0)
        loadCurrent();
}

void CDaoRecordset::readAfterPage()
{
    Impl& p = *m_p;
    // Copied: reading the next page replaces them.
    const std::vector<DaoValue> key = p.lastKey;
    DaoValue rowid;
    rowid.kind = DaoValue::integer;
    rowid.i = p.lastRowid;

    unsigned nulls = 0;
    for (std::size_t i = 0; i < key.size(); ++i) {
        if (key[i].kind == DaoValue::null)
            nulls |= 1u << i;
    }
    std::vector<sqlite3_stmt*>& parts = p.seek[nulls];
    if (parts.empty()) {
        std::vector<sqlite3_stmt*> prepared;
        try {
            for (std::size_t equal = p.sort.size() + 1; equal-- > 0;) {
                const std::string sql = p.pageAfterSql(nulls, equal);
                prepared.push_back(sql.empty() ? nullptr : p.prepare(sql));
            }
        } catch (...) {
            for (sqlite3_stmt* stmt : prepared)
                sqlite3_finalize(stmt);
            throw;
        }
        parts = std::move(prepared);
    }
    const std::size_t limit = p.nextPageRows;
    std::size_t n = 0;
    for (sqlite3_stmt* stmt : parts) {
        if (n == limit)
            break;
        if (stmt == nullptr)
            continue;
        // The statement's own parameters are named, the filter's are not.
        int named = 0;
        for (int i = 1; i <= sqlite3_bind_parameter_count(stmt); ++i) {
            const char* name = sqlite3_bind_parameter_name(stmt, i);
            if (name != nullptr && name[0] == ':')
                ++named;
        }
        p.bindFilter(stmt, p.params, named);
        for (std::size_t i = 0; i < key.size(); ++i)
            p.bindNamed(stmt, (":k" + std::to_string(i)).c_str(), key[i]);
        p.bindNamed(stmt, ":rid", rowid);
        sqlite3_bind_int64(stmt, sqlite3_bind_parameter_index(stmt, ":lim"),
            static_cast<sqlite3_int64>(limit - n));
        n += p.readRows(stmt, limit - n, n);
    }
    p.finishPage(n);
    p.pageIsLast = n < limit;
    p.nextPageRows = std::min(p.nextPageRows * 2, c_maxPageRows);
    if (n == 0) {
        p.position = Impl::Position::eof;
        return;
    }
    loadCurrent();
}

void CDaoRecordset::loadCurrent()
{
    // Straight into the members bound when the set was opened.
    const DaoValue* row = m_p->fieldsOf(m_p->index);
    for (const DaoBinding& binding : m_p->bindings)
        zorDaoLoad(binding, *row++);
}

void CDaoRecordset::cancelPending()
{
    m_p->pending = Impl::Pending::none;
}

void CDaoRecordset::requireCurrent() const
{
    if (!m_p)
        throw CDaoException(SQLITE_MISUSE, "the record set is not open");
    if (m_p->position != Impl::Position::row)
        throw CDaoException(SQLITE_NOTFOUND, c_noCurrentRecord);
}

void CDaoRecordset::requireUpdatable() const
{
    if (!m_p)
        throw CDaoException(SQLITE_MISUSE, "the record set is not open");
    if (m_p->readOnly)
        throw CDaoException(SQLITE_READONLY, c_readOnly);
}

void CDaoRecordset::MoveFirst()
{
    if (!m_p)
        throw CDaoException(SQLITE_MISUSE, "the record set is not open");
    cancelPending();
    if (m_p->appendOnly)
        return;
    readFirst();
}

void CDaoRecordset::MoveNext()
{
    requireCurrent();
    cancelPending();
    Impl& p = *m_p;
    if (p.index + 1 < p.pageRows) {
        ++p.index;
        loadCurrent();
    } else if (p.pageIsLast) {
        p.position = Impl::Position::eof;
    } else {
        readAfterPage();
    }
}

void CDaoRecordset::MoveLast()
{
    if (!m_p)
        throw CDaoException(SQLITE_MISUSE, "the record set is not open");
    cancelPending();
    Impl& p = *m_p;
    if (p.appendOnly)
        return;
    if (p.isView) {
        readFirst();
        if (p.pageRows > 0) {
            p.index = p.pageRows - 1;
            loadCurrent();
        }
        return;
    }
    if (p.last == nullptr)
        p.last = p.prepare(p.lastRowSql());
    p.bindFilter(p.last, p.params, 0);
    const std::size_t n = p.readPage(p.last, 1);
    p.pageIsLast = true;
    p.position = n > 0 ? Impl::Position::row : Impl::Position::eof;
    p.bof = n == 0;
    if (n > 0)
        loadCurrent();
}

void CDaoRecordset::Requery()
{
    if (!m_p)
        throw CDaoException(SQLITE_MISUSE, "the record set is not open");
    // The statements were prepared for the old filter and sort.
    m_p->finalize();
    m_p->filter = trimmed(m_strFilter);
    m_p->params = m_filterParams;
    m_p->sort = parseSort(m_strSort);
    m_p->buildClauses();
    MoveFirst();
}

void CDaoRecordset::AddNew()
{
    requireUpdatable();
    m_p->pending = Impl::Pending::add;
    CDaoFieldExchange blank(CDaoFieldExchange::setDefaults);
    DoFieldExchange(&blank);
}

void CDaoRecordset::Edit()
{
    requireUpdatable();
    requireCurrent();
    if (IsDeleted())
        throw CDaoException(SQLITE_NOTFOUND, c_recordDeleted);
    m_p->pending = Impl::Pending::edit;
}

void CDaoRecordset::CancelUpdate()
{
    if (!m_p)
        return;
    cancelPending();
    if (m_p->position == Impl::Position::row)
        loadCurrent();
}

void CDaoRecordset::Update()
{
    requireUpdatable();
    Impl& p = *m_p;
    if (p.pending == Impl::Pending::none)
        throw CDaoException(SQLITE_MISUSE, "Update without AddNew or Edit.");

    CDaoFieldExchange store(CDaoFieldExchange::storeFields);
    DoFieldExchange(&store);
    std::vector<std::size_t> written;
    for (std::size_t c = 0; c < p.columns.size(); ++c) {
        if (!p.assigned[c])
            written.push_back(c);
    }

    sqlite3_stmt* stmt = nullptr;
    if (p.pending == Impl::Pending::add) {
        if (p.insert == nullptr)
            p.insert = p.prepare(p.insertSql(written));
        stmt = p.insert;
    } else {
        if (p.update == nullptr)
            p.update = p.prepare(p.updateSql(written));
        stmt = p.update;
    }
    {
        CStatementUse use(stmt);
        int bound = 0;
        for (std::size_t c : written) {
            const int rc = bindValue(stmt, ++bound, store.m_values[c]);
            if (rc != SQLITE_OK)
                p.fail(rc);
        }
        if (p.pending == Impl::Pending::edit)
            use.bind(++bound, p.rowids[p.index]);

        const int rc = use.step();
        if (rc != SQLITE_DONE)
            throw CDaoException(rc, sqlite3_errmsg(p.db));
    }

    if (p.pending == Impl::Pending::edit) {
        if (sqlite3_changes(p.db) == 0)
            throw CDaoException(SQLITE_NOTFOUND, c_recordDeleted);
        // The page keeps the row as it now is.
        DaoValue* fields = p.values.data() + p.index * (p.columns.size() + p.extraKeys);
        for (std::size_t c : written)
            fields[c] = store.m_values[c];
    }
    p.pending = Impl::Pending::none;
    if (p.position == Impl::Position::row)
        loadCurrent();
}

void CDaoRecordset::Delete()
{
    requireUpdatable();
    requireCurrent();
    Impl& p = *m_p;
    if (p.deleted[p.index])
        throw CDaoException(SQLITE_NOTFOUND, c_recordDeleted);
    cancelPending();
    if (p.remove == nullptr)
        p.remove = p.prepare(p.removeSql());
    {
        CStatementUse use(p.remove);
        use.bind(1, p.rowids[p.index]);
        const int rc = use.step();
        if (rc != SQLITE_DONE)
            throw CDaoException(rc, sqlite3_errmsg(p.db));
    }
    if (sqlite3_changes(p.db) == 0)
        throw CDaoException(SQLITE_NOTFOUND, c_recordDeleted);
    p.deleted[p.index] = true;
}

long CDaoRecordset::GetRecordCount()
{
    if (!m_p)
        throw CDaoException(SQLITE_MISUSE, "the record set is not open");
    Impl& p = *m_p;
    if (p.appendOnly)
        return 0;
    if (p.count == nullptr)
        p.count = p.prepare(p.countSql());
    CStatementUse use(p.count);
    p.bindFilter(p.count, p.params, 0);
    const int rc = use.step();
    if (rc != SQLITE_ROW)
        throw CDaoException(rc, sqlite3_errmsg(p.db));
    return static_cast<long>(use.integer(0));
}
