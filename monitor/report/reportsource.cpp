#include "monitor/report/reportsource.h"

#include "monitor/graphdata.h"
#include "monitor/hostsset.h"
#include "monitor/statusset.h"

void openReportDatabase(CDaoDatabase& database, const std::string& path)
{
    database.Open(path, FALSE, TRUE);
}

std::vector<HostHistory> readHostHistories(CDaoDatabase& database, const std::string& host)
{
    std::vector<HostHistory> histories;
    CHostsSet hosts(&database);
    if (!host.empty()) {
        hosts.m_strFilter = "Host = ?";
        hosts.m_filterParams = {COleVariant(host)};
    }
    hosts.m_strSort = "Host";
    hosts.Open(dbOpenSnapshot);
    for (; !hosts.IsEOF(); hosts.MoveNext())
        histories.push_back(HostHistory {hosts.m_HostID, hosts.m_Host, {}});
    hosts.Close();

    CStatusSet status(&database);
    status.m_strFilter = "HostID = ?";
    status.m_strSort = "Date";
    for (HostHistory& history : histories) {
        status.m_filterParams = {COleVariant(history.hostId)};
        status.Open(dbOpenSnapshot);
        for (; !status.IsEOF(); status.MoveNext()) {
            const bool up = status.m_Up != FALSE;
            const eHistoryRecord kind = status.m_SessionStartStop
                ? (up ? eHistoryRecord::eSTART : eHistoryRecord::eSTOP)
                : (up ? eHistoryRecord::eUP : eHistoryRecord::eDOWN);
            history.records.push_back(HistoryRecord {localMsOf(status.m_Date), kind});
        }
        status.Close();
    }
    return histories;
}

void readLatencyAverages(CDaoDatabase& database, long hostId, LocalMs from, LocalMs to,
    const std::function<void(const LatencyAverage&)>& row)
{
    CGraphData graph(&database);
    graph.m_strFilter = "(Time >= ?) AND (Time < ?) AND HostID = ?";
    graph.m_filterParams = {COleVariant(COleDateTime(automationDateOf(from))),
        COleVariant(COleDateTime(automationDateOf(to))), COleVariant(hostId)};
    graph.m_strSort = "Time";
    graph.Open(dbOpenSnapshot);
    for (; !graph.IsEOF(); graph.MoveNext())
        row(LatencyAverage {localMsOf(graph.m_Time), graph.m_AvgDelay, graph.m_SampleCount});
}
