#include "platform/dao/daodatabase.h"
#include "platform/dao/daoexception.h"
#include "platform/dao/daorecordset.h"
#include "platform/dao/daoworkspace.h"

#include "tests/support/tempfolder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <map>
#include <sqlite3.h>
#include <sys/stat.h>

namespace {

// A plain connection of its own, standing for another program that uses the same file.
class Direct
{
public:
    explicit Direct(const std::string& path, bool readOnly = false)
    {
        const int flags
            = readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
        EXPECT_EQ(sqlite3_open_v2(path.c_str(), &m_db, flags, nullptr), SQLITE_OK);
    }
    ~Direct() { sqlite3_close_v2(m_db); }

    int exec(const std::string& sql)
    {
        return sqlite3_exec(m_db, sql.c_str(), nullptr, nullptr, nullptr);
    }

    // The rows of a query, each row's columns joined with "|".
    std::vector<std::string> rows(const std::string& sql)
    {
        std::vector<std::string> result;
        sqlite3_stmt* stmt = nullptr;
        EXPECT_EQ(sqlite3_prepare_v2(m_db, sql.c_str(), -1, &stmt, nullptr), SQLITE_OK)
            << sqlite3_errmsg(m_db);
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            std::string row;
            for (int c = 0; c < sqlite3_column_count(stmt); ++c) {
                const unsigned char* text = sqlite3_column_text(stmt, c);
                row += (c ? "|" : "")
                    + std::string(text ? reinterpret_cast<const char*>(text) : "NULL");
            }
            result.push_back(row);
        }
        sqlite3_finalize(stmt);
        return result;
    }

    std::string scalar(const std::string& sql)
    {
        const auto r = rows(sql);
        return r.empty() ? std::string() : r.front();
    }

private:
    sqlite3* m_db {nullptr};
};

const char* const c_schema = R"(
    CREATE TABLE Items (ID INTEGER PRIMARY KEY AUTOINCREMENT, Name TEXT COLLATE NOCASE,
        Rank INTEGER, Stamp REAL, Flag INTEGER NOT NULL DEFAULT 0);
    CREATE INDEX ItemsRank ON Items (Rank);
    CREATE INDEX ItemsName ON Items (Name COLLATE NOCASE);
    CREATE VIEW RankCount AS SELECT Rank, count(*) AS Number FROM Items GROUP BY Rank;
)";

class CItemSet : public CDaoRecordset
{
public:
    using CDaoRecordset::CDaoRecordset;
    std::string GetDefaultSQL() override { return "[Items]"; }
    void DoFieldExchange(CDaoFieldExchange* pFX) override
    {
        DFX_Long(pFX, "[ID]", m_ID);
        DFX_Text(pFX, "[Name]", m_Name);
        DFX_Long(pFX, "[Rank]", m_Rank);
        DFX_DateTime(pFX, "[Stamp]", m_Stamp);
        DFX_Bool(pFX, "[Flag]", m_Flag);
    }

    LONG m_ID {0};
    std::string m_Name;
    LONG m_Rank {0};
    COleDateTime m_Stamp;
    BOOL m_Flag {FALSE};
};

class CRankCountSet : public CDaoRecordset
{
public:
    using CDaoRecordset::CDaoRecordset;
    std::string GetDefaultSQL() override { return "[RankCount]"; }
    void DoFieldExchange(CDaoFieldExchange* pFX) override
    {
        DFX_Long(pFX, "[Rank]", m_Rank);
        DFX_Long(pFX, "[Number]", m_Number);
    }

    LONG m_Rank {0};
    LONG m_Number {0};
};

class DaoTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        path = folder.file("items.db");
        Direct(path).exec(c_schema);
    }

    // n rows: names with case variants and repeats, ranks with repeats and NULLs.
    void fill(int n)
    {
        Direct direct(path);
        direct.exec("BEGIN");
        for (int i = 0; i < n; ++i) {
            const std::string name = i % 7 == 0
                ? "NULL"
                : "'" + std::string(i % 2 ? "item" : "ITEM") + std::to_string(i % 50) + "'";
            const std::string rank = i % 11 == 0 ? "NULL" : std::to_string(i % 13);
            direct.exec("INSERT INTO Items (Name, Rank, Stamp) VALUES (" + name + ", " + rank + ", "
                + std::to_string(37000 + i * 0.001) + ")");
        }
        direct.exec("COMMIT");
    }

    std::string describe(const CDaoException& e) { return e.m_pErrorInfo->m_strDescription; }

    TempFolder folder;
    std::string path;
};

