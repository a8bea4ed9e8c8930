#pragma once

// The record set of table GraphData: one average latency per host and quarter hour.

#include "platform/dao/daorecordset.h"
#include "platform/types/oledatetime.h"

class CGraphData : public CDaoRecordset
{
public:
    explicit CGraphData(CDaoDatabase* pDatabase);

    std::string GetDefaultSQL() override;
    void DoFieldExchange(CDaoFieldExchange* pFX) override;

    // Assigned by the database when the row is added.
    LONG m_ID {0};
    LONG m_HostID {0};
    // The quarter-hour bucket the average was filed under.
    COleDateTime m_Time;
    // Average latency in milliseconds.
    LONG m_AvgDelay {0};
    // The number of probe results the average stands for (at most 90).
    LONG m_SampleCount {0};
};
