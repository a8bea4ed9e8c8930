#include "framework/frame/pumpmessages.h"

#include <QtCore/QCoreApplication>
#include <QtCore/QEventLoop>

#include <atomic>

namespace {

// Set while a pump runs: one flag for the whole process, so that no call nests in another.
std::atomic<bool> s_pumping {false};

} // namespace

void pumpMessages()
{
    if (s_pumping.exchange(true))
        return;
    if (QCoreApplication::instance()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        // What the dispatched handlers posted in turn.
        QCoreApplication::sendPostedEvents();
    }
    s_pumping = false;
}
