#include "platform/dao/daosql.h"

#include "platform/dao/daoexception.h"
#include "platform/types/textchars.h"

#include <cctype>
#include <sqlite3.h>

namespace zordao {

namespace {

// The pages continue after a key whose pattern of NULL values is one bit per sort column.
constexpr std::size_t c_maxSortKeys = 16;

} // namespace

std::string trimmed(const std::string& text)
{
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && std::isspace(static_cast<unsigned char>(text[begin])))
        ++begin;
    while (end > begin && std::isspace(static_cast<unsigned char>(text[end - 1])))
        --end;
    return text.substr(begin, end - begin);
}

std::string bareName(const std::string& written, const char* what)
{
    std::string name = trimmed(written);
    bool bracketed = false;
    if (name.size() >= 2 && name.front() == '[' && name.back() == ']') {
        name = name.substr(1, name.size() - 2);
        bracketed = true;
    }
    bool valid = !name.empty() && name.front() != ' ' && name.back() != ' '
        && !std::isdigit(static_cast<unsigned char>(name.front()));
    for (char c : name) {
        const bool word = std::isalnum(static_cast<unsigned char>(c)) || c == '_';
        if (!word && !(bracketed && c == ' '))
            valid = false;
    }
    if (!valid)
        throw CDaoException(SQLITE_ERROR, std::string("invalid ") + what + " '" + written + "'");
    return name;
}

std::string bracketed(const std::string& name)
{
    return "[" + name + "]";
}

std::vector<SortKey> parseSort(const std::string& sort)
{
    std::vector<SortKey> keys;
    if (trimmed(sort).empty())
        return keys;
    std::size_t start = 0;
    while (start <= sort.size()) {
        std::size_t comma = sort.find(',', start);
        if (comma == std::string::npos)
            comma = sort.size();
        std::string item = trimmed(sort.substr(start, comma - start));
        SortKey key;
        const std::size_t blank = item.find_last_of(' ');
        if (blank != std::string::npos) {
            const std::string word = item.substr(blank + 1);
            if (zorEqualsNoCase(word, "DESC") || zorEqualsNoCase(word, "ASC")) {
                key.descending = zorEqualsNoCase(word, "DESC");
                item = trimmed(item.substr(0, blank));
            }
        }
        key.column = bracketed(bareName(item, "sort column"));
        keys.push_back(key);
        if (keys.size() > c_maxSortKeys)
            throw CDaoException(SQLITE_ERROR, "invalid sort '" + sort + "': too many columns");
        start = comma + 1;
    }
    return keys;
}

} // namespace zordao

using namespace zordao;

// The rows after a key in the set's order, in parts: part `equal` holds the rows whose first
// `equal` sort keys are the key's and whose next one (after the last key, the row id) comes
// after the key's. The parts follow one another in the set's order, the one sharing the
// most keys first, and each is a plain range of an index on the sort columns, so the engine
// seeks to it and tests no row against the key. `nulls` is the key's pattern of NULL values
// (bit i set: key i is NULL); ascending keys have NULLs first, descending ones last, as the
// engine sorts them. Empty when no row can be in the part (nothing sorts after a NULL of a
// descending key).
std::string CDaoSql::afterPart(unsigned nulls, std::size_t equal) const
{
    auto keyName = [](std::size_t i) { return ":k" + std::to_string(i); };
    const bool isNull = (nulls >> equal & 1u) != 0;
    std::string condition;
    for (std::size_t i = 0; i < equal; ++i)
        condition += sort[i].column + " IS " + keyName(i) + " AND ";
    if (equal == sort.size())
        return condition + "rowid > :rid";
    const std::string& c = sort[equal].column;
    if (!sort[equal].descending)
        return condition + (isNull ? c + " IS NOT NULL" : c + " > " + keyName(equal));
    if (!isNull)
        return condition + "(" + c + " < " + keyName(equal) + " OR " + c + " IS NULL)";
    return std::string();
}

// The select list and the orders, from the sort and the columns. A table's order ends with
// the row id, which makes it total; a view has none. The row id is read as a column of its
// own only when no field is the table's row id under its own name.
void CDaoSql::buildClauses()
{
    select = isView || rowidField >= 0 ? std::string() : std::string("rowid");
    for (const std::string& column : columns)
        select += (select.empty() ? "" : ", ") + column;
    // A sort key that is a field is read once, as the field.
    keyPositions.clear();
    extraKeys = 0;
    for (const SortKey& key : sort) {
        std::size_t position = 0;
        while (position < columns.size() && !zorEqualsNoCase(columns[position], key.column))
            ++position;
        if (position == columns.size()) {
            position = columns.size() + extraKeys++;
            select += (select.empty() ? "" : ", ") + key.column;
        }
        keyPositions.push_back(position);
    }
    if (select.empty())
        select = "1";
    orderBy.clear();
    reverseOrderBy.clear();
    for (const SortKey& key : sort) {
        orderBy += (orderBy.empty() ? "" : ", ") + key.column + (key.descending ? " DESC" : " ASC");
        reverseOrderBy += (reverseOrderBy.empty() ? "" : ", ") + key.column
            + (key.descending ? " ASC" : " DESC");
    }
    if (!isView) {
        orderBy += orderBy.empty() ? "rowid ASC" : ", rowid ASC";
        reverseOrderBy += reverseOrderBy.empty() ? "rowid DESC" : ", rowid DESC";
    }
}

std::string CDaoSql::whereClause(const std::string& extra) const
{
    std::string where;
    if (!filter.empty())
        where = "(" + filter + ")";
    if (!extra.empty())
        where += (where.empty() ? "" : " AND ") + extra;
    return where.empty() ? "" : " WHERE " + where;
}

std::string CDaoSql::firstPageSql() const
{
    if (isView)
        return "SELECT " + select + " FROM " + source + whereClause()
            + (orderBy.empty() ? "" : " ORDER BY " + orderBy);
    return "SELECT " + select + " FROM " + source + whereClause() + " ORDER BY " + orderBy
        + " LIMIT :lim";
}

std::string CDaoSql::pageAfterSql(unsigned nulls, std::size_t equal) const
{
    const std::string condition = afterPart(nulls, equal);
    if (condition.empty())
        return std::string();
    return "SELECT " + select + " FROM " + source + whereClause(condition) + " ORDER BY " + orderBy
        + " LIMIT :lim";
}

std::string CDaoSql::lastRowSql() const
{
    return "SELECT " + select + " FROM " + source + whereClause() + " ORDER BY " + reverseOrderBy
        + " LIMIT 1";
}

std::string CDaoSql::countSql() const
{
    return "SELECT count(*) FROM " + source + whereClause();
}

std::string CDaoSql::insertSql(const std::vector<std::size_t>& written) const
{
    std::string names;
    std::string marks;
    for (std::size_t c : written) {
        names += (names.empty() ? "" : ", ") + columns[c];
        marks += marks.empty() ? "?" : ", ?";
    }
    return names.empty() ? "INSERT INTO " + source + " DEFAULT VALUES"
                         : "INSERT INTO " + source + " (" + names + ") VALUES (" + marks + ")";
}

std::string CDaoSql::updateSql(const std::vector<std::size_t>& written) const
{
    std::string sets;
    for (std::size_t c : written)
        sets += (sets.empty() ? "" : ", ") + columns[c] + " = ?";
    return sets.empty() ? "UPDATE " + source + " SET rowid = rowid WHERE rowid = ?"
                        : "UPDATE " + source + " SET " + sets + " WHERE rowid = ?";
}

std::string CDaoSql::removeSql() const
{
    return "DELETE FROM " + source + " WHERE rowid = ?";
}
