#pragma once

// The monitor's database and every operation the monitor runs on it.
//
// The file is "corvane.mdb" in the program's directory, delivered beside the program (the
// build creates it); it is opened shared and writable, so other programs may read it while
// the monitor runs. Each operation opens its record set, runs and closes it again; none keeps
// a record set open between calls. Each one catches the engine's error, shows
// "Database Error: " followed by the engine's description in a plain message box and gives up
// only that operation, reporting false (host ids -1); compaction alone is silent.
//
// Host texts are compared without regard to case: two texts that differ only in letter case
// name one host. Every host text and every other value reaches the engine as a bound
// parameter, so a text holding quotes of either kind is looked up, listed and deleted like any
// other.

#include "platform/dao/daodatabase.h"
#include "platform/types/oledatetime.h"
#include "platform/types/wintypes.h"

#include <functional>
#include <string>
#include <vector>

class CDaoException;

// A row of Hosts.
struct HostRow
{
    LONG hostId {0};
    std::string host;
};

// A row of Status, as the outage list reads it.
struct StatusRecord
{
    COleDateTime date;
    bool up {false};
    bool sessionStartStop {false};
};

// A row of GraphData, as the graph reads it.
struct GraphRow
{
    COleDateTime time;
    LONG avgDelay {0};
    LONG sampleCount {0};
};

// What a GraphData row states: an average latency in ms over a number of probe results.
struct GraphAverage
{
    LONG avgDelay {0};
    LONG sampleCount {0};
};

// Turns the average a row holds into the one it is to hold.
using AverageMerge = std::function<GraphAverage(const GraphAverage& stored)>;

class CMonitorDatabase
{
public:
    CMonitorDatabase() = default;
    CMonitorDatabase(const CMonitorDatabase&) = delete;
    CMonitorDatabase& operator=(const CMonitorDatabase&) = delete;

    // Opens the database of the database directory (a folder name ending with the path
    // separator), not exclusive, not read-only, with an empty connect string.
    bool open(const std::string& databaseDirectory);
    void close();
    bool isOpen() const { return m_database.IsOpen(); }
    const std::string& databaseDirectory() const { return m_directory; }
    CDaoDatabase& database() { return m_database; }

    // The id of the host text, adding a Hosts row for a text not seen before. -1 for an empty
    // text (the database is not touched) and after a database error.
    LONG hostId(const std::string& host);
    // The id of the host text without adding anything: -1 when there is no such host or
    // after a database error.
    LONG findHostId(const std::string& host);
    // The hosts ordered by their text; with onlyHostId other than -1 only that host. The
    // hosts read before an error stay in the list.
    bool listHosts(std::vector<HostRow>& hosts, LONG onlyHostId = -1);
    // Appends one Status row; it is committed at once.
    bool appendStatus(LONG hostId, bool up, bool sessionStartStop, const COleDateTime& date);
    // The host's Status rows in order of their date. The rows read before an error stay.
    bool readHostHistory(LONG hostId, std::vector<StatusRecord>& records);
    // The host's GraphData rows with from <= Time < to, in order of time.
    bool readGraphRows(
        LONG hostId, const COleDateTime& from, const COleDateTime& to, std::vector<GraphRow>& rows);
    // Files an average of the host under a quarter-hour bucket. The host's first row with a
    // Time at or after the bucket (the bucket's own row once it was written) is given to merge
    // and holds its result afterwards; when there is none, a row with Time = bucket and the
    // fresh average is added. The change is committed at once.
    bool fileAverage(LONG hostId, const COleDateTime& bucket, const GraphAverage& fresh,
        const AverageMerge& merge);
    // Deletes the host's Status rows and its Hosts row, together or not at all. Its
    // GraphData rows stay; typing the text again gives a new id, under which they are not
    // found. A text naming no host deletes nothing and is no error.
    bool deleteHost(const std::string& host);
    // Purges the history before the date's midnight (its time of day is ignored): Status
    // rows dated before it, then GraphData rows with a time before it, then every host left
    // without Status rows. Each of the three steps is done whole or, after an error, not at
    // all. Gives false when the first or second step failed (the purge ends there); an error
    // while removing hosts is shown and still counts as finished.
    bool purge(const COleDateTime& date);
    // Compacts the database file: closes it, writes the compacted copy "new.mdb" beside it,
    // puts the copy in the file's place with one rename (which replaces the file whole or
    // not at all) and opens the database again. Errors of the compaction are silent; the
    // database file is then left as it was and "new.mdb" removed. Gives true when the
    // compacted copy took the file's place. An error in opening again is shown.
    bool compact();

private:
    static void showError(const CDaoException& e);
    // Brings the indexes of a database made by an earlier build up to the schema's.
    void upgradeIndexes();

    CDaoDatabase m_database;
    std::string m_directory;
};