std::string errorOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const CDaoException& e) {
        return e.m_pErrorInfo->m_strDescription;
    }
    return "(no error)";
}

} // namespace

TEST_F(DaoTest, OpenMissingFileFailsAndCreatesNothing)
{
    CDaoDatabase db;
    const std::string missing = folder.file("missing.db");
    const std::string error = errorOf([&] { db.Open(missing); });
    EXPECT_NE(error.find("unable to open database file"), std::string::npos) << error;
    EXPECT_FALSE(db.IsOpen());
    struct stat st
    {
    };
    EXPECT_NE(::stat(missing.c_str(), &st), 0);
}

TEST_F(DaoTest, OpenOtherFileFails)
{
    std::ofstream(folder.file("text.db")) << "this is no database, only some text to be read";
    CDaoDatabase db;
    EXPECT_EQ(errorOf([&] { db.Open(folder.file("text.db")); }), "file is not a database");
    EXPECT_FALSE(db.IsOpen());
}

TEST_F(DaoTest, SharedOpenLetsOtherProgramsReadAndWrite)
{
    CDaoDatabase db;
    db.Open(path);
    Direct other(path);
    EXPECT_EQ(other.scalar("PRAGMA journal_mode"), "wal");
    EXPECT_EQ(other.exec("INSERT INTO Items (Name) VALUES ('other')"), SQLITE_OK);
    CItemSet set(&db);
    set.Open();
    ASSERT_FALSE(set.IsEOF());
    EXPECT_EQ(set.m_Name, "other");
}

TEST_F(DaoTest, ExclusiveOpenKeepsOtherProgramsOut)
{
    CDaoDatabase db;
    db.Open(path, TRUE);
    Direct other(path);
    EXPECT_NE(other.exec("PRAGMA busy_timeout = 0; SELECT count(*) FROM Items"), SQLITE_OK);
    db.Close();
    EXPECT_EQ(other.exec("SELECT count(*) FROM Items"), SQLITE_OK);
}

TEST_F(DaoTest, FilterValuesAreBoundNeverPasted)
{
    CDaoDatabase db;
    db.Open(path);
    for (const char* name : {"it's", "say \"hi\"", "x' OR '1'='1", "plain"}) {
        CItemSet set(&db);
        set.Open();
        set.AddNew();
        set.m_Name = name;
        set.Update();
    }
    for (const char* name : {"it's", "say \"hi\"", "x' OR '1'='1", "PLAIN"}) {
        CItemSet set(&db);
        set.m_strFilter = "Name = ?";
        set.m_filterParams = {COleVariant(name)};
        set.Open();
        ASSERT_FALSE(set.IsEOF()) << name;
        EXPECT_EQ(set.GetRecordCount(), 1) << name;
    }
    CItemSet injected(&db);
    injected.m_strFilter = "Name = ?";
    injected.m_filterParams = {COleVariant("nothing' OR '1'='1")};
    injected.Open();
    EXPECT_TRUE(injected.IsEOF());
    EXPECT_TRUE(injected.IsBOF());
}

TEST_F(DaoTest, ParameterCountMustMatchFilter)
{
    CDaoDatabase db;
    db.Open(path);
    CItemSet set(&db);
    set.m_strFilter = "Rank = ? AND Name = ?";
    set.m_filterParams = {COleVariant(1)};
    EXPECT_EQ(errorOf([&] { set.Open(); }), "Too few parameters. Expected 2.");
    EXPECT_FALSE(set.IsOpen());
}

