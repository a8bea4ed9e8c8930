#include "monitor/hostcountset.h"

CHostCountSet::CHostCountSet(CDaoDatabase* pDatabase) : CDaoRecordset(pDatabase)
{
    m_nFields = 3;
}

std::string CHostCountSet::GetDefaultSQL()
{
    return "[HostCount]";
}

void CHostCountSet::DoFieldExchange(CDaoFieldExchange* pFX)
{
    DFX_Long(pFX, "[HostID]", m_HostID);
    DFX_Text(pFX, "[Host]", m_Host);
    DFX_Long(pFX, "[CountOfID]", m_CountOfID);
}
