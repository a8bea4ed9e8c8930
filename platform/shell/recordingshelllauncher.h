#pragma once

// A launcher for tests: records each start (program and argument vector) and starts nothing.
// It answers with `result` (true unless the test says otherwise).

#include "platform/shell/shelllauncher.h"

#include <string>
#include <vector>

class CRecordingShellLauncher : public IShellLauncher
{
public:
    struct Start
    {
        std::string program;
        std::vector<std::string> args;
    };

    CRecordingShellLauncher(); // installs itself
    ~CRecordingShellLauncher() override; // puts the previous launcher back
    CRecordingShellLauncher(const CRecordingShellLauncher&) = delete;
    CRecordingShellLauncher& operator=(const CRecordingShellLauncher&) = delete;

    bool start(const std::string& program, const std::vector<std::string>& args) override;

    std::vector<Start> starts;
    bool result {true};

private:
    IShellLauncher* m_previous {nullptr};
};
