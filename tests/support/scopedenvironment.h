#pragma once

// An environment variable set (or, with a null value, unset) for one scope, and given back
// what it had when the scope ends.

#include <cstdlib>
#include <string>

class ScopedEnvironment
{
public:
    ScopedEnvironment(const char* name, const char* value) : m_name(name)
    {
        if (const char* old = std::getenv(name)) {
            m_previous = old;
            m_hadPrevious = true;
        }
        if (value)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    ScopedEnvironment(const char* name, const std::string& value)
        : ScopedEnvironment(name, value.c_str())
    { }
    ~ScopedEnvironment()
    {
        if (m_hadPrevious)
            setenv(m_name.c_str(), m_previous.c_str(), 1);
        else
            unsetenv(m_name.c_str());
    }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    std::string m_name;
    std::string m_previous;
    bool m_hadPrevious {false};
};
