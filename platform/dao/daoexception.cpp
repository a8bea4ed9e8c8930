#include "platform/dao/daoexception.h"

CDaoException::CDaoException(LONG errorCode, std::string description)
{
    auto info = std::make_shared<CDaoErrorInfo>();
    info->m_lErrorCode = errorCode;
    info->m_strDescription = std::move(description);
    m_pErrorInfo = std::move(info);
}

const char* CDaoException::what() const noexcept
{
    return m_pErrorInfo->m_strDescription.c_str();
}
