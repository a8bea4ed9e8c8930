#pragma once

// What the frame's tests share: an environment variable changed for the length of a test, and
// an event loop run until something has happened.

#include "tests/support/scopedenvironment.h"

#include <QtCore/QCoreApplication>
#include <QtCore/QElapsedTimer>
#include <QtCore/QEventLoop>
#include <QtCore/QTimer>

#include <cstdlib>
#include <functional>
#include <string>

namespace frametest {

using ScopedEnv = ::ScopedEnvironment;

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
