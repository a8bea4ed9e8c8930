#pragma once

// The record set of the saved query HostCount: every host with the number of its Status
// rows, 0 for a host that has none. Read-only.

#include "platform/dao/daorecordset.h"

class CHostCountSet : public CDaoRecordset
{
public:
    explicit CHostCountSet(CDaoDatabase* pDatabase);

    std::string GetDefaultSQL() override;
    void DoFieldExchange(CDaoFieldExchange* pFX) override;

    LONG m_HostID {0};
    std::string m_Host;
    LONG m_CountOfID {0};
};
