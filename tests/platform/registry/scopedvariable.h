#pragma once

// An environment variable set (or, with a null value, unset) for one scope, and given back
// what it had when the scope ends.

#include <cstdlib>
#include <string>

class CScopedVariable
{
public:
    CScopedVariable(const char* name, const char* value) : m_name(name)
    {
        if (const char* old = std::getenv(name)) {
            m_old = old;
            m_hadOld = true;
        }
        if (value)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    CScopedVariable(const char* name, const std::string& value)
        : CScopedVariable(name, value.c_str())
    { }
    ~CScopedVariable()
    {
        if (m_hadOld)
            setenv(m_name.c_str(), m_old.c_str(), 1);
        else
            unsetenv(m_name.c_str());
    }
    CScopedVariable(const CScopedVariable&) = delete;
    CScopedVariable& operator=(const CScopedVariable&) = delete;

private:
    std::string m_name;
    std::string m_old;
    bool m_hadOld {false};
};
