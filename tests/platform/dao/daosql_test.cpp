// The SQL text of record sets, apart from any database: names, sorts and the statements.

#include "platform/dao/daoexception.h"
#include "platform/dao/daosql.h"

#include <gtest/gtest.h>

namespace {

struct NameCase
{
    const char* written;
    const char* bare; // nullptr: rejected
};

TEST(DaoSqlNames, OnlyPlainOrBracketedNamesPass)
{
    for (const NameCase& c : {NameCase {"Outages", "Outages"}, NameCase {"  Outages ", "Outages"},
             NameCase {"[Start Time]", "Start Time"}, NameCase {"_a1", "_a1"},
             NameCase {"Start Time", nullptr}, // a blank only inside brackets
             NameCase {"[ a]", nullptr}, NameCase {"1st", nullptr}, NameCase {"[]", nullptr},
             NameCase {"a;DROP", nullptr}, NameCase {"[a]]", nullptr}, NameCase {"a'", nullptr}}) {
        if (c.bare == nullptr)
            EXPECT_THROW(zordao::bareName(c.written, "name"), CDaoException) << c.written;
        else
            EXPECT_EQ(zordao::bareName(c.written, "name"), c.bare) << c.written;
    }
}

struct SortCase
{
    const char* sort;
    const char* orderBy; // nullptr: rejected
    const char* reverse;
};

TEST(DaoSqlSort, KeysAreCheckedAndTheTableOrderEndsWithTheRowId)
{
    for (const SortCase& c : {SortCase {"", "rowid ASC", "rowid DESC"},
             SortCase {"a", "[a] ASC, rowid ASC", "[a] DESC, rowid DESC"},
             SortCase {"a desc, [b c] Asc", "[a] DESC, [b c] ASC, rowid ASC",
                 "[a] ASC, [b c] DESC, rowid DESC"},
             SortCase {"a DESC LIMIT", nullptr, nullptr}, SortCase {"a,", nullptr, nullptr},
             SortCase {"a, (select 1)", nullptr, nullptr},
             SortCase {"a,b,c,d,e,f,g,h,i,j,k,l,m,n,o,p,q", nullptr, nullptr}}) {
        CDaoSql sql;
        sql.source = "[t]";
        sql.columns = {"[A]", "[x]"};
        if (c.orderBy == nullptr) {
            EXPECT_THROW(zordao::parseSort(c.sort), CDaoException) << c.sort;
            continue;
        }
        sql.sort = zordao::parseSort(c.sort);
        sql.buildClauses();
        EXPECT_EQ(sql.orderBy, c.orderBy) << c.sort;
        EXPECT_EQ(sql.reverseOrderBy, c.reverse) << c.sort;
    }
}

struct StatementCase
{
    const char* what;
    bool isView;
    int rowidField;
    const char* filter;
    const char* sort;
    const char* select;
    const char* firstPage;
    const char* count;
};

// Columns [A] and [x]; a sort key that is a field (case aside) is read once, as the field.
TEST(DaoSqlStatements, TableOrViewFilterAndSort)
{
    for (const StatementCase& c : {
             StatementCase {"table", false, -1, "", "", "rowid, [A], [x]",
                 "SELECT rowid, [A], [x] FROM [t] ORDER BY rowid ASC LIMIT :lim",
                 "SELECT count(*) FROM [t]"},
             StatementCase {"table whose field is the row id", false, 0, "", "", "[A], [x]",
                 "SELECT [A], [x] FROM [t] ORDER BY rowid ASC LIMIT :lim",
                 "SELECT count(*) FROM [t]"},
             StatementCase {"view", true, -1, "", "", "[A], [x]", "SELECT [A], [x] FROM [t]",
                 "SELECT count(*) FROM [t]"},
             StatementCase {"view sorted", true, -1, "", "[a] DESC", "[A], [x]",
                 "SELECT [A], [x] FROM [t] ORDER BY [a] DESC", "SELECT count(*) FROM [t]"},
             StatementCase {"filter with parameters", false, -1, "[A] > ? OR [x] = ?", "y",
                 "rowid, [A], [x], [y]",
                 "SELECT rowid, [A], [x], [y] FROM [t] WHERE ([A] > ? OR [x] = ?) ORDER BY [y] "
                 "ASC, rowid ASC LIMIT :lim",
                 "SELECT count(*) FROM [t] WHERE ([A] > ? OR [x] = ?)"},
         }) {
        CDaoSql sql;
        sql.source = "[t]";
        sql.isView = c.isView;
        sql.rowidField = c.rowidField;
        sql.filter = c.filter;
        sql.columns = {"[A]", "[x]"};
        sql.sort = zordao::parseSort(c.sort);
        sql.buildClauses();
        EXPECT_EQ(sql.select, c.select) << c.what;
        EXPECT_EQ(sql.firstPageSql(), c.firstPage) << c.what;
        EXPECT_EQ(sql.countSql(), c.count) << c.what;
    }
}

struct PageCase
{
    const char* sort;
    unsigned nulls;
    std::size_t equal;
    const char* statement; // "" when the part holds no row
};

// The page after a key, part by part: the rows sharing `equal` keys and after the next one.
TEST(DaoSqlStatements, PagesContinueAfterTheKey)
{
    const char* const head = "SELECT rowid, [A], [d] FROM [t] WHERE ([A] > ?) AND ";
    for (const PageCase& c : {
             PageCase {"", 0, 0, "rowid > :rid ORDER BY rowid ASC LIMIT :lim"},
             PageCase {
                 "a", 0, 1, "[a] IS :k0 AND rowid > :rid ORDER BY [a] ASC, rowid ASC LIMIT :lim"},
             PageCase {"a", 0, 0, "[a] > :k0 ORDER BY [a] ASC, rowid ASC LIMIT :lim"},
             PageCase {"a", 1, 0, "[a] IS NOT NULL ORDER BY [a] ASC, rowid ASC LIMIT :lim"},
             PageCase {"d DESC", 0, 0,
                 "([d] < :k0 OR [d] IS NULL) ORDER BY [d] DESC, rowid ASC LIMIT :lim"},
             PageCase {"d DESC", 1, 0, ""}, // nothing sorts after a NULL of a descending key
         }) {
        CDaoSql sql;
        sql.source = "[t]";
        sql.filter = "[A] > ?";
        sql.columns = {"[A]", "[d]"};
        sql.sort = zordao::parseSort(c.sort);
        sql.buildClauses();
        const std::string expected = *c.statement ? head + std::string(c.statement) : "";
        EXPECT_EQ(sql.pageAfterSql(c.nulls, c.equal), expected) << c.sort << " " << c.equal;
    }
}

TEST(DaoSqlStatements, LastRowAndChanges)
{
    CDaoSql sql;
    sql.source = "[t]";
    sql.columns = {"[id]", "[a]", "[b c]"};
    sql.sort = zordao::parseSort("a DESC");
    sql.buildClauses();
    EXPECT_EQ(sql.lastRowSql(),
        "SELECT rowid, [id], [a], [b c] FROM [t] ORDER BY [a] ASC, rowid DESC LIMIT 1");
    EXPECT_EQ(sql.insertSql({1, 2}), "INSERT INTO [t] ([a], [b c]) VALUES (?, ?)");
    EXPECT_EQ(sql.insertSql({}), "INSERT INTO [t] DEFAULT VALUES");
    EXPECT_EQ(sql.updateSql({2}), "UPDATE [t] SET [b c] = ? WHERE rowid = ?");
    EXPECT_EQ(sql.updateSql({}), "UPDATE [t] SET rowid = rowid WHERE rowid = ?");
    EXPECT_EQ(sql.removeSql(), "DELETE FROM [t] WHERE rowid = ?");
}

} // namespace