TEST_F(DaoTest, SortAndSourceMustBeNames)
{
    CDaoDatabase db;
    db.Open(path);
    CItemSet set(&db);
    set.m_strSort = "Rank; DROP TABLE Items";
    EXPECT_NE(errorOf([&] { set.Open(); }).find("invalid sort column"), std::string::npos);
    set.m_strSort = "";
    EXPECT_EQ(errorOf([&] { set.Open(dbOpenDynaset, "Nothing"); }), "no such table: Nothing");
    EXPECT_EQ(Direct(path).scalar("SELECT count(*) FROM sqlite_schema WHERE name = 'Items'"), "1");
}

// The order a set walks through, page after page, is the engine's own order for the sort.
struct SortCase
{
    const char* name;
    const char* sort;
    const char* filter;
    const char* orderBy; // the same order written for the engine, for the reference
};

class DaoOrder : public DaoTest, public ::testing::WithParamInterface<SortCase>
{
};

TEST_P(DaoOrder, PagesFollowTheSortedOrder)
{
    fill(10000);
    const SortCase& c = GetParam();
    CDaoDatabase db;
    db.Open(path);
    CItemSet set(&db);
    set.m_strSort = c.sort;
    set.m_strFilter = c.filter;
    if (std::string(c.filter).find('?') != std::string::npos)
        set.m_filterParams = {COleVariant(3)};
    set.Open();
    std::vector<std::string> walked;
    for (; !set.IsEOF(); set.MoveNext())
        walked.push_back(std::to_string(set.m_ID));

    std::string where = c.filter;
    if (const auto mark = where.find('?'); mark != std::string::npos)
        where.replace(mark, 1, "3");
    const auto expected = Direct(path).rows("SELECT ID FROM Items"
        + (where.empty() ? "" : " WHERE " + where) + " ORDER BY " + c.orderBy);
    ASSERT_GT(expected.size(), 100u);
    EXPECT_EQ(walked, expected);
}

INSTANTIATE_TEST_SUITE_P(Sorts, DaoOrder,
    ::testing::Values(SortCase {"NoSort", "", "", "ID"},
        SortCase {"IndexedColumnWithNulls", "Rank", "", "Rank, ID"},
        SortCase {"Descending", "[Rank] DESC", "", "Rank DESC, ID"},
        SortCase {"TextWithoutCase", "Name", "", "Name COLLATE NOCASE, ID"},
        SortCase {"TwoKeysMixed", "Rank DESC, Name ASC", "", "Rank DESC, Name COLLATE NOCASE, ID"},
        SortCase {"Filtered", "Stamp", "Rank > ?", "Stamp, ID"}),
    [](const auto& info) { return std::string(info.param.name); });

// Every field of every row, page after page, whatever the table's key is: the row id under
// the key's name, an integer key the engine keeps apart from the row id (declared descending)
// or no key at all. Edit and Delete then reach the row walked to, by its row id.
struct KeyCase
{
    const char* name;
    const char* table;
};

class DaoKeys : public DaoTest, public ::testing::WithParamInterface<KeyCase>
{
};

