#include "framework/settings/devmodecopy.h"

#include "framework/diagnostics/diagnostics.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace {

// The source line the trace names, as callers have always seen it.
constexpr int c_traceLine = 52;
// The record is readable once its size fields are.
constexpr std::size_t c_sizeFieldsEnd = offsetof(DEVMODE, dmDriverExtra) + sizeof(WORD);

// A block of bytes and its size.
struct Block
{
    BYTE* data {nullptr};
    std::size_t size {0};
};

struct ConstBlock
{
    const BYTE* data {nullptr};
    std::size_t size {0};
};

WORD readWord(const BYTE* at)
{
    WORD value = 0;
    std::memcpy(&value, at, sizeof value);
    return value;
}

// The bytes a record needs: its fixed part and its driver's extra bytes.
std::size_t neededLength(const DEVMODE& record)
{
    return std::size_t {record.dmSize} + record.dmDriverExtra;
}

// The size fields of a record at the start of a block of at least c_sizeFieldsEnd bytes.
struct SizeFields
{
    std::size_t fixed {0};
    std::size_t extra {0};
    std::size_t needed() const { return fixed + extra; }
};

SizeFields sizeFieldsOf(const BYTE* record)
{
    return {readWord(record + offsetof(DEVMODE, dmSize)),
        readWord(record + offsetof(DEVMODE, dmDriverExtra))};
}

// The length of the names block up to the end of its last text (without the terminating 0),
// or 0 when an offset or a text lies outside the block.
std::size_t namesLength(ConstBlock names)
{
    if (!names.data || names.size < sizeof(tagMyDEVNAMES))
        return 0;
    std::size_t end = sizeof(tagMyDEVNAMES);
    for (std::size_t field = 0; field < 3; ++field) {
        const std::size_t offset = readWord(names.data + field * sizeof(WORD));
        if (offset < sizeof(tagMyDEVNAMES) || offset >= names.size)
            return 0;
        const auto* text = reinterpret_cast<const char*>(names.data + offset);
        const std::size_t length = strnlen(text, names.size - offset);
        if (offset + length == names.size)
            return 0; // no terminating 0 inside the block
        end = std::max(end, offset + length);
    }
    return end;
}

// The length of a names block that is known to be whole (its texts end in 0 bytes).
std::size_t wholeNamesLength(const tagMyDEVNAMES* names)
{
    if (!names)
        return 0;
    const auto* base = reinterpret_cast<const char*>(names);
    std::size_t end = sizeof(tagMyDEVNAMES);
    for (WORD offset : {names->wDriverOffset, names->wDeviceOffset, names->wOutputOffset}) {
        if (offset < sizeof(tagMyDEVNAMES))
            return 0;
        end = std::max(end, offset + std::strlen(base + offset));
    }
    return end;
}

bool copyRecord(Block out, ConstBlock in)
{
    if (!out.data || !in.data || in.size < c_sizeFieldsEnd)
        return false;
    const SizeFields fields = sizeFieldsOf(in.data);
    const std::size_t fixed = fields.fixed;
    if (fixed < c_sizeFieldsEnd || fixed > in.size || out.size < fixed)
        return false;
    // A source that holds fewer extra bytes than it claims gives the ones it has.
    const std::size_t needed = std::min(fields.needed(), in.size);
    if (out.size < needed) {
        consoleOut("Can't copy driver extra bytes in subr line %d", c_traceLine);
        std::memset(out.data, 0, out.size);
        std::memcpy(out.data, in.data, fixed);
        const WORD none = 0;
        std::memcpy(out.data + offsetof(DEVMODE, dmDriverExtra), &none, sizeof none);
        return true;
    }
    std::memcpy(out.data, in.data, needed);
    if (needed < fields.needed()) {
        const auto extra = static_cast<WORD>(needed - fixed);
        std::memcpy(out.data + offsetof(DEVMODE, dmDriverExtra), &extra, sizeof extra);
    }
    return true;
}

bool copyNames(Block out, ConstBlock in)
{
    const std::size_t length = namesLength(in);
    if (length == 0 || !out.data || out.size < length + 1)
        return false;
    std::memcpy(out.data, in.data, length);
    out.data[length] = 0;
    return true;
}

// Both parts; each is copied when it can be, whatever the other does.
BOOL copyBoth(Block recordOut, Block namesOut, ConstBlock recordIn, ConstBlock namesIn)
{
    const bool record = copyRecord(recordOut, recordIn);
    const bool names = copyNames(namesOut, namesIn);
    return record && names;
}

ConstBlock wholeRecord(const DEVMODE* record)
{
    if (!record)
        return {};
    return {reinterpret_cast<const BYTE*>(record), neededLength(*record)};
}

