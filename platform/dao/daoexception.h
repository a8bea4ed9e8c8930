#pragma once

// The error of the database layer. Every failure of the engine (a missing file or table, a
// filter the engine cannot read, a broken constraint, a locked file) is thrown as a
// CDaoException whose error information carries the engine's own description of the error;
// the callers catch it at each operation and show that description to the user.

#include "platform/types/wintypes.h"

#include <exception>
#include <memory>
#include <string>

struct CDaoErrorInfo
{
    // The engine's extended result code (an SQLite result code); the layer's own errors use
    // the generic error code 1.
    LONG m_lErrorCode {0};
    std::string m_strSource {"SQLite"};
    std::string m_strDescription;
};

class CDaoException : public std::exception
{
public:
    CDaoException(LONG errorCode, std::string description);

    const char* what() const noexcept override;

    // Shared, so that the exception stays cheap to copy while it is thrown.
    std::shared_ptr<const CDaoErrorInfo> m_pErrorInfo;
};
