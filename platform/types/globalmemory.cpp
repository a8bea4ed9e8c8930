#include "platform/types/globalmemory.h"

#include <memory>
#include <mutex>
#include <unordered_map>
#include <vector>

struct ZorGlobalMemory
{
    std::vector<BYTE> bytes;
    UINT locks {0};
};

namespace {

// Every live block, so that a freed or foreign handle is recognised.
struct CBlocks
{
    std::mutex mutex;
    std::unordered_map<ZorGlobalMemory*, std::unique_ptr<ZorGlobalMemory>> live;
};

CBlocks& blocks()
{
    static CBlocks s_blocks;
    return s_blocks;
}

} // namespace

HGLOBAL GlobalAlloc(UINT, std::size_t dwBytes)
{
    auto block = std::make_unique<ZorGlobalMemory>();
    block->bytes.assign(dwBytes, 0);
    HGLOBAL handle = block.get();
    std::lock_guard lock(blocks().mutex);
    blocks().live.emplace(handle, std::move(block));
    return handle;
}

HGLOBAL GlobalReAlloc(HGLOBAL hMem, std::size_t dwBytes, UINT)
{
    std::lock_guard lock(blocks().mutex);
    const auto found = blocks().live.find(hMem);
    if (found == blocks().live.end() || found->second->locks > 0)
        return nullptr;
    found->second->bytes.resize(dwBytes, 0);
    return hMem;
}

LPVOID GlobalLock(HGLOBAL hMem)
{
    std::lock_guard lock(blocks().mutex);
    const auto found = blocks().live.find(hMem);
    if (found == blocks().live.end() || found->second->bytes.empty())
        return nullptr;
    ++found->second->locks;
    return found->second->bytes.data();
}

BOOL GlobalUnlock(HGLOBAL hMem)
{
    std::lock_guard lock(blocks().mutex);
    const auto found = blocks().live.find(hMem);
    if (found == blocks().live.end() || found->second->locks == 0)
        return FALSE;
    return --found->second->locks > 0 ? TRUE : FALSE;
}

std::size_t GlobalSize(HGLOBAL hMem)
{
    std::lock_guard lock(blocks().mutex);
    const auto found = blocks().live.find(hMem);
    return found == blocks().live.end() ? 0 : found->second->bytes.size();
}

HGLOBAL GlobalFree(HGLOBAL hMem)
{
    std::unique_ptr<ZorGlobalMemory> released;
    std::lock_guard lock(blocks().mutex);
    const auto found = blocks().live.find(hMem);
    if (found == blocks().live.end())
        return hMem;
    released = std::move(found->second);
    blocks().live.erase(found);
    return nullptr;
}
