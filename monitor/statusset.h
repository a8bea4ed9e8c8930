#pragma once

// The record set of table Status: the availability history, one row per start or stop of
// monitoring and per change between available and unavailable.

#include "platform/dao/daorecordset.h"
#include "platform/types/oledatetime.h"

class CStatusSet : public CDaoRecordset
{
public:
    explicit CStatusSet(CDaoDatabase* pDatabase);

    std::string GetDefaultSQL() override;
    void DoFieldExchange(CDaoFieldExchange* pFX) override;

    // Assigned by the database when the row is added.
    LONG m_ID {0};
    LONG m_HostID {0};
    // Host available; for a start or stop row: true = started, false = stopped.
    BOOL m_Up {FALSE};
    // Local time of the event.
    COleDateTime m_Date;
    // True for a start or stop of monitoring, false for a change of availability.
    BOOL m_SessionStartStop {FALSE};
};
