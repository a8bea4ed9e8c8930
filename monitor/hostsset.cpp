#include "monitor/hostsset.h"

CHostsSet::CHostsSet(CDaoDatabase* pDatabase) : CDaoRecordset(pDatabase)
{
    m_nFields = 2;
}

std::string CHostsSet::GetDefaultSQL()
{
    return "[Hosts]";
}

void CHostsSet::DoFieldExchange(CDaoFieldExchange* pFX)
{
    DFX_Long(pFX, "[HostID]", m_HostID);
    DFX_Text(pFX, "[Host]", m_Host);
}
