#pragma once

// The module object of a control module: its start (the control layer, hosting of controls in
// the module's own pages, the registry key of the company) runs once, on the first call into
// the module. Each module derives its own with a static instance().

#include <string>

class CControlModule
{
public:
    // Idempotent; every entry point calls it.
    bool InitInstance();
    bool initialised() const { return m_initialised; }
    // The registry key of the module's settings.
    const std::string& registryKey() const { return m_registryKey; }

protected:
    CControlModule() = default;
    ~CControlModule() = default;

private:
    bool m_initialised {false};
    std::string m_registryKey;
};
