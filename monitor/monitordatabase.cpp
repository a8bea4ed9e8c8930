#include "monitor/monitordatabase.h"

#include "framework/diagnostics/diagnostics.h"
#include "framework/utilities/utilities.h"
#include "monitor/graphdata.h"
#include "monitor/hostcountset.h"
#include "monitor/hostsset.h"
#include "monitor/monitorfiles.h"
#include "monitor/statusset.h"
#include "platform/dao/daoexception.h"
#include "platform/dao/daoworkspace.h"

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace {

// Removes a database file with the journal files the engine may have left beside it.
void removeDatabaseFile(const std::string& path)
{
    for (const char* suffix : {"", "-journal", "-wal", "-shm"})
        ::unlink((path + suffix).c_str());
}

// Makes a rename in the folder last across a power failure.
void syncFolder(const std::string& folder)
{
    const int fd
        = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// Runs one step of a larger change in a transaction: committed when it runs through, rolled
// back when it throws.
template<typename Step> void inTransaction(CDaoDatabase& database, Step step)
{
    database.BeginTrans();
    try {
        step();
        database.CommitTrans();
    } catch (...) {
        try {
            database.Rollback();
        } catch (const CDaoException&) {
            // The engine already rolled back; the first error is the one to report.
        }
        throw;
    }
}

} // namespace

void CMonitorDatabase::showError(const CDaoException& e)
{
    boxOut(
        __FILE__, __LINE__, MB_OK, "Database Error: %s", e.m_pErrorInfo->m_strDescription.c_str());
}

bool CMonitorDatabase::open(const std::string& databaseDirectory)
{
    m_directory = databaseDirectory;
    try {
        m_database.Open(monitorDatabasePath(databaseDirectory), FALSE, FALSE, "");
    } catch (const CDaoException& e) {
        showError(e);
        return false;
    }
    upgradeIndexes();
    return true;
}

void CMonitorDatabase::upgradeIndexes()
{
    // A database made by an earlier build has the narrower index of a host's history; the
    // covering one lets the outage list read a million rows without touching the table. Done
    // once, in one transaction; a file that cannot be changed keeps working, only slower.
    try {
        m_database.BeginTrans();
        m_database.Execute("CREATE INDEX IF NOT EXISTS StatusHostHistory ON Status"
                           " (HostID, Date, ID, Up, SessionStartStop);"
                           " DROP INDEX IF EXISTS StatusHostDate;");
        m_database.CommitTrans();
    } catch (const CDaoException&) {
        try {
            m_database.Rollback();
        } catch (const CDaoException&) { }
    }
}

void CMonitorDatabase::close()
{
    m_database.Close();
}

LONG CMonitorDatabase::hostId(const std::string& host)
{
    if (host.empty())
        return -1;
    try {
        CHostsSet hosts(&m_database);
        hosts.m_strFilter = "Host = ?";
        hosts.m_filterParams = {COleVariant(host)};
        hosts.m_strSort = "Host";
        hosts.Open();
        if (hosts.IsEOF()) {
            hosts.AddNew();
            hosts.m_Host = host;
            hosts.Update();
            // Among rows of equal text the newest comes last: the row just added.
            hosts.MoveLast();
            if (hosts.IsEOF())
                return -1;
        }
        return hosts.m_HostID;
    } catch (const CDaoException& e) {
        showError(e);
        return -1;
    }
}

LONG CMonitorDatabase::findHostId(const std::string& host)
{
    try {
        CHostsSet hosts(&m_database);
        hosts.m_strFilter = "Host = ?";
        hosts.m_filterParams = {COleVariant(host)};
        hosts.Open();
        return hosts.IsEOF() ? -1 : hosts.m_HostID;
    } catch (const CDaoException& e) {
        showError(e);
        return -1;
    }
}

bool CMonitorDatabase::listHosts(std::vector<HostRow>& hosts, LONG onlyHostId)
{
    try {
        CHostsSet set(&m_database);
        if (onlyHostId != -1) {
            set.m_strFilter = "HostID = ?";
            set.m_filterParams = {COleVariant(onlyHostId)};
        }
        set.m_strSort = "Host";
        set.Open();
        for (; !set.IsEOF(); set.MoveNext())
            hosts.push_back({set.m_HostID, set.m_Host});
        return true;
    } catch (const CDaoException& e) {
        showError(e);
        return false;
    }
}

bool CMonitorDatabase::appendStatus(
    LONG hostId, bool up, bool sessionStartStop, const COleDateTime& date)
{
    try {
        CStatusSet status(&m_database);
        status.Open(dbOpenDynaset, nullptr, dbAppendOnly);
        status.AddNew();
        status.m_HostID = hostId;
        status.m_Up = up ? TRUE : FALSE;
        status.m_SessionStartStop = sessionStartStop ? TRUE : FALSE;
        status.m_Date = date;
        status.Update();
        return true;
    } catch (const CDaoException& e) {
        showError(e);
        return false;
    }
}

bool CMonitorDatabase::readHostHistory(LONG hostId, std::vector<StatusRecord>& records)
{
    try {
        CStatusSet status(&m_database);
        status.m_strFilter = "HostID = ?";
        status.m_filterParams = {COleVariant(hostId)};
        status.m_strSort = "Date";
        status.Open();
        for (; !status.IsEOF(); status.MoveNext())
            records.push_back(
                {status.m_Date, status.m_Up != FALSE, status.m_SessionStartStop != FALSE});
        return true;
    } catch (const CDaoException& e) {
        showError(e);
        return false;
    }
}

bool CMonitorDatabase::readGraphRows(
    LONG hostId, const COleDateTime& from, const COleDateTime& to, std::vector<GraphRow>& rows)
{
    try {
        CGraphData graph(&m_database);
        graph.m_strFilter = "(Time >= ?) AND (Time < ?) AND HostID = ?";
        graph.m_filterParams = {COleVariant(from), COleVariant(to), COleVariant(hostId)};
        graph.m_strSort = "Time";
        graph.Open();
        for (; !graph.IsEOF(); graph.MoveNext())
            rows.push_back({graph.m_Time, graph.m_AvgDelay, graph.m_SampleCount});
        return true;
    } catch (const CDaoException& e) {
        showError(e);
        return false;
    }
}

bool CMonitorDatabase::fileAverage(
    LONG hostId, const COleDateTime& bucket, const GraphAverage& fresh, const AverageMerge& merge)
{
    try {
        CGraphData graph(&m_database);
        graph.m_strFilter = "(Time >= ?) AND (HostID = ?)";
        graph.m_filterParams = {COleVariant(bucket), COleVariant(hostId)};
        // The nearest row first: the bucket's own when it exists.
        graph.m_strSort = "Time";
        graph.Open();
        if (graph.IsEOF()) {
            graph.AddNew();
            graph.m_HostID = hostId;
            graph.m_Time = bucket;
            graph.m_AvgDelay = fresh.avgDelay;
            graph.m_SampleCount = fresh.sampleCount;
        } else {
            const GraphAverage merged = merge({graph.m_AvgDelay, graph.m_SampleCount});
            graph.Edit();
            graph.m_AvgDelay = merged.avgDelay;
            graph.m_SampleCount = merged.sampleCount;
        }
        graph.Update();
        return true;
    } catch (const CDaoException& e) {
        showError(e);
        return false;
    }
}

bool CMonitorDatabase::deleteHost(const std::string& host)
{
    try {
        inTransaction(m_database, [&] {
            CHostsSet hosts(&m_database);
            hosts.m_strFilter = "Host = ?";
            hosts.m_filterParams = {COleVariant(host)};
            hosts.Open();
            for (; !hosts.IsEOF(); hosts.MoveNext()) {
                CStatusSet status(&m_database);
                status.m_strFilter = "HostID = ?";
                status.m_filterParams = {COleVariant(hosts.m_HostID)};
                // In the order of the host's index, so the rows are read without sorting.
                status.m_strSort = "Date";
                status.Open();
                for (; !status.IsEOF(); status.MoveNext())
                    status.Delete();
                hosts.Delete();
            }
        });
        return true;
    } catch (const CDaoException& e) {
        showError(e);
        return false;
    }
}

bool CMonitorDatabase::purge(const COleDateTime& date)
{
    const COleVariant midnight(dateOnly(date));
    try {
        inTransaction(m_database, [&] {
            CStatusSet status(&m_database);
            status.m_strFilter = "Date < ?";
            status.m_filterParams = {midnight};
            // In the order of the date index, so that the first row left is found at once.
            status.m_strSort = "Date";
            status.Open();
            while (!status.IsEOF()) {
                status.Delete();
                status.MoveFirst();
            }
        });
        inTransaction(m_database, [&] {
            CGraphData graph(&m_database);
            graph.m_strFilter = "Time < ?";
            graph.m_filterParams = {midnight};
            graph.m_strSort = "Time";
            graph.Open();
            while (!graph.IsEOF()) {
                graph.Delete();
                graph.MoveFirst();
            }
        });
    } catch (const CDaoException& e) {
        showError(e);
        return false;
    }
    try {
        inTransaction(m_database, [&] {
            CHostCountSet unused(&m_database);
            unused.m_strFilter = "CountOfID = 0";
            unused.Open();
            for (; !unused.IsEOF(); unused.MoveNext()) {
                CHostsSet hosts(&m_database);
                hosts.m_strFilter = "HostID = ?";
                hosts.m_filterParams = {COleVariant(unused.m_HostID)};
                hosts.Open();
                if (!hosts.IsEOF())
                    hosts.Delete();
            }
        });
    } catch (const CDaoException& e) {
        showError(e);
    }
    return true;
}

bool CMonitorDatabase::compact()
{
    if (m_directory.empty())
        return false;
    const std::string database = monitorDatabasePath(m_directory);
    const std::string scratch = monitorScratchDatabasePath(m_directory);

    // Closing the last connection folds the write-ahead log into the file.
    close();
    removeDatabaseFile(scratch);
    bool replaced = false;
    try {
        CDaoWorkspace::CompactDatabase(database, scratch, dbLangGeneral);
        // The rename replaces the database whole or not at all: at no moment is there no
        // database file.
        if (std::rename(scratch.c_str(), database.c_str()) == 0) {
            syncFolder(m_directory);
            replaced = true;
        }
    } catch (const CDaoException&) {
        // Compaction errors are not shown; the database stays as it was.
    }
    if (!replaced)
        removeDatabaseFile(scratch);
    open(m_directory);
    return replaced;
}