TEST_P(DaoKeys, EveryFieldOfEveryRowAndTheRowItself)
{
    Direct direct(path);
    ASSERT_EQ(
        direct.exec(std::string("DROP VIEW RankCount; DROP TABLE Items; ") + GetParam().table),
        SQLITE_OK);
    // What each row's members must hold, by ID; the values are stored in the forms the fields
    // convert from: NULLs, and reals in the integer and boolean columns.
    struct Expected
    {
        std::string name;
        LONG rank;
        COleDateTime stamp;
        BOOL flag;
    };
    std::map<LONG, Expected> expected;
    direct.exec("BEGIN");
    for (int i = 1; i <= 6000; ++i) {
        Expected e;
        std::string name;
        if (i % 4 == 0) {
            name = "NULL";
        } else if (i % 4 == 1) {
            name = std::to_string(i);
            e.name = name;
        } else {
            e.name = "n" + std::to_string(i);
            name = "'" + e.name + "'";
        }
        const std::string rank
            = i % 6 == 0 ? "NULL" : std::to_string(i % 13) + (i % 6 == 1 ? ".75" : "");
        e.rank = i % 6 == 0 ? 0 : i % 13;
        const double stamp = 37000 + i * 0.25; // exact in the statement's text
        e.stamp = COleDateTime(stamp);
        if (i % 7 == 0) {
            e.stamp = COleDateTime();
            e.stamp.SetStatus(COleDateTime::null);
        }
        const char* flag = i % 3 == 0 ? "0.5" : (i % 2 ? "1" : "0");
        e.flag = i % 3 == 0 || i % 2 ? TRUE : FALSE;
        // IDs three apart: where the ID is not the row id, the two differ.
        const LONG id = 3 * i;
        expected[id] = e;
        ASSERT_EQ(
            direct.exec("INSERT INTO Items (ID, Name, Rank, Stamp, Flag) VALUES ("
                + std::to_string(id) + ", " + name + ", " + rank + ", "
                + (i % 7 == 0 ? std::string("NULL") : std::to_string(stamp)) + ", " + flag + ")"),
            SQLITE_OK);
    }
    direct.exec("COMMIT");
    const std::vector<std::string> order = direct.rows("SELECT ID FROM Items ORDER BY Rank, rowid");

    CDaoDatabase db;
    db.Open(path);
    db.BeginTrans();
    CItemSet set(&db);
    set.m_strSort = "Rank";
    set.Open();
    std::vector<std::string> walked;
    LONG edited = 0;
    LONG deleted = 0;
    for (; !set.IsEOF(); set.MoveNext()) {
        walked.push_back(std::to_string(set.m_ID));
        const auto found = expected.find(set.m_ID);
        ASSERT_NE(found, expected.end()) << set.m_ID;
        const Expected& e = found->second;
        EXPECT_EQ(set.m_Name, e.name) << set.m_ID;
        EXPECT_EQ(set.m_Rank, e.rank) << set.m_ID;
        EXPECT_TRUE(set.m_Stamp == e.stamp) << set.m_ID;
        EXPECT_EQ(set.m_Flag, e.flag) << set.m_ID;
        if (walked.size() == 5000) {
            set.Edit();
            set.m_Name = "edited";
            set.Update();
            edited = set.m_ID;
        } else if (walked.size() == 5001) {
            set.Delete();
            deleted = set.m_ID;
        }
    }
    db.CommitTrans();
    EXPECT_EQ(walked, order);
    EXPECT_EQ(direct.rows("SELECT ID FROM Items WHERE Name = 'edited'"),
        std::vector<std::string> {std::to_string(edited)});
    EXPECT_EQ(
        direct.scalar("SELECT count(*) FROM Items WHERE ID = " + std::to_string(deleted)), "0");
    EXPECT_EQ(direct.scalar("SELECT count(*) FROM Items"), "5999");
}

