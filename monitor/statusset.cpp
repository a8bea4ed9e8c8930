#include "monitor/statusset.h"

CStatusSet::CStatusSet(CDaoDatabase* pDatabase) : CDaoRecordset(pDatabase)
{
    m_nFields = 5;
}

std::string CStatusSet::GetDefaultSQL()
{
    return "[Status]";
}

void CStatusSet::DoFieldExchange(CDaoFieldExchange* pFX)
{
    DFX_Long(pFX, "[ID]", m_ID);
    DFX_Long(pFX, "[HostID]", m_HostID);
    DFX_Bool(pFX, "[Up]", m_Up);
    DFX_DateTime(pFX, "[Date]", m_Date);
    DFX_Bool(pFX, "[SessionStartStop]", m_SessionStartStop);
}
