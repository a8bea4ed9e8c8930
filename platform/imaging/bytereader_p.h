#pragma once

// Bounds-checked reading of little-endian values from a byte span, for the readers of our own.
// Every read says whether the bytes were there; nothing is read past the end.

#include "platform/types/wintypes.h"

#include <cstddef>
#include <span>

class ZorByteReader
{
public:
    explicit ZorByteReader(std::span<const BYTE> data) : m_data(data) { }

    std::size_t position() const { return m_position; }
    std::size_t remaining() const { return m_data.size() - m_position; }

    bool skip(std::size_t count)
    {
        if (count > remaining())
            return false;
        m_position += count;
        return true;
    }
    bool read8(BYTE& value)
    {
        if (remaining() < 1)
            return false;
        value = m_data[m_position++];
        return true;
    }
    bool read16(WORD& value)
    {
        if (remaining() < 2)
            return false;
        value = WORD(m_data[m_position] | (m_data[m_position + 1] << 8));
        m_position += 2;
        return true;
    }
    // The next `count` bytes, or an empty span when fewer are left.
    std::span<const BYTE> take(std::size_t count)
    {
        if (count > remaining())
            return {};
        const std::span<const BYTE> bytes = m_data.subspan(m_position, count);
        m_position += count;
        return bytes;
    }

private:
    std::span<const BYTE> m_data;
    std::size_t m_position {0};
};