INSTANTIATE_TEST_SUITE_P(Keys, DaoKeys,
    ::testing::Values(KeyCase {"KeyIsTheRowId",
                          "CREATE TABLE Items (ID INTEGER PRIMARY KEY AUTOINCREMENT, Name TEXT, "
                          "Rank INTEGER, Stamp REAL, Flag INTEGER NOT NULL DEFAULT 0)"},
        KeyCase {"DescendingKeyIsNotTheRowId",
            "CREATE TABLE Items (ID INTEGER PRIMARY KEY DESC, Name TEXT, Rank INTEGER, "
            "Stamp REAL, Flag INTEGER NOT NULL DEFAULT 0)"},
        KeyCase {"NoKey",
            "CREATE TABLE Items (ID INTEGER, Name TEXT, Rank INTEGER, Stamp REAL, "
            "Flag INTEGER NOT NULL DEFAULT 0)"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DaoTest, DeletingWhileWalkingKeepsTheWalkGoing)
{
    fill(5000);
    CDaoDatabase db;
    db.Open(path);
    db.BeginTrans();
    CItemSet set(&db);
    set.m_strSort = "Rank";
    set.Open();
    int walked = 0;
    for (; !set.IsEOF(); set.MoveNext()) {
        if (walked++ % 2 == 0) {
            set.Delete();
            EXPECT_TRUE(set.IsDeleted());
        }
    }
    db.CommitTrans();
    EXPECT_EQ(walked, 5000);
    EXPECT_EQ(Direct(path).scalar("SELECT count(*) FROM Items"), "2500");
    EXPECT_EQ(errorOf([&] { set.MoveNext(); }), "No current record.");
}

TEST_F(DaoTest, DeleteAndMoveFirstEmptiesTheFilteredRows)
{
    fill(3000);
    const std::string left
        = Direct(path).scalar("SELECT count(*) FROM Items WHERE NOT (Stamp < 37001.5)");
    CDaoDatabase db;
    db.Open(path);
    db.BeginTrans();
    CItemSet set(&db);
    set.m_strFilter = "Stamp < ?";
    set.m_filterParams = {COleVariant(COleDateTime(37001.5))};
    set.m_strSort = "Stamp";
    set.Open();
    while (!set.IsEOF()) {
        set.Delete();
        set.MoveFirst();
    }
    db.CommitTrans();
    EXPECT_EQ(Direct(path).scalar("SELECT count(*) FROM Items"), left);
    EXPECT_EQ(Direct(path).scalar("SELECT count(*) FROM Items WHERE Stamp < 37001.5"), "0");
}

TEST_F(DaoTest, AddNewAssignsTheKeyAndMoveLastFindsTheRow)
{
    fill(20);
    CDaoDatabase db;
    db.Open(path);
    CItemSet set(&db);
    set.m_strFilter = "Name = ?";
    set.m_filterParams = {COleVariant("fresh")};
    set.m_strSort = "Name";
    set.Open();
    ASSERT_TRUE(set.IsEOF());
    set.AddNew();
    set.m_ID = 999999; // assigned by the database, never written
    set.m_Name = "fresh";
    set.m_Rank = 42;
    set.m_Stamp = COleDateTime(2002, 6, 24, 11, 3, 26);
    set.m_Flag = TRUE;
    set.Update();
    set.AddNew();
    set.m_Name = "FRESH";
    set.Update();
    set.MoveLast();
    ASSERT_FALSE(set.IsEOF());
    EXPECT_EQ(set.m_Name, "FRESH");
    EXPECT_EQ(set.m_ID, 22);
    EXPECT_EQ(set.GetRecordCount(), 2);
    // The date-time is stored as the automation date itself: days as a REAL.
    char stamp[40];
    std::snprintf(stamp, sizeof stamp, "%.17g", COleDateTime(2002, 6, 24, 11, 3, 26).m_dt);
    EXPECT_EQ(Direct(path).scalar(std::string("SELECT ID, Rank, typeof(Stamp), Stamp = ") + stamp
                  + ", Flag FROM Items WHERE Name = 'fresh'"),
        "21|42|real|1|1");
}

TEST_F(DaoTest, EditChangesTheCurrentRowOnly)
{
    fill(10);
    CDaoDatabase db;
    db.Open(path);
    CItemSet set(&db);
    EXPECT_EQ(errorOf([&] { set.MoveNext(); }), "the record set is not open");
    set.Open();
    set.MoveNext();
    set.Edit();
    set.m_Name = "edited";
    set.Update();
    EXPECT_EQ(set.m_Name, "edited");
    EXPECT_EQ(Direct(path).rows("SELECT ID FROM Items WHERE Name = 'edited'"),
        std::vector<std::string> {"2"});
    EXPECT_EQ(errorOf([&] { set.Update(); }), "Update without AddNew or Edit.");
}

TEST_F(DaoTest, SavedQueryIsReadWholeAndReadOnly)
{
    fill(100);
    CDaoDatabase db;
    db.Open(path);
    CRankCountSet counts(&db);
    counts.m_strFilter = "Rank IS NOT NULL";
    counts.m_strSort = "Number DESC";
    counts.Open();
    EXPECT_FALSE(counts.CanUpdate());
    long rows = 0;
    for (LONG previous = 1000; !counts.IsEOF(); counts.MoveNext(), ++rows) {
        EXPECT_LE(counts.m_Number, previous);
        previous = counts.m_Number;
    }
    EXPECT_EQ(rows, 13);
    counts.MoveFirst();
    EXPECT_EQ(errorOf([&] { counts.Delete(); }), "Cannot update. Database or object is read-only.");
}

TEST_F(DaoTest, ChangesCommitWhileAnotherSetIsOpen)
{
    fill(50);
    CDaoDatabase db;
    db.Open(path);
    CItemSet reading(&db);
    reading.Open();
    reading.MoveNext(); // stays open in the middle of the set
    CItemSet adding(&db);
    adding.Open(dbOpenDynaset, nullptr, dbAppendOnly);
    adding.AddNew();
    adding.m_Name = "committed";
    adding.Update();
    // Another program sees the row although the reading set is still open.
    EXPECT_EQ(
        Direct(path, true).scalar("SELECT count(*) FROM Items WHERE Name = 'committed'"), "1");
    reading.MoveNext();
    EXPECT_FALSE(reading.IsEOF());
}

TEST_F(DaoTest, RollbackUndoesAndCloseEndsSets)
{
    fill(10);
    CDaoDatabase db;
    db.Open(path);
    db.BeginTrans();
    CItemSet set(&db);
    set.Open();
    set.Delete();
    db.Rollback();
    EXPECT_EQ(Direct(path).scalar("SELECT count(*) FROM Items"), "10");
    db.Close();
    EXPECT_FALSE(set.IsOpen());
}

TEST_F(DaoTest, ExecuteRunsStatementsUpToTheFirstFailure)
{
    CDaoDatabase db;
    db.Open(path);
    const std::string upgrade = "CREATE INDEX IF NOT EXISTS ItemsStamp ON Items (Stamp, Flag); "
                                "DROP INDEX IF EXISTS ItemsRank";
    db.Execute(upgrade);
    db.Execute(upgrade);
    const std::string indexes = "SELECT name FROM sqlite_schema WHERE type = 'index' ORDER BY name";
    EXPECT_EQ(Direct(path).rows(indexes), (std::vector<std::string> {"ItemsName", "ItemsStamp"}));
    EXPECT_EQ(errorOf([&] {
        db.Execute("CREATE INDEX ItemsFlag ON Items (Flag); DROP INDEX Missing; "
                   "CREATE INDEX ItemsRank ON Items (Rank)");
    }),
        "no such index: Missing");
    EXPECT_EQ(Direct(path).rows(indexes),
        (std::vector<std::string> {"ItemsFlag", "ItemsName", "ItemsStamp"}));
}

TEST_F(DaoTest, CompactionCopiesEverythingIntoASmallerFile)
{
    fill(20000);
    Direct(path).exec("DELETE FROM Items WHERE ID > 100");
    const std::string copy = folder.file("copy.db");
    CDaoWorkspace::CompactDatabase(path, copy, dbLangGeneral);
    struct stat before
    {
    }, after {};
    ASSERT_EQ(::stat(path.c_str(), &before), 0);
    ASSERT_EQ(::stat(copy.c_str(), &after), 0);
    EXPECT_LT(after.st_size * 4, before.st_size);
    Direct compacted(copy);
    EXPECT_EQ(compacted.rows("SELECT * FROM Items ORDER BY ID"),
        Direct(path).rows("SELECT * FROM Items ORDER BY ID"));
    EXPECT_EQ(compacted.scalar("SELECT seq FROM sqlite_sequence WHERE name = 'Items'"), "20000");
    EXPECT_EQ(compacted.scalar("PRAGMA integrity_check"), "ok");
}

TEST_F(DaoTest, CompactionRefusesAnOpenSourceOrAnExistingDestination)
{
    fill(100);
    const std::string copy = folder.file("copy.db");
    {
        Direct other(path);
        EXPECT_EQ(other.scalar("PRAGMA journal_mode = WAL"), "wal");
        EXPECT_EQ(other.scalar("SELECT count(*) FROM Items"), "100");
        EXPECT_NE(errorOf([&] { CDaoWorkspace::CompactDatabase(path, copy); }), "(no error)");
        struct stat st
        {
        };
        EXPECT_NE(::stat(copy.c_str(), &st), 0);
    }
    std::ofstream(copy) << "x";
    EXPECT_NE(errorOf([&] { CDaoWorkspace::CompactDatabase(path, copy); }).find("already exists"),
        std::string::npos);
    EXPECT_EQ(Direct(path).scalar("SELECT count(*) FROM Items"), "100");
}