ConstBlock wholeNames(const tagMyDEVNAMES* names)
{
    const std::size_t length = wholeNamesLength(names);
    if (length == 0)
        return {};
    return {reinterpret_cast<const BYTE*>(names), length + 1};
}

// A handle locked for the time of one copy.
class LockedBlock
{
public:
    explicit LockedBlock(HGLOBAL handle)
        : m_handle(handle), m_data(static_cast<BYTE*>(GlobalLock(handle)))
    { }
    ~LockedBlock()
    {
        if (m_data)
            GlobalUnlock(m_handle);
    }
    LockedBlock(const LockedBlock&) = delete;
    LockedBlock& operator=(const LockedBlock&) = delete;

    Block block() const { return {m_data, m_data ? GlobalSize(m_handle) : 0}; }
    ConstBlock constBlock() const { return {m_data, m_data ? GlobalSize(m_handle) : 0}; }

private:
    HGLOBAL m_handle {nullptr};
    BYTE* m_data {nullptr};
};

// Makes the handle's block at least the length: unlocked as often as it is locked, then
// re-allocated movable and zero-filled; a null handle gets a new block.
void ensureSize(HGLOBAL& handle, std::size_t length)
{
    if (length == 0)
        return;
    if (!handle) {
        handle = GlobalAlloc(GHND, length);
        return;
    }
    if (GlobalSize(handle) >= length)
        return;
    while (GlobalUnlock(handle)) { }
    if (HGLOBAL grown = GlobalReAlloc(handle, length, GHND))
        handle = grown;
}

// The length a names block needs to receive the source.
std::size_t namesNeeded(ConstBlock names)
{
    const std::size_t length = namesLength(names);
    return length == 0 ? 0 : length + 1;
}

std::size_t recordNeeded(ConstBlock record)
{
    if (!record.data || record.size < c_sizeFieldsEnd)
        return 0;
    return std::min(sizeFieldsOf(record.data).needed(), record.size);
}

} // namespace

BOOL copyDevModeAndNames(DEVMODE* pDevModeOut, std::size_t nDevModeOutSize,
    tagMyDEVNAMES* pDevNamesOut, std::size_t nDevNamesOutSize, const DEVMODE* pDevModeIn,
    const tagMyDEVNAMES* pDevNamesIn)
{
    return copyBoth({reinterpret_cast<BYTE*>(pDevModeOut), nDevModeOutSize},
        {reinterpret_cast<BYTE*>(pDevNamesOut), nDevNamesOutSize}, wholeRecord(pDevModeIn),
        wholeNames(pDevNamesIn));
}

BOOL copyDevModeAndNamesHIn(DEVMODE* pDevModeOut, std::size_t nDevModeOutSize,
    tagMyDEVNAMES* pDevNamesOut, std::size_t nDevNamesOutSize, HGLOBAL hDevModeIn,
    HGLOBAL hDevNamesIn)
{
    const LockedBlock recordIn(hDevModeIn);
    const LockedBlock namesIn(hDevNamesIn);
    return copyBoth({reinterpret_cast<BYTE*>(pDevModeOut), nDevModeOutSize},
        {reinterpret_cast<BYTE*>(pDevNamesOut), nDevNamesOutSize}, recordIn.constBlock(),
        namesIn.constBlock());
}

BOOL copyDevModeAndNamesHOut(HGLOBAL& hDevModeOut, HGLOBAL& hDevNamesOut, const DEVMODE* pDevModeIn,
    const tagMyDEVNAMES* pDevNamesIn)
{
    const ConstBlock recordIn = wholeRecord(pDevModeIn);
    const ConstBlock namesIn = wholeNames(pDevNamesIn);
    ensureSize(hDevModeOut, recordNeeded(recordIn));
    ensureSize(hDevNamesOut, namesNeeded(namesIn));
    const LockedBlock recordOut(hDevModeOut);
    const LockedBlock namesOut(hDevNamesOut);
    return copyBoth(recordOut.block(), namesOut.block(), recordIn, namesIn);
}

BOOL copyDevModeAndNamesHH(
    HGLOBAL& hDevModeOut, HGLOBAL& hDevNamesOut, HGLOBAL hDevModeIn, HGLOBAL hDevNamesIn)
{
    const LockedBlock recordIn(hDevModeIn);
    const LockedBlock namesIn(hDevNamesIn);
    ensureSize(hDevModeOut, recordNeeded(recordIn.constBlock()));
    ensureSize(hDevNamesOut, namesNeeded(namesIn.constBlock()));
    const LockedBlock recordOut(hDevModeOut);
    const LockedBlock namesOut(hDevNamesOut);
    return copyBoth(
        recordOut.block(), namesOut.block(), recordIn.constBlock(), namesIn.constBlock());
}
