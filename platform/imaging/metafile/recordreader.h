#pragma once

// Bounds-checked reads of one metafile record: every read names its offset from the record's
// start and fails, without reading, when it would pass the record's end. The players read
// every field through it, counts and offsets included, so a hostile count can never reach
// past the record whatever the record-level checks let through.

#include "platform/types/wintypes.h"

#include <bit>
#include <cstdint>
#include <cstring>
#include <type_traits>

static_assert(std::endian::native == std::endian::little, "metafiles are little-endian");

class CRecordReader
{
public:
    CRecordReader(const BYTE* data, std::size_t size) : m_data(data), m_size(size) { }

    const BYTE* data() const { return m_data; }
    std::size_t size() const { return m_size; }

    // Whether `length` bytes at `offset` lie within the record (64-bit, so no sum wraps).
    bool has(std::uint64_t offset, std::uint64_t length) const
    {
        return offset <= m_size && length <= m_size - offset;
    }

    template<typename T> bool read(std::uint64_t offset, T& value) const
    {
        static_assert(std::is_trivially_copyable_v<T>);
        if (!has(offset, sizeof(T)))
            return false;
        std::memcpy(&value, m_data + offset, sizeof(T));
        return true;
    }

    // A value that the caller has already checked to lie within the record.
    template<typename T> T at(std::uint64_t offset) const
    {
        T value {};
        read(offset, value);
        return value;
    }

private:
    const BYTE* m_data {nullptr};
    std::size_t m_size {0};
};
