#pragma once

// Movable memory blocks: the form in which printer settings travel between the print dialog
// and the settings store, and in which the imaging library hands over decoded pictures.
// A block is reached through its handle; GlobalLock gives its address until the matching
// GlobalUnlock, and only an unlocked block may change size.
//
// Every block is zero-filled when allocated and when it grows, whatever the flags say.
// Handles of freed blocks are recognised: calls with them fail instead of touching memory.

#include "platform/types/wintypes.h"

#include <cstddef>

struct ZorGlobalMemory;
using HGLOBAL = ZorGlobalMemory*;

constexpr UINT GMEM_FIXED = 0x0000;
constexpr UINT GMEM_MOVEABLE = 0x0002;
constexpr UINT GMEM_ZEROINIT = 0x0040;
constexpr UINT GHND = GMEM_MOVEABLE | GMEM_ZEROINIT;

// A new block of the given size, or null.
HGLOBAL GlobalAlloc(UINT uFlags, std::size_t dwBytes);
// Changes the size of an unlocked block, keeping its contents; the same handle, or null
// when the block is locked or unknown.
HGLOBAL GlobalReAlloc(HGLOBAL hMem, std::size_t dwBytes, UINT uFlags);
// The block's address (counting one more lock), or null. A block of size 0 has no address.
LPVOID GlobalLock(HGLOBAL hMem);
// Counts one lock less; TRUE while the block stays locked, as the platform reports it.
BOOL GlobalUnlock(HGLOBAL hMem);
std::size_t GlobalSize(HGLOBAL hMem);
// Frees the block; null on success, the handle itself when it cannot be freed.
HGLOBAL GlobalFree(HGLOBAL hMem);
