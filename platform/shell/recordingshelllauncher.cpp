#include "platform/shell/recordingshelllauncher.h"

CRecordingShellLauncher::CRecordingShellLauncher() : m_previous(zorSetShellLauncher(this)) { }

CRecordingShellLauncher::~CRecordingShellLauncher()
{
    zorSetShellLauncher(m_previous);
}

bool CRecordingShellLauncher::start(
    const std::string& program, const std::vector<std::string>& args)
{
    starts.push_back({program, args});
    return result;
}
