#include "platform/ui/registeredmessage.h"

#include <QtCore/QString>

#include <map>
#include <mutex>

namespace {

struct RegisteredMessages
{
    std::mutex lock;
    std::map<QString, UINT> numbers;
    UINT next {ZOR_FIRST_REGISTERED_MESSAGE};
};

RegisteredMessages& registeredMessages()
{
    // Never destroyed: libraries register their messages while they are loaded, and may ask
    // again while the process ends.
    static auto* messages = new RegisteredMessages;
    return *messages;
}

} // namespace

UINT RegisterWindowMessageA(const char* lpString)
{
    if (!lpString || !*lpString)
        return 0;
    const QString key = QString::fromLatin1(lpString).toCaseFolded();
    RegisteredMessages& all = registeredMessages();
    const std::lock_guard<std::mutex> guard(all.lock);
    if (const auto it = all.numbers.find(key); it != all.numbers.end())
        return it->second;
    // The range holds 16384 names; a process that registers more gets 0, as the platform's
    // call fails when its atom table is full.
    if (all.next > ZOR_LAST_REGISTERED_MESSAGE)
        return 0;
    const UINT number = all.next++;
    all.numbers.emplace(key, number);
    return number;
}
