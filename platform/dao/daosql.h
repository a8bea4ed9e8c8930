#pragma once

// The SQL text of a record set, built apart from the engine: the names of the source, the
// columns and the sort checked and put in brackets, the select list, the orders, and the text of
// every statement the set prepares. Nothing here touches a database.

#include <cstddef>
#include <string>
#include <vector>

namespace zordao {

struct SortKey
{
    std::string column; // bracketed
    bool descending {false};
};

std::string trimmed(const std::string& text);
// A table, query or column name as the sources, sorts and field exchanges write it: a plain
// name, or a name in brackets that may also hold blanks. Gives the bare name, or throws
// CDaoException: names are pasted into the statements, so nothing else may pass.
std::string bareName(const std::string& written, const char* what);
std::string bracketed(const std::string& name);
// The keys of a sort text "a, [b c] DESC, d ASC", each a checked name in brackets; at most 16.
std::vector<SortKey> parseSort(const std::string& sort);

} // namespace zordao

class CDaoSql
{
public:
    void buildClauses();
    std::string afterPart(unsigned nulls, std::size_t equal) const;
    std::string whereClause(const std::string& extra = {}) const;

    // The first page: of a table, at most :lim rows after the filter's values; of a view, all.
    std::string firstPageSql() const;
    // The page after a key, one part of it (see afterPart); empty when the part holds no row.
    std::string pageAfterSql(unsigned nulls, std::size_t equal) const;
    // The set's last row.
    std::string lastRowSql() const;
    std::string countSql() const;
    // Adding a row with the given columns (by position), or changing them in the row whose id
    // is the last placeholder; removing the row whose id is the placeholder.
    std::string insertSql(const std::vector<std::size_t>& written) const;
    std::string updateSql(const std::vector<std::size_t>& written) const;
    std::string removeSql() const;

    std::string source; // bracketed
    bool isView {false};
    std::string filter;
    std::vector<zordao::SortKey> sort;
    std::vector<std::string> columns; // bracketed
    int rowidField {-1}; // the field that is the table's row id under its own name, if any
    std::string select; // the select list: row id (unless a field is), fields, other sort keys
    std::vector<std::size_t> keyPositions; // of each sort key in a row's values
    std::size_t extraKeys {0}; // the sort keys that are not fields
    std::string orderBy; // empty for a view without a sort
    std::string reverseOrderBy;
};
