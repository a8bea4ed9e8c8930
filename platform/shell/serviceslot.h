#pragma once

// A service of the platform that tests replace with a recording one: the service installed,
// else the built-in one, made on its first use.

template<typename Service, typename BuiltIn> class CServiceSlot
{
public:
    // Installs a service for all later uses (null: the built-in one again) and returns the one
    // installed before. The caller keeps ownership.
    Service* install(Service* service)
    {
        Service* previous = m_installed;
        m_installed = service;
        return previous;
    }

    Service& current()
    {
        static BuiltIn builtIn;
        return m_installed ? *m_installed : builtIn;
    }

private:
    Service* m_installed {nullptr};
};
