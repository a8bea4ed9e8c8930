#pragma once

// A record set: an updatable, ordered view of the rows of one table or saved query (a view)
// of a CDaoDatabase, with its columns bound to the field members of a derived class through
// DoFieldExchange.
//
// m_strFilter is an SQL condition; every value it compares with is written as a "?" and
// given, in order, in m_filterParams, so no value is ever pasted into the text. m_strSort is
// a list of column names, each optionally followed by ASC or DESC ("Date", "[Host] DESC").
// Both are read when the set is opened or requeried. Texts compare as the columns are
// declared (the monitor's host texts without regard to case).
//
// How the rows are read. The set of a table is read in pages in its order (the sort, then the
// row id, so the order is total; without a sort the row id alone), each page by prepared
// statements that continue after the last row of the page before: first the rows that share
// its whole sort key, then those that share all but the last column of it, and so on, each a
// plain range of an index on the sort columns, so no row is tested against the key. No
// statement stays active between two moves, so a change made through any record set is
// committed at once and other programs are never kept waiting; and reading a million rows in
// order costs one step of a statement per row, with no row loaded before it is reached. Moving
// from row to row copies the row into the field members bound when the set was opened. A page shows
// its rows as they were when it was read; rows added or deleted elsewhere show up or vanish as the
// pages that hold them are read. MoveFirst and MoveLast read afresh, so the purge's loop "delete
// the current row, move to the first" always finds the rows still left. A large set reads fastest
// when its sort is on indexed columns: without a sort the engine orders by row id.
//
// The set of a saved query is read whole when it is opened and is read-only, as a query
// that groups or counts rows is with the original engine.
//
// Unlike the original dynaset, a row added through the set takes its place in the set's
// order like any other row instead of being put at the end: with a filter that selects the
// new row, MoveLast after AddNew and Update finds it, since among equal sort values the
// newest row comes last. GetRecordCount is the number of rows the set's filter takes now,
// not the number visited so far.
//
// A column that is its table's integer primary key is assigned by the database: AddNew and
// Edit never write it.
//
// Every failure throws CDaoException with the engine's description; moving past the end,
// changing a deleted row or updating a read-only set throw the messages of the original layer
// ("No current record.", "Record is deleted.", "Cannot update. Database or object is
// read-only.", "Update without AddNew or Edit.").

#include "platform/dao/daofieldexchange.h"
#include "platform/types/olevariant.h"
#include "platform/types/wintypes.h"

#include <memory>
#include <string>
#include <vector>

class CDaoDatabase;

// Open types; every one of them gives the view above, a snapshot is read-only.
constexpr int dbOpenTable = 1;
constexpr int dbOpenDynaset = 2;
constexpr int dbOpenSnapshot = 4;

// Open options.
constexpr int dbReadOnly = 4;
// The set holds no existing rows: it only adds new ones, and nothing is read at opening.
constexpr int dbAppendOnly = 8;

class CDaoRecordset
{
public:
    explicit CDaoRecordset(CDaoDatabase* pDatabase);
    virtual ~CDaoRecordset();
    CDaoRecordset(const CDaoRecordset&) = delete;
    CDaoRecordset& operator=(const CDaoRecordset&) = delete;

    // Opens the set on its source: lpszSQL when given, else GetDefaultSQL(), the name of a
    // table or saved query ("[Hosts]" or "Hosts"). Moves to the first row; an empty set is at
    // both its beginning and its end. An open set is closed first.
    virtual void Open(
        int nOpenType = dbOpenDynaset, const char* lpszSQL = nullptr, int nOptions = 0);
    // Cancels a pending AddNew or Edit and releases the statements. Closing a closed set does
    // nothing.
    virtual void Close();
    BOOL IsOpen() const;
    BOOL CanUpdate() const;
    BOOL CanAppend() const;

    BOOL IsBOF() const;
    BOOL IsEOF() const;
    // The current row was deleted through this set.
    BOOL IsDeleted() const;

    // Moving cancels a pending AddNew or Edit, as it did with the original layer.
    void MoveFirst();
    void MoveNext();
    void MoveLast();
    // Reads the set again with the current filter, sort and parameters, from the first row.
    void Requery();

    // AddNew gives the field members their blank values; Update then adds a row with the
    // members' values and loads the current row's values back into them (move to see the new
    // row). Edit and Update change the current row.
    void AddNew();
    void Edit();
    void Update();
    void CancelUpdate();
    // Deletes the current row; the set stays on it (IsDeleted) until it is moved.
    void Delete();

    long GetRecordCount();

    virtual std::string GetDefaultSQL() = 0;
    virtual void DoFieldExchange(CDaoFieldExchange* pFX) = 0;

    CDaoDatabase* m_pDatabase {nullptr};
    std::string m_strFilter;
    std::string m_strSort;
    std::vector<COleVariant> m_filterParams;
    // The number of bound fields, counted when the set is opened.
    UINT m_nFields {0};

private:
    struct Impl;

    void readFirst();
    void readAfterPage();
    void loadCurrent();
    void cancelPending();
    void requireCurrent() const;
    void requireUpdatable() const;

    std::unique_ptr<Impl> m_p;
};
