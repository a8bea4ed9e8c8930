#pragma once

// The module object of zordial29: its start (the control layer, hosting of controls in the
// module's own pages, the registry key of the company) runs once, on the first call into the
// module.

#include <string>

class CClockModule
{
public:
    static CClockModule& instance();

    // Idempotent; every entry point calls it.
    bool InitInstance();
    bool initialised() const { return m_initialised; }
    // The registry key of the module's settings.
    const std::string& registryKey() const { return m_registryKey; }

private:
    CClockModule() = default;

    bool m_initialised {false};
    std::string m_registryKey;
};
