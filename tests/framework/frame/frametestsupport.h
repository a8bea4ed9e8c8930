#pragma once

// What the frame's tests share: an environment variable changed for the length of a test, and
// an event loop run until something has happened.

#include <QtCore/QCoreApplication>
#include <QtCore/QElapsedTimer>
#include <QtCore/QEventLoop>
#include <QtCore/QTimer>

#include <cstdlib>
#include <functional>
#include <string>

namespace frametest {

class ScopedEnv
{
public:
    ScopedEnv(const char* name, const std::string& value) : m_name(name)
    {
        const char* previous = std::getenv(name);
        m_hadPrevious = previous != nullptr;
        if (m_hadPrevious)
            m_previous = previous;
        setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv()
    {
        if (m_hadPrevious)
            setenv(m_name.c_str(), m_previous.c_str(), 1);
        else
            unsetenv(m_name.c_str());
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string m_name;
    std::string m_previous;
    bool m_hadPrevious {false};
};

// Serves events in an event loop until the condition holds or the time is up; the
// milliseconds it took.
inline qint64 waitUntil(const std::function<bool()>& condition, int timeoutMs)
{
    QElapsedTimer elapsed;
    elapsed.start();
    if (condition())
        return 0;
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (condition() || elapsed.elapsed() >= timeoutMs)
            loop.quit();
    });
    poll.start(5);
    loop.exec();
    return elapsed.elapsed();
}

} // namespace frametest
