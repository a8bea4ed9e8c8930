#pragma once

// The record set of table Hosts: one row per host text the monitor has watched.

#include "platform/dao/daorecordset.h"

class CHostsSet : public CDaoRecordset
{
public:
    explicit CHostsSet(CDaoDatabase* pDatabase);

    std::string GetDefaultSQL() override;
    void DoFieldExchange(CDaoFieldExchange* pFX) override;

    // Assigned by the database when the row is added.
    LONG m_HostID {0};
    // The host text exactly as typed in the slot, up to 255 characters.
    std::string m_Host;
};
