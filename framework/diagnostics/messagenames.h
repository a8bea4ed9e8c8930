#pragma once

// The fixed list of window-message names that traceMessages prints: the standard messages
// with their numbers and the framework's private messages, written with a leading asterisk.
// The list keeps its duplicates: names that share a number (the later one is printed), and
// the key and client mouse messages, which appear twice.

#include "platform/types/wintypes.h"

#include <span>

struct ZorMessageName
{
    UINT number {0};
    const char* name {nullptr};
};

// The whole list in its fixed order.
std::span<const ZorMessageName> zorMessageNames();
