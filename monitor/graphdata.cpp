#include "monitor/graphdata.h"

CGraphData::CGraphData(CDaoDatabase* pDatabase) : CDaoRecordset(pDatabase)
{
    m_nFields = 5;
}

std::string CGraphData::GetDefaultSQL()
{
    return "[GraphData]";
}

void CGraphData::DoFieldExchange(CDaoFieldExchange* pFX)
{
    DFX_Long(pFX, "[ID]", m_ID);
    DFX_Long(pFX, "[HostID]", m_HostID);
    DFX_DateTime(pFX, "[Time]", m_Time);
    DFX_Long(pFX, "[AvgDelay]", m_AvgDelay);
    DFX_Long(pFX, "[SampleCount]", m_SampleCount);
}
